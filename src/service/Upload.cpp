#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/Pacer.h"
#include "core/UserDialogs.h"
#include "core/WholeFile.h"
#include "service/UploadList.h"
#include "widgets/Bar.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The text after the line's first ":", wherever the keyword stands.
QByteArray argumentOf(const QByteArray& line) {
    return line.mid(line.indexOf(':') + 1);
}

} // namespace

void TForm1::LoadListClick() {
    const QString name =
        dialogs.openFileName(QStringLiteral("info for download (*.ifo)|*.ifo"), QDir::currentPath());
    if (name.isEmpty()) return;
    // Relative names in the list resolve against the list file's folder.
    QDir::setCurrent(QFileInfo(name).absolutePath());
    const QByteArray text = readWholeFile(name);
    QByteArrayList lines = text.split('\n');
    // A line feed ends a line, with or without a CR before it; it does not start another.
    if (text.isEmpty() || text.endsWith('\n')) lines.removeLast();
    for (QByteArray& line : lines)
        if (line.endsWith('\r')) line.chop(1);
    appendListLines(List, lines);
}

void TForm1::ClrListClick() {
    List->clear();
}

void TForm1::UpgradeClick() {
    // The answers of another phase would be taken for the upload's.
    if (!dialogue.is(Dialogue::Phase::Idle) && !dialogue.is(Dialogue::Phase::Uploading))
        throw Failure(QStringLiteral("%1 is still under way: upload once it has finished.")
                          .arg(Dialogue::describe(dialogue.phase())));
    // Starting over: an answer still awaited from an earlier run no longer holds or moves the upload.
    dialogue.start(Dialogue::Phase::Uploading, listLineCount(List));
    Prubeh->setMaximum(listLineCount(List) + 1);
    state.uploadIndex = 0;
    Prubeh->show();
    setPosition(Prubeh, 1);
    UploadStep(0);
}

void TForm1::UploadStep(int index) {
    // The answer is awaited once the command is out: a send that fails leaves nothing to wait for.
    const auto issue = [this, index](const QByteArray& command, bool data) {
        log(command);
        ApdComPort1.send(command + "\r\n");
        dialogue.uploadActive = true;
        dialogue.awaitingPrompt = data;
        dialogue.step(index);
    };
    try {
        // Read inside the try: a line the code page cannot carry ends the upload like any other failure.
        const QByteArray line = listLine(List, index);
        if (line.contains("RUN:")) {
            issue("AT#ESCRIPT=" + argumentOf(line), false);
        } else if (line.contains("ASEND:")) {
            const QByteArray name = argumentOf(line);
            const int size = ReadNamedFile(name);
            if (size == 0) return endUpload(index);
            pacer.wait(state.serialWaitMs);
            issue("AT#ASEND=" + name + "," + QByteArray::number(size), true);
            dialogue.asendPending = true;
        } else if (line.contains("SET:")) {
            issue(argumentOf(line), false);
        } else if (line.contains("DEL:")) {
            issue("AT#DSCRIPT=" + argumentOf(line), false);
        } else {
            const int size = ReadListedFile(index);
            if (size == 0) return endUpload(index);
            issue("AT#WSCRIPT=" + line + "," + QByteArray::number(size), true);
        }
    } catch (const Failure& failure) {
        stopPhase(Dialogue::Outcome::Failed, failure.text());
    }
}

void TForm1::endUpload(int index) {
    const QByteArray line = listLine(List, index);
    // The list's end, or a blank line that ends it early on purpose.
    if (line.isEmpty()) {
        dialogue.end(Dialogue::Outcome::Done, QStringLiteral("%1 lines").arg(index));
        runDeferred();
        return;
    }
    stopPhase(Dialogue::Outcome::Failed,
              QStringLiteral("Nothing was sent for \"%1\": its file is empty or cannot be read.")
                  .arg(fromBytes(line)));
}
