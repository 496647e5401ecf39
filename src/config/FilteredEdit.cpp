#include "config/FilteredEdit.h"

#include "core/Bytes.h"

#include <QLineEdit>

void filterEdit(QLineEdit* edit, TextFilter filter) {
    edit->setText(fromBytes(filter(toBytes(edit->text()))));
    edit->setCursorPosition(edit->text().size());
}
