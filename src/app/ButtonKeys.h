#pragma once

#include <QKeySequence>

class QPushButton;

// A key that presses a button of the window while the button can be pressed, named in the button's
// tooltip. The key stands apart from the caption, which the settings file may change at any time.
void giveKey(QPushButton* button, const QKeySequence& key);
// The tooltip as shown: the hint followed by the key.
QString tipWithKey(const QString& tip, const QKeySequence& key);
