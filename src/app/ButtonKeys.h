#pragma once

#include <QKeySequence>
#include <QSet>

#include <initializer_list>

class QPushButton;

// A key that presses a button of the window while the button can be pressed, named in the button's
// tooltip. The key stands apart from the caption, which the settings file may change at any time.
void giveKey(QPushButton* button, const QKeySequence& key);
// The tooltip as shown: the hint followed by the key.
QString tipWithKey(const QString& tip, const QKeySequence& key);

// The caption with a mnemonic marked on its first letter or digit not yet taken, which is then taken.
// A caption that marks its own (a single "&" before it; "&&" is a plain "&") keeps that mark, and one
// with every letter taken stays without.
QString markMnemonic(const QString& caption, QSet<QChar>& taken);
// Marks a mnemonic on each button's caption, each on a different key; earlier buttons choose first.
void giveMnemonics(std::initializer_list<QPushButton*> buttons);
