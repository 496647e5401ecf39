#pragma once

#include <QString>

class QAbstractButton;
class QWidget;

// The caption of a control, whatever its kind: a button's or label's text, a group box's title, or
// the tab text of a tab page (also while its tab is hidden). Labels show their caption as plain text.
QString caption(const QWidget* control);
void setCaption(QWidget* control, const QString& text);
// The caption a person reads for a field that has none of its own: the label before it in its row,
// or else the title of the group it is in, or else the tab of its page.
QString fieldCaption(const QWidget* field);
// Shows a button's caption with its mnemonic marked; caption() still returns the caption as set, so
// the mark never reaches the settings file.
void showMarkedCaption(QAbstractButton* button, const QString& marked);

// The pop-up help text of a control. It always shows as plain text, and hint() returns exactly the
// text that setHint() was given. A tab page's hint shows on its tab too.
QString hint(const QWidget* control);
void setHint(QWidget* control, const QString& text);
