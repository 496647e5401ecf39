#include "app/TForm1.h"
#include "config/FilteredEdit.h"
#include "config/Filters.h"
#include "config/TextCuts.h"
#include "core/Bytes.h"
#include "core/UserDialogs.h"
#include "modules/EntryTree.h"
#include "modules/ModuleWrite.h"

#include <variant>
#include <vector>

// A code's entry is "C" + code + "C" with the number field relay + "#" + mode, then, for modes 1 to 4,
// "#" before each group of the mode's fields and "#" before the SMS flag. Every field has a fixed width,
// so the decoder finds each one at a fixed offset.

namespace {

// A flag takes one character ("1" when ticked), a combo box two: the text of every item of its list.
using CodeField = std::variant<QCheckBox*, QComboBox*>;
// Fields written one after the other, without a separator.
using FieldGroup = std::vector<CodeField>;

// The groups of a mode's fields between the mode digit and the SMS flag.
std::vector<FieldGroup> fieldGroups(const TForm1& form, int mode) {
    switch (mode) {
    case 1:
        return {{form.Po, form.Ut, form.St, form.Ct, form.Pa, form.So, form.Ne}, {form.M1Acces}};
    case 2:
        return {{form.FromM2, form.FromD2}, {form.ToM2, form.ToD2}};
    case 3:
        return {{form.FromM3, form.FromD3}, {form.M3Acces}};
    case 4:
        return {{form.FromHours}, {form.ToHours}, {form.M4Acces}};
    default:
        return {};
    }
}

// "Send SMS to ADMIN1", the last character of the number field; the normal mode has none.
QCheckBox* smsFlag(const TForm1& form, int mode) {
    const std::array<QCheckBox*, 5> boxes{nullptr, form.M1SMS, form.M2SMS, form.M3SMS, form.M4SMS};
    return boxes[mode];
}

QByteArray flagText(const QCheckBox* box) {
    return box->isChecked() ? "1" : "0";
}

// Combo texts go out as they stand, also a typed one of another width.
QByteArray fieldText(const CodeField& field) {
    if (const auto* box = std::get_if<QCheckBox*>(&field)) return flagText(*box);
    return toBytes(std::get<QComboBox*>(field)->currentText());
}

QByteArray codeNumber(const TForm1& form, int mode) {
    const char relay = form.MRel1[mode]->isChecked() ? '1' : form.MRel2[mode]->isChecked() ? '2' : '0';
    QByteArray number = relay + ("#" + QByteArray::number(mode));
    for (const FieldGroup& group : fieldGroups(form, mode)) {
        number += '#';
        for (const CodeField& field : group)
            number += fieldText(field);
    }
    if (const QCheckBox* sms = smsFlag(form, mode)) number += '#' + flagText(sms);
    return number;
}

// Sets a field from the node's characters at the given position; returns the field's width.
qsizetype decodeField(const CodeField& field, const QByteArray& node, qsizetype at) {
    if (auto* const* box = std::get_if<QCheckBox*>(&field)) {
        (*box)->setChecked(node.mid(at, 1) == "1");
        return 1;
    }
    QComboBox* combo = std::get<QComboBox*>(field);
    const QByteArray pair = node.mid(at, 2);
    // A text that is neither "**" nor a number fails here and ends the decoding.
    if (pair != "**") toInt(pair);
    // The pair selects the item of the same text. A value the list lacks ("00" for a month, "24" for an
    // hour) stands in the box as typed, so that writing the code again sends it unchanged.
    const QString text = fromBytes(pair);
    const int item = combo->findText(text);
    combo->setCurrentIndex(item);
    if (item < 0) combo->setEditText(text);
    return 2;
}

} // namespace

void TForm1::WriteCodeClick(int mode) {
    const QByteArray name = "C" + toBytes(CodeM[mode]->text()) + "C";
    // Over the chosen code its location is rewritten at once: the user agrees first.
    if (TreeCode->hasSelection()) {
        const QByteArray node = TreeCode->selectedText();
        if (!dialogs.confirm({QStringLiteral("Replace a code on the unit"),
                              QStringLiteral("Write %1 over %2 at location %3 of the unit's SIM? The unit is "
                                             "read back afterwards.")
                                  .arg(fromBytes(name), fromBytes(cutThrough(node, ":")),
                                       fromBytes(nodeIndex(node, engine.sim.capacity))),
                              {},
                              QStringLiteral("Replace")}))
            return;
    }
    writeModuleEntry(*this, TreeCode, codeNumber(*this, mode), name);
}

void TForm1::CodeMChange(int mode) {
    filterEdit(CodeM[mode], FilterDigits);
    LabelCodeM[mode]->setText(QStringLiteral("(C") + CodeM[mode]->text() + QStringLiteral("C)"));
}

void TForm1::OnClickCode() {
    if (!TreeCode->hasSelection()) return;
    const QByteArray node = TreeCode->selectedText();
    const qsizetype hash = node.indexOf('#');
    const int mode = toInt(hash < 0 ? QByteArray() : node.mid(hash + 1, 1));
    if (mode < 0 || mode >= int(M.size())) return;

    ModeCode->setCurrentIndex(mode);
    CodeM[mode]->setText(fromBytes(textBetween(node, ":C", "C[")));
    // The number field starts two characters after the "C" that closes the name.
    const qsizetype closing = node.indexOf("C[");
    const QByteArray relay = node.mid(closing + 2, 1);
    if (relay == "1") setRadio(MRel1[mode], true);
    if (relay == "2") setRadio(MRel2[mode], true);
    qsizetype at = closing + 6;
    for (const FieldGroup& group : fieldGroups(*this, mode)) {
        for (const CodeField& field : group)
            at += decodeField(field, node, at);
        ++at; // the "#" after the group
    }
    // The flag is the number field's last character, wherever the fields before it ended.
    if (QCheckBox* sms = smsFlag(*this, mode))
        sms->setChecked(node.size() >= 2 && node[node.size() - 2] == '1');
}

void TForm1::AddCodeClick() {
    TreeCode->dropSelection();
}
