#include "FormFixture.h"

#include <QtTest>

class TestMonitorLog : public QObject {
    Q_OBJECT
private slots:
    void saveLog_data();
    void saveLog();
    void cancelWritesNothing();
};

void TestMonitorLog::saveLog_data() {
    QTest::addColumn<QByteArrayList>("logged");
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("empty monitor, empty file") << QByteArrayList() << QByteArray();
    QTest::newRow("every line ended by CR LF, bytes kept")
        << QByteArrayList{"[10:00:00]   OK", "", "\xe8\xa0\xff  end "}
        << QByteArray("[10:00:00]   OK\r\n\r\n\xe8\xa0\xff  end \r\n");
}

void TestMonitorLog::saveLog() {
    QFETCH(QByteArrayList, logged);
    FormFixture fixture;
    fixture.form->Monitor->clear();
    for (const QByteArray& line : logged)
        fixture.form->log(line);
    const QString path = fixture.path(QStringLiteral("session.mon"));
    fixture.dialogs.saveAnswers << path;
    fixture.form->SaveMonitor->click();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTEST(file.readAll(), "file");
    QCOMPARE(fixture.dialogs.filters, QStringList{QStringLiteral("Monitor files (*.mon)|*.mon")});
    QCOMPARE(fixture.dialogs.errors, QStringList());
    QCOMPARE(fixture.dialogs.problems(), QString());
}

void TestMonitorLog::cancelWritesNothing() {
    FormFixture fixture;
    fixture.form->log("OK");
    fixture.dialogs.saveAnswers << QString();
    fixture.form->SaveMonitor->click();
    QCOMPARE(QDir(fixture.dir.path()).entryList({QStringLiteral("*.mon")}, QDir::Files), QStringList());
    QCOMPARE(fixture.dialogs.problems(), QString());
}

QTEST_MAIN(TestMonitorLog)
#include "tst_monitorlog.moc"
