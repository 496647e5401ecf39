#include "service/UploadFile.h"
#include "app/TForm1.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/WholeFile.h"
#include "service/UploadList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <limits>
#include <optional>

namespace {

// Opens a file to upload and returns its size. A FIFO would block the open and a device never end; a file
// that cannot be opened, or is too large to announce, is a failure with the reason.
qint64 openUploadFile(QFile& file, const QByteArray& name) {
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile())
        throw Failure(QStringLiteral("Cannot open %1: it is not a regular file").arg(fromBytes(name)));
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(fromBytes(name), file.errorString()));
    const qint64 size = file.size();
    if (size > std::numeric_limits<int>::max())
        throw Failure(QStringLiteral("%1 is too large to upload: %2 bytes").arg(fromBytes(name)).arg(size));
    return size;
}

// The whole contents of a file to upload; nothing for an empty name or a file that opens but cannot be
// read.
std::optional<QByteArray> readUploadFile(const QByteArray& name) {
    if (name.isEmpty()) return std::nullopt;
    // The list holds the name as it was typed or loaded; the file system takes it as Qt encodes paths.
    QFile file(fromBytes(name));
    const qint64 size = openUploadFile(file, name);
    // Exactly the size taken, so that the size the command announces is the size of the data sent.
    QByteArray bytes = file.read(size);
    if (bytes.size() != size) return std::nullopt;
    return bytes;
}

} // namespace

QStringList uploadListProblems(const QString& listPath) {
    QByteArrayList lines;
    try {
        lines = listFileLines(readWholeFile(listPath));
    } catch (const Failure& failure) {
        return {failure.text()};
    }
    return uploadLinesProblems(lines, QFileInfo(listPath).absolutePath(),
                               QDir::toNativeSeparators(listPath) + QStringLiteral(", "));
}

QStringList uploadLinesProblems(const QByteArrayList& lines, const QString& folder, const QString& where) {
    const QDir dir(folder);
    QStringList problems;
    for (qsizetype i = 0; i < lines.size() && !lines[i].isEmpty(); ++i) {
        const UploadKind kind = uploadKind(lines[i]);
        if (kind != UploadKind::Audio && kind != UploadKind::Script) continue;
        const QByteArray name = uploadFileName(lines[i]);
        try {
            if (name.isEmpty()) throw Failure(QStringLiteral("it names no file"));
            QFile file(dir.filePath(fromBytes(name)));
            if (openUploadFile(file, name) == 0)
                throw Failure(QStringLiteral("%1 is empty").arg(fromBytes(name)));
        } catch (const Failure& failure) {
            problems << QStringLiteral("%1line %2: %3").arg(where).arg(i + 1).arg(failure.text());
        }
    }
    return problems;
}

int TForm1::ReadListedFile(int index) {
    state.uploadIndex = index;
    if (index >= listLineCount(List)) {
        Prubeh->hide();
        return 0;
    }
    state.uploadPayload.clear();
    std::optional<QByteArray> bytes = readUploadFile(listLine(List, index));
    if (!bytes) {
        Prubeh->hide();
        return 0;
    }
    state.uploadPayload = std::move(*bytes);
    return static_cast<int>(state.uploadPayload.size());
}

int TForm1::ReadNamedFile(const QByteArray& name) {
    state.uploadPayload.clear();
    std::optional<QByteArray> bytes = readUploadFile(name);
    if (!bytes) return 0;
    state.uploadPayload = std::move(*bytes);
    return static_cast<int>(state.uploadPayload.size());
}
