#pragma once

#include <QPlainTextEdit>
#include <functional>

// A multi-line text field whose owner may refuse what would enter it: typed, composed, pasted (by the
// keyboard, the menu or the middle button) or dropped. A refused text leaves the field as it was.
class CheckedTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    // True refuses the text; the check tells the user why.
    using Check = std::function<bool(QWidget* field, const QString& incoming)>;

    explicit CheckedTextEdit(QWidget* parent) : QPlainTextEdit(parent) {}
    void setCheck(Check check) { m_check = std::move(check); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool refuses(const QString& incoming);

    Check m_check;
};
