#include "app/TForm1.h"
#include "config/FixedEntries.h"
#include "config/PhonebookEntry.h"
#include "engine/ReadBackRecord.h"
#include "core/Bytes.h"
#include "files/PhoneBookList.h"
#include "widgets/StatusPanels.h"

void TForm1::routeEntryLine(const QByteArray& line) {
    const PhonebookEntry entry = PhonebookEntry::parse(line);
    // The index goes into the commands that write over or clear the entry's location: one that is no
    // location of this SIM could name another location, or several.
    const int location = locationOf(entry.index, state.simCapacity);
    // A listing with an entry that has no place, or a location twice, is no true picture of the unit: the
    // read-back stops there and the entry is left out.
    if (location == 0)
        stopPhase(Dialogue::Outcome::Refused,
                  notALocation(entry.index, state.simCapacity) +
                      QStringLiteral(" Its entry \"%1\" is left out.").arg(fromBytes(entry.name)));
    if (dialogue.is(Dialogue::Phase::ReadingBack)) {
        if (readBack->listed(location))
            stopPhase(Dialogue::Outcome::Refused,
                      QStringLiteral("The unit listed its location %1 twice, the second time as \"%2\".")
                          .arg(location)
                          .arg(fromBytes(entry.name)));
        dialogue.step(location);
        // Kept before the window takes it in: a setting the window cannot show was still listed.
        readBack->list(location, {entry.number, entry.name});
    }
    PlaceModuleEntry(entry.index, entry.number, entry.name);

    if (const int fixed = FixedEntries::numberOf(entry.name)) {
        if (QLineEdit* edit = FixedEntries::edit(*this, fixed)) {
            edit->setText(fromBytes(entry.number));
        } else {
            takeParameter(fixed, entry.number);
            ParamsToControls();
        }
    } else if (entry.name == "VER") {
        // A version with "#" comes from a script that has no information tones.
        if (entry.number.contains('#'))
            for (QCheckBox* tone : {TonBeep, TonRing, TonVoice})
                tone->setEnabled(false);
        const bool oru = StatusBar1->panelText(4).contains(QLatin1String("ORU"));
        StatusBar1->setPanelText(4, fromBytes((oru ? " ORU Ver: " : " GSM-TD Ver: ") + entry.number));
    } else if (dialogue.firstEntryPending) {
        // The first entry of a read-back that no setting claims replaces what the grid held.
        PhoneBook1->clearLines();
        PhoneBook1->appendLine(entry.name + '=' + entry.number);
        dialogue.firstEntryPending = false;
    } else {
        PhoneBook1->appendLine(entry.name + '=' + entry.number);
    }
}
