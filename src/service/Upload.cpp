#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/Pacer.h"
#include "core/UserDialogs.h"
#include "core/WholeFile.h"
#include "service/UploadFile.h"
#include "service/UploadList.h"
#include "widgets/Bar.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

void TForm1::LoadListClick() {
    const QString name =
        dialogs.openFileName(QStringLiteral("info for download (*.ifo)|*.ifo"), QDir::currentPath());
    if (name.isEmpty()) return;
    const QByteArrayList lines = listFileLines(readWholeFile(name));
    // Relative names in the list resolve against the list file's folder.
    QDir::setCurrent(QFileInfo(name).absolutePath());
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
    // The whole list is checked before its first line goes: one that cannot run through sends nothing.
    QStringList problems;
    if (!ApdComPort1.isOpen())
        problems << QStringLiteral("No unit is connected: choose Connect in the port menu.");
    QByteArrayList lines;
    try {
        for (int i = 0; i < listLineCount(List); ++i)
            lines << listLine(List, i);
    } catch (const Failure& failure) {
        problems << failure.text();
    }
    if (lines.isEmpty())
        problems << QStringLiteral("The upgrade list is empty.");
    else if (lines[0].isEmpty())
        problems << QStringLiteral("The upgrade list starts with a blank line, which ends it.");
    problems += uploadLinesProblems(lines, QDir::currentPath(), {});
    if (!problems.isEmpty()) {
        // Starting over with a list that cannot run: the run under way is over all the same.
        dialogue.end(Dialogue::Outcome::Cancelled);
        throw Failure(QStringLiteral("Nothing was uploaded:\n") + problems.join(QLatin1Char('\n')));
    }
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
        unit.send(command + "\r\n");
        dialogue.uploadActive = true;
        dialogue.awaitingPrompt = data;
        dialogue.step(index);
    };
    try {
        // Read inside the try: a line the code page cannot carry ends the upload like any other failure.
        const QByteArray line = listLine(List, index);
        switch (uploadKind(line)) {
        case UploadKind::Run:
            issue("AT#ESCRIPT=" + uploadArgument(line), false);
            break;
        case UploadKind::Audio: {
            const QByteArray name = uploadArgument(line);
            const int size = ReadNamedFile(name);
            if (size == 0) return endUpload(index);
            unit.pause(state.serialWaitMs);
            issue("AT#ASEND=" + name + "," + QByteArray::number(size), true);
            dialogue.asendPending = true;
            break;
        }
        case UploadKind::Set:
            issue(uploadArgument(line), false);
            break;
        case UploadKind::Delete:
            issue("AT#DSCRIPT=" + uploadArgument(line), false);
            break;
        case UploadKind::Script: {
            const int size = ReadListedFile(index);
            if (size == 0) return endUpload(index);
            issue("AT#WSCRIPT=" + line + "," + QByteArray::number(size), true);
            break;
        }
        }
    } catch (const Failure& failure) {
        stopPhase(Dialogue::Outcome::Failed, failure.text());
    }
}

void TForm1::endUpload(int index) {
    const QByteArray line = listLine(List, index);
    // The list's end, or a blank line that ends it early on purpose; what follows that line is said, since
    // it may have come there by mistake.
    if (line.isEmpty()) {
        QStringList unsent;
        for (const int after : linesAfterBlank(List, index))
            unsent << QStringLiteral("line %1 \"%2\"").arg(after + 1).arg(fromBytes(listLine(List, after)));
        const QString left =
            unsent.isEmpty() ? QString()
                             : QStringLiteral("; the blank line %1 ends the list, so %2 %3 not sent")
                                   .arg(index + 1)
                                   .arg(unsent.join(QStringLiteral(", ")))
                                   .arg(unsent.size() == 1 ? QStringLiteral("was") : QStringLiteral("were"));
        dialogue.end(Dialogue::Outcome::Done, QStringLiteral("%1 lines").arg(index) + left);
        if (!left.isEmpty())
            dialogs.reportError(QStringLiteral("The upload sent %1 lines").arg(index) + left +
                                QLatin1Char('.'));
        runDeferred();
        return;
    }
    stopPhase(Dialogue::Outcome::Failed,
              QStringLiteral("Nothing was sent for \"%1\": its file is empty or cannot be read.")
                  .arg(fromBytes(line)));
}
