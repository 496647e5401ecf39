#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

// Runs one fuzz target on every input of its seed corpus and on every finding saved for it, so that an
// input that once broke a property never breaks it again unnoticed. A broken property aborts the row.
class FuzzReplay : public QObject {
    Q_OBJECT
private slots:
    void replay_data();
    void replay();
};

void FuzzReplay::replay_data() {
    QTest::addColumn<QString>("path");
    int inputs = 0;
    for (const QString& folder : {QStringLiteral(FUZZ_CORPUS), QStringLiteral(FUZZ_FINDINGS)}) {
        const QDir dir(folder);
        // "corpus/NAME" or "findings/NAME"
        const QString kind = QFileInfo(folder).path().section(QLatin1Char('/'), -1);
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            QTest::newRow(qPrintable(kind + QLatin1Char('/') + name)) << dir.filePath(name);
            ++inputs;
        }
    }
    QVERIFY2(inputs > 0, "the target has no seed corpus");
}

void FuzzReplay::replay() {
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    const QByteArray input = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()),
                           static_cast<size_t>(input.size()));
}

QTEST_MAIN(FuzzReplay)
#include "FuzzReplay.moc"
