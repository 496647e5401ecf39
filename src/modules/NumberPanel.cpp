#include "modules/NumberPanel.h"

#include "app/TForm1.h"
#include "core/Bytes.h"

NumberPanel memoPanel(TForm1& form) {
    return {"M", form.Memo, form.PosMemo, form.LabelMemo, form.MemoPNumber, form.TreeMemoSel};
}

NumberPanel buttonPanel(TForm1& form) {
    return {"B", form.Button, form.PosButton, form.LabelButton, form.ButtonPNumber, form.TreeButtonsSel};
}

QByteArray suffix(const NumberPanel& panel) {
    return toBytes(panel.name->text()) + '-' + toBytes(panel.position->currentText());
}

void showPreview(const NumberPanel& panel) {
    panel.label->setText(fromBytes("(" + panel.letter + suffix(panel) + ")"));
}
