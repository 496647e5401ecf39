#pragma once

#include <QStringList>

class IniFile;
class QWidget;
struct SharedState;

// Captions ([Language]) and hints ([Help]) of the window come from the settings file, with English
// texts built in as defaults; the window's controls are found below root by their objectName.

// Reads "Language" into state.languageName, then every caption and every hint, in table order.
// Defaults and the device-name key use state.editionName, which must be final by then.
void loadCaptions(QWidget& root, const IniFile& ini, SharedState& state);

// Writes "Language", the captions and the hints back, each from its control's current text. Texts
// that only copy another control's text have no key of their own and are not written.
void writeCaptions(QWidget& root, IniFile& ini, const SharedState& state);

// Every control that shows a caption or hint from the settings file.
QStringList textControlNames();
