#include "app/TForm1.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "service/UploadList.h"

#include <QFile>
#include <QFileInfo>
#include <limits>
#include <optional>

namespace {

// The whole contents of a file to upload; nothing for an empty name or a file that opens but cannot be
// read. A file that cannot be opened is a failure with the system's description.
std::optional<QByteArray> readUploadFile(const QByteArray& name) {
    if (name.isEmpty()) return std::nullopt;
    // The list holds the name as it was typed or loaded; the file system takes it as Qt encodes paths.
    const QString path = fromBytes(name);
    // A FIFO would block the open and a device never end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw Failure(QStringLiteral("Cannot open %1: it is not a regular file").arg(fromBytes(name)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(fromBytes(name), file.errorString()));
    const qint64 size = file.size();
    if (size > std::numeric_limits<int>::max())
        throw Failure(QStringLiteral("%1 is too large to upload: %2 bytes").arg(fromBytes(name)).arg(size));
    // Exactly the size taken, so that the size the command announces is the size of the data sent.
    QByteArray bytes = file.read(size);
    if (bytes.size() != size) return std::nullopt;
    return bytes;
}

} // namespace

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
