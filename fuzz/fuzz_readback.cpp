#include "FormFixture.h"
#include "FuzzSupport.h"

#include "app/ConfigurationView.h"
#include "config/FixedEntries.h"
#include "config/PhonebookEntry.h"
#include "core/Bytes.h"
#include "engine/ReadBackRecord.h"
#include "files/ConfigFile.h"
#include "files/PhoneBookList.h"

#include <QMap>

// The read-back's routing into the window. A stopped unit with a SIM of 11 to 266 locations (byte 0 of the
// input) lists one entry for each further line of the input, then "OK". Afterwards:
// - what the unit holds is recorded exactly as it listed it;
// - an entry at no location of the SIM, or at a location listed already, ends the read-back as refused,
//   reported, with nothing recorded as what the unit holds;
// - every setting reaches its place (see fixedEntryHolds()), and every other entry is a row of the phone
//   book, in the unit's order;
// - the configuration file the window then saves loads back with the same rows, and is settled from then
//   on: saved and loaded again, it stays the same.

namespace {

// Lines the receiver takes for other answers than an entry are not listed here.
bool isEntryLine(const QByteArray& line) {
    for (const char* word : {"#APLAYEV:", "#CBC:", "+CSQ:", "+CPBR: (1-"})
        if (line.contains(word)) return false;
    return true;
}

// What the window must show once the unit has listed its entries.
struct Expected {
    QMap<int, SimLocation> unit;
    QMap<int, QByteArray> fixed; // by entry number
    QByteArrayList rows;

    // Whether the listing is still a true picture of the unit with this entry.
    bool take(const QByteArray& line, int capacity) {
        const PhonebookEntry entry = PhonebookEntry::parse(line);
        const int location = locationOf(entry.index, capacity);
        if (location == 0 || unit.contains(location)) return false;
        unit[location] = {entry.number, entry.name};
        if (const int number = FixedEntries::numberOf(entry.name))
            fixed[number] = entry.number;
        else if (entry.name != "VER")
            rows << entry.name + '=' + entry.number;
        return true;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    startApplication();
    const int capacity = 11 + data[0];
    FormFixture f;
    TForm1& form = *f.form;
    form.run([&] { form.StopORUClick(); });
    f.say({"STOP", "OK", "[AT#SLED=1]=", "#SPN: NET", "OK",
           "+CPBR: (1-" + QByteArray::number(capacity) + "),80,40", "OK"});
    FUZZ_CHECK(f.dialogs.errors.isEmpty() && form.dialogue.readStage() == Dialogue::ReadStage::Entries,
               f.dialogs.errors.join(QLatin1Char('\n')));

    Expected expected;
    for (const QByteArray& listed : inputBytes(data, size).sliced(1).split('\n')) {
        const QByteArray line = "+CPBR: " + asReceived(listed);
        if (!isEntryLine(line)) continue;
        const bool taken = expected.take(line, capacity);
        f.say({line});
        if (!taken) {
            FUZZ_CHECK(form.dialogue.is(Dialogue::Phase::Idle) && !form.readBack->known() &&
                           !f.dialogs.errors.isEmpty(),
                       QStringLiteral("a listing that cannot be true went on"));
            return 0;
        }
    }
    f.say({"OK"});

    FUZZ_CHECK(form.dialogue.is(Dialogue::Phase::Idle) && form.readBack->known(),
               Dialogue::describe(form.dialogue.phase()));
    FUZZ_CHECK(form.readBack->locations() == expected.unit, QStringLiteral("the unit's record"));
    for (auto it = expected.fixed.cbegin(); it != expected.fixed.cend(); ++it) {
        const QLineEdit* edit = FixedEntries::edit(form, it.key());
        const QByteArray shown =
            edit ? toBytes(edit->text()) : *FixedEntries::parameter(form.state, it.key());
        FUZZ_CHECK(fixedEntryHolds(it.key(), shown, it.value()),
                   QStringLiteral("%1 shows \"%2\" for \"%3\"")
                       .arg(QString::fromLatin1(FixedEntries::name(it.key())), printable(shown),
                            printable(it.value())));
    }
    const auto checkRows = [&](const char* where) {
        QByteArrayList rows;
        for (int i = 0; i < form.PhoneBook1->lineCount(); ++i)
            rows << form.PhoneBook1->line(i);
        FUZZ_CHECK(rows == expected.rows, QStringLiteral("rows %1 \"%2\", listed \"%3\"")
                                              .arg(QLatin1String(where), printable(rows.join('|')),
                                                   printable(expected.rows.join('|'))));
    };
    checkRows("read back");

    // The first load settles what the read-back left undecoded (a start-up parameter string, or one behind
    // a string the decoder could not read); from then on, saving and loading changes nothing.
    const QString path = f.path(QStringLiteral("unit.oru"));
    QByteArray saved = configurationFile(readControls(form));
    for (int round = 0; round < 2; ++round) {
        writeTargetFile(path, saved);
        f.dialogs.openAnswers << path;
        form.run([&] { form.LoadClick(); });
        checkRows("loaded from the saved file");
        const QByteArray again = configurationFile(readControls(form));
        FUZZ_CHECK(round == 0 || again == saved, QStringLiteral("saved \"%1\", loaded and saved again \"%2\"")
                                                     .arg(printable(saved), printable(again)));
        saved = again;
    }
    return 0;
}
