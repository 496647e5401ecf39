#include "app/Bytes.h"
#include "app/Failure.h"
#include "app/TForm1.h"
#include "files/PhoneBookList.h"
#include "app/WholeFile.h"

// The configuration file: "key=value" lines ended by CR LF. Lines 1 to 27 hold the numbers, the alarm
// texts and the parameter strings under fixed keys, in a fixed order; the phone-book rows follow.

namespace {

const QString OruFilter = QStringLiteral("ORU files (*.oru)|*.oru");

// The 27 fixed keys in file order, each with the edit that shows it or the parameter string that
// holds it. Keys of numbered edits end in the edit's number.
struct Key {
    QByteArray name;
    QLineEdit* edit;
    QByteArray* string;
};

QList<Key> keys(TForm1& form) {
    QList<Key> all;
    for (int i = 0; i < 7; ++i)
        all.append({"ADMIN" + QByteArray::number(i + 1), form.ADMIN[i], nullptr});
    for (int i = 0; i < 7; ++i)
        all.append({"ABUTTON" + QByteArray::number(i + 1), form.ABUTTON[i], nullptr});
    for (int i = 0; i < 7; ++i)
        all.append({"BBUTTON" + QByteArray::number(i + 1), form.BBUTTON[i], nullptr});
    all.append({"ALARMON", form.ALARMON, nullptr});
    all.append({"ALARMOFF", form.ALARMOFF, nullptr});
    all.append({"PARORU", nullptr, &form.state.parOru});
    all.append({"PARRL1", nullptr, &form.state.parRl1});
    all.append({"PARRL2", nullptr, &form.state.parRl2});
    all.append({"PARKEY", nullptr, &form.state.parKey});
    return all;
}

} // namespace

// The parameter strings are saved as the unit or a file last gave them, not from the settings controls.
void TForm1::SaveClick() {
    const QString path = dialogs.saveFileName(OruFilter);
    if (path.isEmpty()) return;
    QByteArray text;
    for (const Key& key : keys(*this))
        text += key.name + '=' + (key.edit ? toBytes(key.edit->text()) : *key.string) + "\r\n";
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
    for (const Key& key : keys(*this)) {
        const int row = PhoneBook1->findName(key.name);
        if (row < 0) continue;
        const QByteArray value = PhoneBook1->number(row);
        PhoneBook1->deleteLine(row);
        if (key.edit) {
            // The edit's own handler filters a number and fills an ABUTTON edit's twin.
            key.edit->setText(fromBytes(value));
            continue;
        }
        *key.string = value;
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
