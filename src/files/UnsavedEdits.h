#pragma once

#include <QByteArray>
#include <QObject>

class TForm1;

// Whether the window holds edits that are neither programmed into the unit nor saved to a file: its
// configuration file, as PC Save would write it, differs from the one it last matched (at start-up, after
// a complete read-back, which also follows every programming, and after a file was saved or loaded).
class UnsavedEdits : public QObject {
    Q_OBJECT
public:
    explicit UnsavedEdits(TForm1& form);

    // The window's configuration now has a copy, on the unit or in a file.
    void settle();
    bool pending() const;

private:
    TForm1& m_form;
    QByteArray m_settled;
};
