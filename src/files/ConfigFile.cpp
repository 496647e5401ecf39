#include "app/Bytes.h"
#include "app/Failure.h"
#include "app/TForm1.h"
#include "app/WholeFile.h"
#include "config/FixedEntries.h"
#include "files/PhoneBookList.h"

// The configuration file: "key=value" lines ended by CR LF. Lines 1 to 27 hold the numbers, the alarm
// texts and the parameter strings under fixed keys, in a fixed order; the phone-book rows follow.

namespace {

const QString OruFilter = QStringLiteral("ORU files (*.oru)|*.oru");

} // namespace

// The parameter strings are saved as the unit or a file last gave them, not from the settings controls.
void TForm1::SaveClick() {
    const QString path = dialogs.saveFileName(OruFilter);
    if (path.isEmpty()) return;
    QByteArray text;
    for (int entry = 1; entry <= FixedEntries::Count; ++entry) {
        const QLineEdit* edit = FixedEntries::edit(*this, entry);
        text += FixedEntries::name(entry) + '=' +
                (edit ? toBytes(edit->text()) : *FixedEntries::parameter(state, entry)) + "\r\n";
    }
    writeWholeFile(path, text + PhoneBook1->text());
}

// Every line of the file becomes a phone-book row; the row of each fixed key (the first one, letter
// case ignored) is taken out and its value put in place. A key missing from the file leaves its
// edit or string as it was.
void TForm1::LoadClick() {
    PhoneBook1->setCurrentLine(0);
    const QString path = dialogs.openFileName(OruFilter, QString());
    if (path.isEmpty()) return;
    PhoneBook1->setText(readWholeFile(path));
    QStringList reported;
    for (int entry = 1; entry <= FixedEntries::Count; ++entry) {
        const int row = PhoneBook1->findName(FixedEntries::name(entry));
        if (row < 0) continue;
        const QByteArray value = PhoneBook1->number(row);
        PhoneBook1->deleteLine(row);
        if (QLineEdit* edit = FixedEntries::edit(*this, entry)) {
            // The edit's own handler filters a number and fills an ABUTTON edit's twin.
            edit->setText(fromBytes(value));
            continue;
        }
        *FixedEntries::parameter(state, entry) = value;
        // A value the decoder cannot read is reported once and the load goes on, so that the keys
        // after it still reach their places. It stays in its string, to be saved back as it came.
        try {
            ParamsToControls();
        } catch (const Failure& failure) {
            if (reported.contains(failure.text())) continue;
            reported << failure.text();
            dialogs.reportError(failure.text());
        }
    }
}
