#include "modules/ModuleWrite.h"

#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "config/PhonebookEntry.h"
#include "config/TextCuts.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "modules/EntryTree.h"

QByteArray nodeIndex(const QByteArray& nodeText, int capacity) {
    const QByteArray index = textBefore(nodeText, ":").trimmed();
    if (locationOf(index, capacity) == 0) throw Failure(notALocation(index, capacity) + " Nothing was sent.");
    return index;
}

void writeModuleEntry(TForm1& form, const EntryTree* tree, const QByteArray& number, const QByteArray& name) {
    for (const auto& [field, text] : {std::pair{"name", name}, std::pair{"number", number}}) {
        const QString character = breakingCharacter(text);
        if (!character.isEmpty())
            throw Failure(QStringLiteral("The entry %1 cannot be written: its %2 holds %3, which the unit "
                                         "would take for the end of the field. Nothing was sent.")
                              .arg(fromBytes(name), QLatin1String(field), character));
    }
    const QByteArray index =
        tree->hasSelection() ? nodeIndex(tree->selectedText(), form.engine.sim.capacity) : QByteArray();
    sendSingleWrite(form, "AT+CPBW=" + index + "," + number + ",," + name + "\r\n",
                    index.isEmpty()
                        ? QStringLiteral("Wrote %1 into the first free location").arg(fromBytes(name))
                        : QStringLiteral("Wrote %1 over location %2").arg(fromBytes(name), fromBytes(index)));
}

void sendSingleWrite(TForm1& form, const QByteArray& command, const QString& done) {
    form.engine.writeSingle(command);
    form.resultNote = done;
}
