#include "app/ButtonKeys.h"

#include <QHelpEvent>
#include <QPushButton>
#include <QShortcut>
#include <QToolTip>

namespace {

// Adds the key to the tooltip when it is shown, so the hint itself stays as the settings file has it.
class KeyTip : public QObject {
public:
    KeyTip(QPushButton* button, const QKeySequence& key) : QObject(button), m_button(button), m_key(key) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return false;
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                           tipWithKey(m_button->toolTip(), m_key), m_button);
        return true;
    }

private:
    QPushButton* m_button;
    QKeySequence m_key;
};

} // namespace

QString tipWithKey(const QString& tip, const QKeySequence& key) {
    const QString name = key.toString(QKeySequence::NativeText);
    return tip.isEmpty() ? name : tip + QStringLiteral("  (") + name + QLatin1Char(')');
}

void giveKey(QPushButton* button, const QKeySequence& key) {
    auto* shortcut = new QShortcut(key, button->window());
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled() && button->isVisible()) button->click();
    });
    button->installEventFilter(new KeyTip(button, key));
}
