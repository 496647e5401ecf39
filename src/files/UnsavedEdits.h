#pragma once

#include "config/Configuration.h"

#include <QObject>

class TForm1;

// Whether the window holds edits that are neither programmed into the unit nor saved to a file: a setting,
// number or the phone book that the window shows other than both the unit, as last read back, and the file
// last loaded or saved (a fresh window counts as such a file: it holds nothing of the user's).
class UnsavedEdits : public QObject {
    Q_OBJECT
public:
    explicit UnsavedEdits(TForm1& form);

    // The window now matches a file.
    void settle();
    bool pending() const;

private:
    TForm1& m_form;
    Configuration m_file;
};
