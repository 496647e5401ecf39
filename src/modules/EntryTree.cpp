#include "modules/EntryTree.h"

#include "app/Bytes.h"

EntryTree::EntryTree(const QString& name, QWidget* parent) : QTreeWidget(parent) {
    setObjectName(name);
    setHeaderHidden(true);
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
    // Insert after the last node whose name is not greater: the order a stable sort would give.
    const QByteArray name = entryName(text);
    int position = nodeCount();
    while (position > 0 && name < entryName(nodeText(position - 1))) --position;
    auto* item = new QTreeWidgetItem(QStringList{fromBytes(text)});
    insertTopLevelItem(position, item);
}

QByteArray EntryTree::nodeText(int index) const { return toBytes(topLevelItem(index)->text(0)); }

bool EntryTree::hasSelection() const { return !selectedItems().isEmpty(); }

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
