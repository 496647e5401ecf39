#include "FormFixture.h"
#include "files/PhoneBookList.h"
#include "widgets/StatusPanels.h"

#include <QtTest>

class TestPhoneBook : public QObject {
    Q_OBJECT
private slots:
    void rowsFromText_data();
    void rowsFromText();
    void buttons_data();
    void buttons();
    void findSaysNothingFound_data();
    void findSaysNothingFound();
};

void TestPhoneBook::rowsFromText_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArrayList>("names");
    QTest::addColumn<QByteArrayList>("numbers");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<int>("gridRows");

    QTest::newRow("empty text, one empty row shown")
        << QByteArray() << QByteArrayList() << QByteArrayList() << QByteArray() << 2;
    QTest::newRow("lines end at CR, LF or CR LF")
        << QByteArray("a=1\rb=2\nc=3\r\nd=4") << QByteArrayList{"a", "b", "c", "d"}
        << QByteArrayList{"1", "2", "3", "4"} << QByteArray("a=1\r\nb=2\r\nc=3\r\nd=4\r\n") << 5;
    QTest::newRow("number keeps every later equals sign")
        << QByteArray("door=12=3=\r\n=5\r\n") << QByteArrayList{"door", ""} << QByteArrayList{"12=3=", "5"}
        << QByteArray("door=12=3=\r\n=5\r\n") << 3;
    QTest::newRow("line without equals sign is all number")
        << QByteArray("note\r\n\r\nx=1\r\n") << QByteArrayList{"", "", "x"} << QByteArrayList{"note", "", "1"}
        << QByteArray("note\r\n\r\nx=1\r\n") << 4;
    QTest::newRow("8-bit bytes kept")
        << QByteArray("\xc8\xe1\xfe=\x80\xff\t1\r\n") << QByteArrayList{"\xc8\xe1\xfe"}
        << QByteArrayList{"\x80\xff\t1"} << QByteArray("\xc8\xe1\xfe=\x80\xff\t1\r\n") << 2;
}

void TestPhoneBook::rowsFromText() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArrayList, names);
    QFETCH(QByteArrayList, numbers);
    FormFixture fixture;
    PhoneBookList& list = *fixture.form->PhoneBook1;
    list.appendLine("old=1");
    list.setText(text);
    QCOMPARE(list.lineCount(), names.size());
    for (int i = 0; i < list.lineCount(); ++i) {
        QCOMPARE(list.name(i), names[i]);
        QCOMPARE(list.number(i), numbers[i]);
    }
    QTEST(list.text(), "written");
    QTEST(list.gridRowCount(), "gridRows");
}

void TestPhoneBook::buttons_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("steps"); // "in" and "del" presses, or "find:" and the name to look for
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("currentAfter");

    const QByteArray three = "a=1\r\nb=2\r\nc=3\r\n";
    QTest::newRow("insert in the current row's place")
        << three << 1 << "in" << QByteArray("a=1\r\n=\r\nb=2\r\nc=3\r\n") << 1;
    QTest::newRow("insert twice adds one empty row")
        << three << 1 << "in in" << QByteArray("a=1\r\n=\r\nb=2\r\nc=3\r\n") << 1;
    QTest::newRow("insert into an empty list stores a row")
        << QByteArray() << 0 << "in" << QByteArray("=\r\n") << 0;
    QTest::newRow("delete the current row") << three << 1 << "del" << QByteArray("a=1\r\nc=3\r\n") << 1;
    QTest::newRow("delete the last row, the new last is current")
        << three << 2 << "del" << QByteArray("a=1\r\nb=2\r\n") << 1;
    QTest::newRow("delete the only row") << QByteArray("a=1\r\n") << 0 << "del" << QByteArray() << 0;
    QTest::newRow("delete in an empty list does nothing")
        << QByteArray() << 0 << "del del" << QByteArray() << 0;
    QTest::newRow("find ignores letter case")
        << QByteArray("Alice=1\r\nbob=2\r\n") << 0 << "find:BOB" << QByteArray("Alice=1\r\nbob=2\r\n") << 1;
    QTest::newRow("find needs the whole name")
        << QByteArray("bobby=1\r\nBob=2\r\n") << 0 << "find:bob" << QByteArray("bobby=1\r\nBob=2\r\n") << 1;
    QTest::newRow("find is not trimmed")
        << QByteArray("a=1\r\nbob=2\r\n") << 0 << "find: bob" << QByteArray("a=1\r\nbob=2\r\n") << 0;
    QTest::newRow("finding nothing keeps the row") << three << 2 << "find:d" << three << 2;
    QTest::newRow("empty name found, rows without equals skipped")
        << QByteArray("bob\r\n=5\r\n") << 0 << "find:" << QByteArray("bob\r\n=5\r\n") << 1;
}

void TestPhoneBook::buttons() {
    QFETCH(QByteArray, text);
    QFETCH(int, current);
    QFETCH(QString, steps);
    FormFixture fixture;
    TForm1& form = *fixture.form;
    form.PhoneBook1->setText(text);
    form.PhoneBook1->setCurrentLine(current);
    for (const QString& step : steps.split(QLatin1Char(' '))) {
        if (step == QLatin1String("in"))
            form.LineIn->click();
        else if (step == QLatin1String("del"))
            form.LineDel->click();
        else {
            form.FindN->setText(steps.mid(5));
            form.Find->click();
            break;
        }
    }
    QTEST(form.PhoneBook1->text(), "after");
    QTEST(form.PhoneBook1->currentLine(), "currentAfter");
    QCOMPARE(fixture.dialogs.errors, QStringList());
}

void TestPhoneBook::findSaysNothingFound_data() {
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("currentAfter");
    QTest::addColumn<bool>("saysNotFound");
    QTest::newRow("Enter finds") << true << "BOB" << 1 << false;
    QTest::newRow("Enter finds nothing") << true << "carol" << 0 << true;
    QTest::newRow("button finds nothing") << false << "carol" << 0 << true;
    QTest::newRow("button finds") << false << "bob" << 1 << false;
}

void TestPhoneBook::findSaysNothingFound() {
    QFETCH(bool, byEnter);
    QFETCH(QString, name);
    FormFixture fixture;
    TForm1& form = *fixture.form;
    form.PhoneBook1->setText("alice=1\r\nbob=2\r\n");
    form.PhoneBook1->setCurrentLine(0);
    form.FindN->setText(name);
    if (byEnter)
        QTest::keyClick(form.FindN, Qt::Key_Return);
    else
        form.Find->click();
    QTEST(form.PhoneBook1->currentLine(), "currentAfter");
    QTEST(form.StatusBar1->currentMessage().contains(name), "saysNotFound");
    QCOMPARE(fixture.dialogs.errors, QStringList());
}

QTEST_MAIN(TestPhoneBook)
#include "tst_phonebook.moc"
