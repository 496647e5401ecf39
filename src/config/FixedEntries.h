#pragma once

#include <QByteArray>

class QLineEdit;
class TForm1;
struct SharedState;

// The named settings entries of the SIM phonebook, numbered 1 … 27 in the order the programming sequence
// writes them: ADMIN1 … ADMIN7, ABUTTON1 … ABUTTON7, BBUTTON1 … BBUTTON7, ALARMON and ALARMOFF, each shown
// by the edit of the same name, then the parameter strings PARORU, PARRL1, PARRL2 and PARKEY.
namespace FixedEntries {

constexpr int Count = 27;
// PARORU; PARRL1, PARRL2 and PARKEY follow it.
constexpr int FirstParameter = 24;

QByteArray name(int number);
// The number of the entry with this name; 0 for every other name.
int numberOf(const QByteArray& name);
// The edit that shows the entry; null for a parameter string.
QLineEdit* edit(const TForm1& form, int number);
// The parameter string the entry carries; null for an entry shown by an edit.
QByteArray* parameter(SharedState& state, int number);

} // namespace FixedEntries
