#include "app/Caption.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextDocument>

namespace {

// The tab widget that shows this widget as one of its pages, with the page's index.
std::pair<QTabWidget*, int> tabOf(const QWidget* page) {
    const QWidget* stack = qobject_cast<const QStackedWidget*>(page->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    const int index = tabs ? tabs->indexOf(page) : -1;
    return {index < 0 ? nullptr : tabs, index};
}

// The label laid out just before the field: left of it in a grid, before it in a row or column.
const QLabel* labelBefore(const QLayout* layout, const QWidget* field) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (const QLayout* inner = item->layout()) {
            if (const QLabel* found = labelBefore(inner, field)) return found;
            continue;
        }
        if (item->widget() != field) continue;
        const QLayoutItem* before = nullptr;
        if (const auto* grid = qobject_cast<const QGridLayout*>(layout)) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            before = column > 0 ? grid->itemAtPosition(row, column - 1) : nullptr;
        } else if (i > 0) {
            before = layout->itemAt(i - 1);
        }
        return before ? qobject_cast<const QLabel*>(before->widget()) : nullptr;
    }
    return nullptr;
}

// The raw hint; the tooltip itself may be its escaped form.
constexpr const char* hintProperty = "zuvovuHint";
// The caption as set, while the button shows it with a mnemonic added.
constexpr const char* captionProperty = "zuvovuCaption";

} // namespace

QString caption(const QWidget* control) {
    if (const auto [tabs, index] = tabOf(control); tabs) return tabs->tabText(index);
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        const QVariant unmarked = button->property(captionProperty);
        return unmarked.isValid() ? unmarked.toString() : button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(control)) return group->title();
    qWarning("%s has no caption", qPrintable(control->objectName()));
    return {};
}

void setCaption(QWidget* control, const QString& text) {
    if (const auto [tabs, index] = tabOf(control); tabs) {
        tabs->setTabText(index, text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setProperty(captionProperty, QVariant());
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    } else {
        qWarning("%s has no caption", qPrintable(control->objectName()));
    }
}

QString fieldCaption(const QWidget* field) {
    const QWidget* parent = field->parentWidget();
    if (parent && parent->layout())
        if (const QLabel* label = labelBefore(parent->layout(), field)) return caption(label).trimmed();
    for (const QWidget* outer = parent; outer; outer = outer->parentWidget())
        if (qobject_cast<const QGroupBox*>(outer) || tabOf(outer).first) return caption(outer).trimmed();
    return field->objectName();
}

void showMarkedCaption(QAbstractButton* button, const QString& marked) {
    button->setProperty(captionProperty, caption(button));
    button->setText(marked);
}

QString hint(const QWidget* control) {
    const QVariant raw = control->property(hintProperty);
    return raw.isValid() ? raw.toString() : control->toolTip();
}

void setHint(QWidget* control, const QString& text) {
    // Qt shows a tooltip that looks like markup as rich text; such a text is escaped so that it
    // shows as written, blanks included.
    const QString shown =
        Qt::mightBeRichText(text) ? "<p style='white-space:pre'>" + text.toHtmlEscaped() + "</p>" : text;
    control->setProperty(hintProperty, text);
    control->setToolTip(shown);
    if (const auto [tabs, index] = tabOf(control); tabs) tabs->setTabToolTip(index, shown);
}
