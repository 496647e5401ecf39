#include "core/WholeFile.h"

#include "core/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Closes the descriptor however the reading or writing ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

[[noreturn]] void cannotRead(const QString& path, const QString& reason) {
    throw Failure(QStringLiteral("Cannot read the file %1: %2").arg(native(path), reason));
}

[[noreturn]] void cannotWrite(const QString& path, const QString& reason) {
    throw Failure(QStringLiteral("Cannot write the file %1: %2").arg(native(path), reason));
}

// Writes everything into an existing device or FIFO. The open does not wait for a reader; the writes
// then wait as the device needs.
void writeInto(const QString& path, const QByteArray& data) {
    const Descriptor fd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        cannotWrite(path, errno == ENXIO ? QStringLiteral("nothing reads from it") : systemReason(errno));
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) < 0)
        cannotWrite(path, systemReason(errno));
    qsizetype written = 0;
    while (written < data.size()) {
        const ssize_t count = ::write(fd.get(), data.constData() + written, size_t(data.size() - written));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) cannotWrite(path, systemReason(count < 0 ? errno : EIO));
        written += count;
    }
}

// Replaces a regular file only once the new content is complete on disk.
void replace(const QString& path, const QByteArray& data) {
    // Unbuffered, and every write checked: a buffered QSaveFile can commit a file cut short when the
    // disk fills up, because a failed flush inside commit() goes unnoticed.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        qsizetype written = 0;
        while (written < data.size()) {
            const qint64 count = file.write(data.sliced(written));
            if (count <= 0) break;
            written += count;
        }
        if (written == data.size() && file.commit()) return;
    }
    cannotWrite(path, file.errorString());
}

} // namespace

QByteArray readWholeFile(const QString& path, qint64 maxSize) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) cannotRead(path, systemReason(errno));
    if (!S_ISREG(info.st_mode)) cannotRead(path, QStringLiteral("it is not a regular file"));
    // Without blocking: the name may have become a FIFO since it was looked at.
    const Descriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) cannotRead(path, systemReason(errno));
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        cannotRead(path, QStringLiteral("it is not a regular file"));
    const QString tooLarge = QStringLiteral("it is larger than %1 bytes").arg(maxSize);
    if (info.st_size > maxSize) cannotRead(path, tooLarge);
    // One byte more than allowed is asked for, so that a file that grew is noticed.
    QByteArray data(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype size = 0;
    for (;;) {
        if (size == data.size()) {
            if (size > maxSize) cannotRead(path, tooLarge);
            data.resize(qMin(size * 2, qsizetype(maxSize) + 1));
        }
        const ssize_t count = ::read(fd.get(), data.data() + size, size_t(data.size() - size));
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) cannotRead(path, systemReason(errno));
        if (count == 0) break;
        size += count;
    }
    if (size > maxSize) cannotRead(path, tooLarge);
    data.truncate(size);
    return data;
}

void writeWholeFile(const QString& path, const QByteArray& data) {
    struct stat info {};
    // stat() follows a link: a link to a device is a device, a link to a file has its target replaced
    // (QSaveFile follows links itself).
    if (::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode) &&
        !S_ISDIR(info.st_mode))
        writeInto(path, data);
    else
        replace(path, data);
}

void checkWritable(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) cannotWrite(path, QStringLiteral("it is a folder"));
        if (!S_ISREG(info.st_mode)) {
            if (::access(name.constData(), W_OK) != 0) cannotWrite(path, systemReason(errno));
            return;
        }
    } else if (errno != ENOENT) {
        cannotWrite(path, systemReason(errno));
    }
    // A regular file is replaced by a new one made beside it, beside a link's target for a link.
    const QFileInfo file(path);
    const QString folder =
        file.exists() ? QFileInfo(file.canonicalFilePath()).absolutePath() : file.absolutePath();
    const QByteArray folderName = QFile::encodeName(folder);
    if (::stat(folderName.constData(), &info) != 0)
        cannotWrite(path, QStringLiteral("its folder %1: %2").arg(native(folder), systemReason(errno)));
    if (!S_ISDIR(info.st_mode)) cannotWrite(path, QStringLiteral("%1 is not a folder").arg(native(folder)));
    if (::access(folderName.constData(), W_OK | X_OK) != 0)
        cannotWrite(path, QStringLiteral("its folder %1: %2").arg(native(folder), systemReason(errno)));
}
