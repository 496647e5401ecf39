#pragma once

#include <QByteArray>
#include <QTreeWidget>

// A read-only list of entry nodes, "index:name[number]", kept in ascending order of the entry name
// (the text between the first ":" and the first "["), compared byte by byte; equal names keep their
// order of arrival. Every node goes in through addNode, which puts it in its place.
class EntryTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit EntryTree(const QString& name, QWidget* parent);

    // Puts the node in its place. As if the texts were sorted by exchanging neighbours, the selection
    // stays on its row: a node added in front of it moves the texts, not the selected row.
    void addNode(const QByteArray& text);
    int nodeCount() const { return topLevelItemCount(); }
    QByteArray nodeText(int index) const;
    bool hasSelection() const;
    // The text of the selected node; empty when none is selected.
    QByteArray selectedText() const;
    void selectNode(int index);
    void dropSelection();

    static QByteArray entryName(const QByteArray& nodeText);

private:
    // Each node keeps its entry name beside its text, so that finding a node's place costs no conversions.
    static constexpr int NameRole = Qt::UserRole;
    QByteArray nodeName(int index) const;
    // The row of the selected node; -1 when none is selected.
    int selectedIndex() const;
};
