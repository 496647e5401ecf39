#include "app/WholeFile.h"

#include "app/Failure.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

QByteArray readWholeFile(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray data = file.readAll();
        if (file.error() == QFileDevice::NoError) return data;
    }
    throw Failure(QStringLiteral("Cannot read the file %1: %2")
                      .arg(QDir::toNativeSeparators(path), file.errorString()));
}

void writeWholeFile(const QString& path, const QByteArray& data) {
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
    throw Failure(QStringLiteral("Cannot write the file %1: %2")
                      .arg(QDir::toNativeSeparators(path), file.errorString()));
}
