#pragma once

#include <QLabel>
#include <QPointer>
#include <QTimer>

// A short note beside a field that never takes the keyboard from it: typing goes on into the field
// while the note shows. It goes away by itself after a while, at the next note, or when the field
// loses the focus or is hidden.
class FieldHint : public QLabel {
    Q_OBJECT
public:
    // The note belongs to window, so it closes with it.
    explicit FieldHint(QWidget* window);

    // Shows the text under the field (above it where the screen ends).
    void showBeside(QWidget* field, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_field;
    QTimer m_shown;
};
