#include "app/TForm1.h"
#include "config/FixedEntries.h"
#include "config/PhonebookEntry.h"
#include "core/Bytes.h"
#include "files/PhoneBookList.h"
#include "widgets/StatusPanels.h"

void TForm1::showListed(const PhonebookEntry& entry) {
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
