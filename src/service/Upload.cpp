#include "app/Bar.h"
#include "app/Failure.h"
#include "app/Pacer.h"
#include "app/TForm1.h"
#include "app/UserDialogs.h"
#include "comm/SerialPort.h"
#include "service/UploadList.h"

#include <QDir>
#include <QFile>
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
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot open the list %1: %2").arg(name, file.errorString()));
    const QByteArray text = file.readAll();
    QByteArrayList lines = text.split('\n');
    // A line feed ends a line; it does not start another.
    if (text.isEmpty() || text.endsWith('\n')) lines.removeLast();
    for (QByteArray& line : lines)
        if (line.endsWith('\r')) line.chop(1);
    appendListLines(List, lines);
    if (file.error() != QFileDevice::NoError)
        throw Failure(QStringLiteral("Cannot read the list %1: %2").arg(name, file.errorString()));
}

void TForm1::ClrListClick() {
    List->clear();
}

void TForm1::UpgradeClick() {
    // Starting over: an answer still awaited from an earlier run no longer holds or moves the upload.
    state.uploadActive = false;
    state.asendPending = false;
    Prubeh->setMaximum(listLineCount(List) + 1);
    state.uploadIndex = 0;
    Prubeh->show();
    setPosition(Prubeh, 1);
    UploadStep(0);
}

void TForm1::UploadStep(int index) {
    const QByteArray line = listLine(List, index);
    // The answer is awaited once the command is out: a send that fails leaves nothing to wait for.
    const auto issue = [this](const QByteArray& command) {
        log(command);
        ApdComPort1.send(command + "\r\n");
        state.uploadActive = true;
    };
    if (line.contains("RUN:")) {
        issue("AT#ESCRIPT=" + argumentOf(line));
    } else if (line.contains("ASEND:")) {
        const QByteArray name = argumentOf(line);
        const int size = ReadNamedFile(name);
        if (size == 0) return;
        pacer.wait(state.serialWaitMs);
        issue("AT#ASEND=" + name + "," + QByteArray::number(size));
        state.asendPending = true;
    } else if (line.contains("SET:")) {
        issue(argumentOf(line));
    } else if (line.contains("DEL:")) {
        issue("AT#DSCRIPT=" + argumentOf(line));
    } else {
        const int size = ReadListedFile(index);
        if (size == 0) return;
        issue("AT#WSCRIPT=" + line + "," + QByteArray::number(size));
    }
}
