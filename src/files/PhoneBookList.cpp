#include "files/PhoneBookList.h"

#include "core/Bytes.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace {
// Marks a row read from a text without "=".
constexpr int NoEqualsRole = Qt::UserRole + 1;
} // namespace

PhoneBookList::PhoneBookList(QWidget* parent) : QTableWidget(0, 2, parent) {
    setObjectName(QStringLiteral("PhoneBook1"));
    setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Phone")});
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    showPlaceholder();
    // Typing into a row makes it a name=number row; into the placeholder, a stored row.
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        m_placeholder = false;
        if (QTableWidgetItem* nameItem = this->item(item->row(), 0)) {
            const QSignalBlocker blocker(this);
            nameItem->setData(NoEqualsRole, false);
        }
    });
}

int PhoneBookList::lineCount() const {
    return m_placeholder ? 0 : rowCount();
}

QByteArray PhoneBookList::name(int index) const {
    return toBytes(item(index, 0)->text());
}

QByteArray PhoneBookList::number(int index) const {
    return toBytes(item(index, 1)->text());
}

QByteArray PhoneBookList::line(int index) const {
    if (item(index, 0)->data(NoEqualsRole).toBool()) return number(index);
    return name(index) + '=' + number(index);
}

QByteArray PhoneBookList::text() const {
    QByteArray all;
    for (int i = 0; i < lineCount(); ++i)
        all += line(i) + "\r\n";
    return all;
}

QByteArrayList textLines(const QByteArray& text) {
    if (text.isEmpty()) return {};
    QByteArray normalised = text;
    normalised.replace("\r\n", "\n").replace('\r', '\n');
    QByteArrayList lines = normalised.split('\n');
    if (normalised.endsWith('\n')) lines.removeLast();
    return lines;
}

void PhoneBookList::setText(const QByteArray& text) {
    clearLines();
    for (const QByteArray& line : textLines(text))
        appendLine(line);
}

void PhoneBookList::clearLines() {
    const QSignalBlocker blocker(this);
    setRowCount(0);
    showPlaceholder();
}

void PhoneBookList::appendLine(const QByteArray& line) {
    const QSignalBlocker blocker(this);
    if (m_placeholder) {
        m_placeholder = false;
        setRowCount(0);
    }
    insertRow(rowCount());
    setRow(rowCount() - 1, line);
}

void PhoneBookList::insertEmptyLine(int index) {
    const QSignalBlocker blocker(this);
    if (m_placeholder) {
        m_placeholder = false;
        setRowCount(0);
        index = 0;
    }
    insertRow(index);
    setRow(index, "=");
}

void PhoneBookList::deleteLine(int index) {
    if (index < 0 || index >= lineCount()) return;
    const QSignalBlocker blocker(this);
    removeRow(index);
    if (rowCount() == 0) showPlaceholder();
}

int PhoneBookList::findName(const QByteArray& name) const {
    const QString wanted = fromBytes(name);
    for (int i = 0; i < lineCount(); ++i) {
        if (item(i, 0)->data(NoEqualsRole).toBool()) continue;
        if (item(i, 0)->text().compare(wanted, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

void PhoneBookList::setCurrentLine(int index) {
    setCurrentCell(index, qMax(currentColumn(), 0));
}

void PhoneBookList::insertAtCurrent() {
    const int current = currentLine();
    if (current < lineCount() && name(current).isEmpty() && number(current).isEmpty()) return;
    insertEmptyLine(current);
    setCurrentLine(current);
}

void PhoneBookList::deleteCurrent() {
    if (lineCount() == 0) return;
    const int current = currentLine();
    deleteLine(current);
    setCurrentLine(qMin(current, qMax(lineCount() - 1, 0)));
}

void PhoneBookList::keyPressEvent(QKeyEvent* event) {
    const bool insert = event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier;
    const bool remove = event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier;
    if (state() == EditingState || !(insert || remove)) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    if (insert) insertAtCurrent();
    if (remove) deleteCurrent();
}

void PhoneBookList::setRow(int row, const QByteArray& line) {
    const qsizetype equals = line.indexOf('=');
    auto* nameItem = new QTableWidgetItem(equals < 0 ? QString() : fromBytes(line.left(equals)));
    nameItem->setData(NoEqualsRole, equals < 0);
    setItem(row, 0, nameItem);
    setItem(row, 1, new QTableWidgetItem(fromBytes(equals < 0 ? line : line.mid(equals + 1))));
}

void PhoneBookList::showPlaceholder() {
    m_placeholder = true;
    setRowCount(1);
    setItem(0, 0, new QTableWidgetItem);
    setItem(0, 1, new QTableWidgetItem);
    item(0, 0)->setData(NoEqualsRole, false);
}
