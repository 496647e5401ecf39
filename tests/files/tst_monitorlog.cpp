#include "FormFixture.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

class TestMonitorLog : public QObject {
    Q_OBJECT
private slots:
    void saveLog_data();
    void saveLog();
    void cancelWritesNothing();
    void everyLineIsSavedBeyondWhatTheViewShows();
    void atTheEndTheViewFollows();
    void scrolledUpTheViewStaysPut_data();
    void scrolledUpTheViewStaysPut();
    void ctrlEndGoesToTheEndAndFollows();
    void linesLoggedWhileHiddenShowAtTheEnd();
};

namespace {

// The window shown on its monitor page, with the start-up lines forgotten.
struct ShownMonitor : FormFixture {
    ShownMonitor() {
        form->Monitor->clear();
        form->resize(900, 700);
        form->show();
        form->PageControl1->setCurrentWidget(form->TabSheet2);
        settle();
    }
    QPlainTextEdit* view() const { return form->Monitor->view(); }
    QScrollBar* bar() const { return view()->verticalScrollBar(); }
    void logLines(int from, int count) {
        for (int n = from; n < from + count; ++n)
            form->log("line " + QByteArray::number(n));
        settle();
    }
    // The line at the top of the view, and the last one it shows.
    QString topLine() const { return view()->cursorForPosition(QPoint(0, 0)).block().text(); }
    QString bottomLine() const {
        return view()->cursorForPosition(QPoint(0, view()->viewport()->height() - 1)).block().text();
    }
    bool atEnd() const { return bar()->value() == bar()->maximum() && bar()->maximum() > 0; }
};

} // namespace

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

void TestMonitorLog::everyLineIsSavedBeyondWhatTheViewShows() {
    FormFixture fixture;
    TForm1& form = *fixture.form;
    form.Monitor->clear();
    const int count = MonitorView::ShownLines + 5;
    QByteArray expected;
    for (int n = 0; n < count; ++n) {
        form.log("line " + QByteArray::number(n));
        expected += "line " + QByteArray::number(n) + "\r\n";
    }
    const QString path = fixture.path(QStringLiteral("long.mon"));
    fixture.dialogs.saveAnswers << path;
    form.SaveMonitor->click();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected);
    // The view holds the newest lines once it is shown.
    form.show();
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    FormFixture::settle();
    const QTextDocument* shown = form.Monitor->view()->document();
    QCOMPARE(shown->blockCount(), MonitorView::ShownLines);
    QCOMPARE(shown->lastBlock().text(), QStringLiteral("line %1").arg(count - 1));
    QCOMPARE(shown->firstBlock().text(), QStringLiteral("line %1").arg(count - MonitorView::ShownLines));
}

void TestMonitorLog::atTheEndTheViewFollows() {
    ShownMonitor f;
    f.logLines(0, 200);
    QVERIFY(f.atEnd());
    f.logLines(200, 300);
    QVERIFY(f.atEnd());
    QCOMPARE(f.bottomLine(), QStringLiteral("line 499"));
}

void TestMonitorLog::scrolledUpTheViewStaysPut_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("after");

    QTest::newRow("a few more lines") << 300 << 40 << 100;
    QTest::newRow("old lines make room for new ones") << MonitorView::ShownLines << 5000 << 3000;
}

void TestMonitorLog::scrolledUpTheViewStaysPut() {
    QFETCH(int, before);
    QFETCH(int, top);
    QFETCH(int, after);

    ShownMonitor f;
    f.logLines(0, before);
    // The user drags the scroll bar up.
    f.bar()->triggerAction(QAbstractSlider::SliderToMinimum);
    f.bar()->setValue(top);
    const QString shown = f.topLine();
    f.logLines(before, after);
    QCOMPARE(f.topLine(), shown);
    QVERIFY(!f.atEnd());
}

void TestMonitorLog::ctrlEndGoesToTheEndAndFollows() {
    ShownMonitor f;
    f.logLines(0, 300);
    f.bar()->setValue(10);
    QTest::keyClick(f.view(), Qt::Key_End, Qt::ControlModifier);
    QVERIFY(f.atEnd());
    f.logLines(300, 100);
    QVERIFY(f.atEnd());
    QCOMPARE(f.bottomLine(), QStringLiteral("line 399"));
}

void TestMonitorLog::linesLoggedWhileHiddenShowAtTheEnd() {
    ShownMonitor f;
    f.logLines(0, 300);
    // Another page while a long exchange goes on, as during programming or an upload.
    f.form->PageControl1->setCurrentIndex(0);
    FormFixture::settle();
    f.logLines(300, 2000);
    f.form->PageControl1->setCurrentWidget(f.form->TabSheet2);
    FormFixture::settle();
    QVERIFY(f.atEnd());
    QCOMPARE(f.bottomLine(), QStringLiteral("line 2299"));
}

QTEST_MAIN(TestMonitorLog)
#include "tst_monitorlog.moc"
