#include "modules/EntryTree.h"

#include "core/Bytes.h"

#include <QHeaderView>

EntryTree::EntryTree(const QString& name, QWidget* parent) : QTreeWidget(parent) {
    setObjectName(name);
    setHeaderHidden(true);
    // The one column is as wide as the longest node: a narrow tree scrolls rather than cut a number.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setRootIsDecorated(false);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

QByteArray EntryTree::entryName(const QByteArray& nodeText) {
    const qsizetype colon = nodeText.indexOf(':');
    const qsizetype bracket = nodeText.indexOf('[');
    const qsizetype from = colon + 1;
    const qsizetype to = bracket < 0 ? nodeText.size() : bracket;
    return to > from ? nodeText.mid(from, to - from) : QByteArray();
}

void EntryTree::addNode(const QByteArray& text) {
    // The nodes are always in order, so the new one goes after the last node whose name is not greater:
    // where repeated exchanges of neighbours would carry it, equal names keeping their order of arrival.
    const QByteArray name = entryName(text);
    int low = 0;
    int high = nodeCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (name < nodeName(middle))
            high = middle;
        else
            low = middle + 1;
    }
    // Exchanges move texts, not nodes: a selected node stays where it is and shows the text moved into it.
    const int selected = selectedIndex();
    auto* item = new QTreeWidgetItem(QStringList{fromBytes(text)});
    item->setData(0, NameRole, name);
    insertTopLevelItem(low, item);
    if (selected >= low) selectNode(selected);
}

QByteArray EntryTree::nodeText(int index) const {
    return toBytes(topLevelItem(index)->text(0));
}

QByteArray EntryTree::nodeName(int index) const {
    return topLevelItem(index)->data(0, NameRole).toByteArray();
}

bool EntryTree::hasSelection() const {
    return !selectedItems().isEmpty();
}

int EntryTree::selectedIndex() const {
    const auto items = selectedItems();
    return items.isEmpty() ? -1 : indexOfTopLevelItem(items.first());
}

QByteArray EntryTree::selectedText() const {
    const auto items = selectedItems();
    return items.isEmpty() ? QByteArray() : toBytes(items.first()->text(0));
}

void EntryTree::selectNode(int index) {
    QTreeWidgetItem* item = topLevelItem(index);
    setCurrentItem(item);
    item->setSelected(true);
}

void EntryTree::dropSelection() {
    clearSelection();
    setCurrentItem(nullptr);
}
