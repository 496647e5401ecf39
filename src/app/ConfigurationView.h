#pragma once

#include "config/Configuration.h"

#include <QStringList>

class TForm1;

// The only two moves between the configuration value and the window's controls; each undoes the other.

// What the window shows now. A parameter string stands as it came from the unit or a file while the
// settings controls encode what they encoded right after showing it; after a real change, it is the
// controls' encoding. The SIM's size is the one the unit last reported.
Configuration readControls(TForm1& form);

// Shows a configuration: the edits, the phone book and, where any of them differs from what the window
// shows, the four parameter strings, decoded last. A string the decoder cannot read is a Failure once
// everything else is in place; it stays as it came.
void showOnControls(TForm1& form, const Configuration& configuration);

// The captions of the settings controls that show each field of the parameter strings, in the order of
// parameterFields().
QStringList parameterFieldNames(const TForm1& form);
