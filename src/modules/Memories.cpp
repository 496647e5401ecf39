#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "config/FilteredEdit.h"
#include "config/Filters.h"
#include "core/Bytes.h"
#include "core/Pacer.h"
#include "files/PhoneBookList.h"
#include "modules/EntryTree.h"
#include "modules/ModuleWrite.h"
#include "modules/NumberPanel.h"
#include "widgets/Bar.h"

namespace {

void nameChanged(const NumberPanel& panel) {
    filterEdit(panel.name, FilterDigits);
    showPreview(panel);
}

void positionChanged(const NumberPanel& panel) {
    if (!panel.name->text().isEmpty()) showPreview(panel);
}

// The next write goes to a new location, at the position after the listed numbers; past the seventh
// the box shows no position.
void addNumber(const NumberPanel& panel) {
    panel.numbers->dropSelection();
    panel.position->setCurrentIndex(panel.numbers->nodeCount());
    showPreview(panel);
}

void writeNumber(TForm1& form, const NumberPanel& panel) {
    writeModuleEntry(form, panel.numbers, toBytes(panel.number->text()), panel.letter + suffix(panel));
}

} // namespace

void TForm1::MemoChange() {
    nameChanged(memoPanel(*this));
}
void TForm1::PosMemoChange() {
    positionChanged(memoPanel(*this));
}
void TForm1::MemoPNumberChange() {
    filterEdit(MemoPNumber, FilterPhone);
}
void TForm1::AddMemoClick() {
    addNumber(memoPanel(*this));
}
void TForm1::WriteMemoClick() {
    writeNumber(*this, memoPanel(*this));
}

void TForm1::ButtonChange() {
    nameChanged(buttonPanel(*this));
}
void TForm1::PosButtonChange() {
    positionChanged(buttonPanel(*this));
}
void TForm1::ButtonPNumberChange() {
    filterEdit(ButtonPNumber, FilterPhone);
}
void TForm1::AddButtonClick() {
    addNumber(buttonPanel(*this));
}
void TForm1::WriteButtonClick() {
    writeNumber(*this, buttonPanel(*this));
}

void TForm1::DetButClick() {
    // Until the unit is free, where the "DETECT" entry is may not be known yet: the switch waits for that.
    if (!dialogue.is(Dialogue::Phase::Idle)) {
        dialogue.detectSwitchPending = true;
        return;
    }
    // detectLine may be older than the last read-back: then its location can hold another entry by now.
    // Only a location the last read-back saw holding "DETECT" is written over or cleared.
    const QByteArray index =
        dialogue.detectFound ? nodeIndex(state.detectLine, engine.sim.capacity) : QByteArray();
    if (DetBut->isChecked()) {
        unit.send("AT+CPBW=" + index + ",1,,DETECT\r\n");
    } else {
        if (!index.isEmpty()) unit.send("AT+CPBW=" + index + "\r\n");
        state.detectLine.clear();
        dialogue.detectFound = false;
    }

    // The read-back that follows shows the state the unit now holds.
    unit.pause(500);
    engine.askOperator("AT#SPN\r\n");
    setPosition(Prubeh, 0);
    SaveORU->setEnabled(true);
    PhoneBook1->clearLines();
    dialogue.firstEntryPending = true;
    for (EntryTree* tree : {TreeButtons, TreeMemo, TreeCode})
        tree->clear();
}
