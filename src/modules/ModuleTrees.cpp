#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "config/FixedEntries.h"
#include "config/PhonebookEntry.h"
#include "config/TextCuts.h"
#include "core/Bytes.h"
#include "core/UserDialogs.h"
#include "modules/EntryTree.h"
#include "modules/ModuleWrite.h"
#include "modules/NumberPanel.h"

namespace {

// A name the settings of the read-back claim for a control of their own.
bool claimedName(const QByteArray& name) {
    return FixedEntries::numberOf(name) != 0 || name == "VER";
}

// The 1-based position of the first c in text, 0 when there is none.
qsizetype positionOf(const QByteArray& text, char c) {
    return text.indexOf(c) + 1;
}

// "B" + button + "-" + position, "M" + memory + "-" + position: the first "-" is the second-to-last
// character. The letter alone passes too, having no "-" at position 0.
bool numberEntry(const QByteArray& name, char letter) {
    return name.startsWith(letter) && positionOf(name, '-') == name.size() - 1;
}

// "C" + code + "C": the second "C" is the last character. "C" alone passes too.
bool codeEntry(const QByteArray& name) {
    return name.startsWith('C') && positionOf(name.mid(1), 'C') == name.size() - 1;
}

// "B" + button + "-" of a node of TreeButtons, "M" + memory + "-" of a node of TreeMemo.
QByteArray filterOf(const QByteArray& nodeText) {
    const QByteArray name = cutThrough(nodeText, ":");
    const qsizetype dash = name.indexOf('-');
    return dash < 0 ? QByteArray() : name.left(dash + 1);
}

// Lists in the selection tree every node of the big tree that holds the filter.
void fillSelection(const EntryTree* from, EntryTree* selection, const QByteArray& filter) {
    selection->clear();
    if (filter.isEmpty()) return;
    for (int i = 0; i < from->nodeCount(); ++i) {
        const QByteArray text = from->nodeText(i);
        if (text.contains(filter)) selection->addNode(text);
    }
}

// Writing a location without number and name clears it, once the user has agreed: the entry is gone from
// the unit at once. Whatever happened, the next "OK" re-reads the SIM.
void deleteSelected(TForm1& form, const EntryTree* tree) {
    if (!tree->hasSelection()) {
        form.showResult(QStringLiteral("Nothing was deleted: choose the entry in the list first."));
    } else if (form.ApdComPort1.isChosen()) {
        const QByteArray node = tree->selectedText();
        const QByteArray index = nodeIndex(node, form.engine.sim.capacity);
        const QString entry = fromBytes(cutThrough(node, ":"));
        if (!form.dialogs.confirm({QStringLiteral("Delete from the unit"),
                                   QStringLiteral("Delete %1 from location %2 of the unit's SIM? The unit "
                                                  "is read back afterwards.")
                                       .arg(entry, fromBytes(index)),
                                   {},
                                   QStringLiteral("Delete")}))
            return;
        sendSingleWrite(form, "AT+CPBW=" + index + "\r\n",
                        QStringLiteral("Deleted %1 from location %2").arg(entry, fromBytes(index)));
    }
    // Also when nothing went out: the next write's answer reads the unit back.
    form.dialogue.rereadPending = true;
}

// Fills the panel from a node "index:B12-3[number]": the name, the position, the label and the number.
void editNumber(const QByteArray& node, const NumberPanel& panel) {
    panel.name->setText(fromBytes(textBetween(node, ":" + panel.letter, "-")));
    panel.position->setCurrentIndex(toInt(cutThrough(node, "-").left(1)) - 1);
    showPreview(panel);
    panel.number->setText(fromBytes(textBetween(node, "[", "]")));
}

} // namespace

void TForm1::PlaceModuleEntry(const QByteArray& index, const QByteArray& number, const QByteArray& name) {
    // Every read-back starts from empty trees, also one that did not empty them when it began.
    if (dialogue.firstEntryPending && !claimedName(name))
        for (EntryTree* tree : {TreeButtons, TreeButtonsSel, TreeMemo, TreeMemoSel, TreeCode})
            tree->clear();

    const QByteArray node = PhonebookEntry{index, number, name}.nodeText();
    if (numberEntry(name, 'M')) TreeMemo->addNode(node);
    if (!state.memoFilter.isEmpty() && name.startsWith(state.memoFilter)) TreeMemoSel->addNode(node);
    if (numberEntry(name, 'B')) TreeButtons->addNode(node);
    if (!state.buttonFilter.isEmpty() && name.startsWith(state.buttonFilter)) TreeButtonsSel->addNode(node);
    if (codeEntry(name)) TreeCode->addNode(node);
    if (name == "DETECT" && number == "1") {
        state.detectLine = node;
        dialogue.detectFound = true;
        log(node);
        // Shows the state only: the box's click action is for the user, who may have switched it meanwhile.
        if (!dialogue.detectSwitchPending) DetBut->setChecked(true);
    }
}

void TForm1::TreeButtonsClick() {
    if (!TreeButtons->hasSelection()) return;
    state.buttonFilter = filterOf(TreeButtons->selectedText());
    fillSelection(TreeButtons, TreeButtonsSel, state.buttonFilter);
}

void TForm1::TreeMemoClick() {
    if (!TreeMemo->hasSelection()) return;
    state.memoFilter = filterOf(TreeMemo->selectedText());
    fillSelection(TreeMemo, TreeMemoSel, state.memoFilter);
}

void TForm1::TreeButtonsSelClick() {
    if (!TreeButtonsSel->hasSelection()) return;
    editNumber(TreeButtonsSel->selectedText(), buttonPanel(*this));
}

void TForm1::TreeMemoSelClick() {
    if (!TreeMemoSel->hasSelection()) return;
    editNumber(TreeMemoSel->selectedText(), memoPanel(*this));
}

void TForm1::DelButtonClick() {
    deleteSelected(*this, TreeButtons);
}
void TForm1::DelButtonSelClick() {
    deleteSelected(*this, TreeButtonsSel);
}
void TForm1::DelMemoClick() {
    deleteSelected(*this, TreeMemo);
}
void TForm1::DelMemoSelClick() {
    deleteSelected(*this, TreeMemoSel);
}
void TForm1::DelCodeClick() {
    deleteSelected(*this, TreeCode);
}
