#include "app/TForm1.h"
#include "files/PhoneBookList.h"
#include "modules/EntryTree.h"
#include "widgets/Picture.h"

void TForm1::ShowRunState() {
    showDeviceState(DeviceRun);
    LoadORU->setEnabled(false);
    SaveORU->setEnabled(false);
}

void TForm1::ShowStopState() {
    showDeviceState(DeviceStop);
    LoadORU->setEnabled(true);
    SaveORU->setEnabled(true);
}

void TForm1::EndWait() {
    Cekani->stop();
    Prubeh->hide();
    SaveORU->setEnabled(true);
    RunORU->setEnabled(true);
}

void TForm1::ResetEntryView() {
    PhoneBook1->clearLines();
    dialogue.firstEntryPending = true;
    for (EntryTree* tree : {TreeButtons, TreeButtonsSel, TreeMemo, TreeMemoSel, TreeCode})
        tree->clear();
}
