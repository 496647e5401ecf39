#include "app/ButtonKeys.h"

#include "app/Caption.h"

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

// Where the caption marks its own mnemonic, or -1.
qsizetype ownMark(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] != QLatin1Char('&')) return i + 1;
        ++i;
    }
    return -1;
}

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

QString markMnemonic(const QString& caption, QSet<QChar>& taken) {
    if (const qsizetype own = ownMark(caption); own >= 0) {
        taken.insert(caption[own].toUpper());
        return caption;
    }
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            ++i; // the second of "&&"
            continue;
        }
        const QChar key = caption[i].toUpper();
        if (!caption[i].isLetterOrNumber() || taken.contains(key)) continue;
        taken.insert(key);
        return caption.left(i) + QLatin1Char('&') + caption.mid(i);
    }
    return caption;
}

void giveMnemonics(std::initializer_list<QPushButton*> buttons) {
    QSet<QChar> taken;
    // Marks the captions set by hand first, so that no added mark takes their keys.
    for (QPushButton* button : buttons)
        if (ownMark(caption(button)) >= 0) markMnemonic(caption(button), taken);
    for (QPushButton* button : buttons)
        if (ownMark(caption(button)) < 0) showMarkedCaption(button, markMnemonic(caption(button), taken));
}
