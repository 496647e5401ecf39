#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// size bytes that run through every byte value, zero, CR and LF among them.
inline QByteArray everyByteValue(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 % 256);
    return bytes;
}

// Writes a test's file whole; the test fails where it cannot.
inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}
