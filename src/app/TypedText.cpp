#include "app/TypedText.h"

#include "app/Caption.h"
#include "core/Bytes.h"
#include "widgets/CheckedTextEdit.h"
#include "widgets/FieldHint.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QValidator>
#include <functional>

namespace {

// What the note says about a refused character, and how to get it.
QString refusal(const QString& character, const QString& field) {
    QString text = QStringLiteral("\"%1\" was not typed into %2: the code page %3 has no such character.")
                       .arg(character, field, QString::fromLatin1(codePage().name()));
    const QList<const CodePage*> holders = CodePage::holding(character);
    if (holders.isEmpty()) return text + QStringLiteral("\nNo code page that this program knows holds it.");
    QStringList names;
    for (const CodePage* page : holders)
        names << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(page->name()), page->languages());
    return text + QStringLiteral("\n%1 %2 it: choose it under \"Code page\" below the pages, then start "
                                 "the program again.")
                      .arg(names.join(QStringLiteral(" or ")),
                           holders.size() == 1 ? QStringLiteral("holds") : QStringLiteral("hold"));
}

class TypingCheck : public QObject {
public:
    explicit TypingCheck(QWidget& window) : QObject(&window), m_hint(new FieldHint(&window)) {}

    // True when the text holds a character the code page cannot; the note beside field says so.
    bool refuses(QWidget* field, const QString& text, const QString& caption) const {
        const std::optional<QString> unheld = codePage().unheld(text);
        if (!unheld) return false;
        m_hint->showBeside(field, refusal(*unheld, caption));
        return true;
    }

private:
    FieldHint* m_hint;
};

// An edit's validator sees its text as every change would leave it, whichever way the change came; a
// refused change is undone with the cursor where it was.
class HeldText : public QValidator {
public:
    HeldText(QLineEdit* edit, const TypingCheck& check, QWidget* field, std::function<QString()> caption)
        : QValidator(edit), m_check(check), m_field(field), m_caption(std::move(caption)) {}

    State validate(QString& input, int&) const override {
        return m_check.refuses(m_field, input, m_caption()) ? Invalid : Acceptable;
    }

private:
    const TypingCheck& m_check;
    QWidget* m_field;
    std::function<QString()> m_caption;
};

// A grid makes a cell's editor when the cell is edited; each one gets the check as it is made.
class CheckedCells : public QStyledItemDelegate {
public:
    CheckedCells(QAbstractItemView* view, const TypingCheck& check)
        : QStyledItemDelegate(view), m_check(check) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            const QString column = index.model()->headerData(index.column(), Qt::Horizontal).toString();
            const auto* view = static_cast<const QAbstractItemView*>(this->parent());
            edit->setValidator(new HeldText(edit, m_check, edit, [column, view] {
                return QStringLiteral("%1 (%2)").arg(column, fieldCaption(view));
            }));
        }
        return editor;
    }

private:
    const TypingCheck& m_check;
};

// A list whose cells can be edited; a box's pop-up list only offers its items.
bool isGrid(const QAbstractItemView* view) {
    for (const QWidget* outer = view->parentWidget(); outer; outer = outer->parentWidget())
        if (qobject_cast<const QComboBox*>(outer)) return false;
    return view->editTriggers() != QAbstractItemView::NoEditTriggers;
}

} // namespace

void refuseUnheldCharacters(QWidget& window) {
    const auto* check = new TypingCheck(window);
    for (QLineEdit* edit : window.findChildren<QLineEdit*>()) {
        // An editable box is the field a person sees, not the edit inside it.
        QWidget* field = qobject_cast<QComboBox*>(edit->parentWidget());
        if (!field) field = edit;
        edit->setValidator(new HeldText(edit, *check, field, [field] { return fieldCaption(field); }));
    }
    for (QAbstractItemView* view : window.findChildren<QAbstractItemView*>())
        if (isGrid(view)) view->setItemDelegate(new CheckedCells(view, *check));
    for (CheckedTextEdit* memo : window.findChildren<CheckedTextEdit*>())
        memo->setCheck([check](QWidget* field, const QString& incoming) {
            return check->refuses(field, incoming, fieldCaption(field));
        });
}
