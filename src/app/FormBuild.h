#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

// Small factories for the window's controls: each gets its name as objectName and its default caption.
namespace build {

template <typename Control> Control* named(Control* control, const QString& name) {
    control->setObjectName(name);
    return control;
}

inline QLabel* label(QWidget* parent, const QString& name, const QString& text) {
    auto* control = named(new QLabel(text, parent), name);
    control->setTextFormat(Qt::PlainText);
    return control;
}

inline QLineEdit* edit(QWidget* parent, const QString& name, const QString& text = {}) {
    return named(new QLineEdit(text, parent), name);
}

inline QPushButton* button(QWidget* parent, const QString& name, const QString& text) {
    return named(new QPushButton(text, parent), name);
}

inline QCheckBox* check(QWidget* parent, const QString& name, const QString& text) {
    return named(new QCheckBox(text, parent), name);
}

inline QRadioButton* radio(QWidget* parent, const QString& name, const QString& text) {
    return named(new QRadioButton(text, parent), name);
}

inline QGroupBox* group(QWidget* parent, const QString& name, const QString& title) {
    return named(new QGroupBox(title, parent), name);
}

// An editable combo box with its items and initial text. The item list is fixed: a typed text stays
// the box's text and never becomes an item.
inline QComboBox* combo(QWidget* parent, const QString& name, const QStringList& items, const QString& text) {
    auto* control = named(new QComboBox(parent), name);
    control->setEditable(true);
    control->setInsertPolicy(QComboBox::NoInsert);
    control->addItems(items);
    control->setCurrentIndex(items.indexOf(text));
    control->setEditText(text);
    return control;
}

inline QWidget* page(QTabWidget* tabs, const QString& name, const QString& caption) {
    auto* control = named(new QWidget, name);
    tabs->addTab(control, caption);
    return control;
}

// "01" … up to last, two digits each.
inline QStringList twoDigits(int first, int last) {
    QStringList items;
    for (int n = first; n <= last; ++n)
        items << QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    return items;
}

} // namespace build
