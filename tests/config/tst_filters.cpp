#include "config/Filters.h"

#include <QtTest>

class TestFilters : public QObject {
    Q_OBJECT
private slots:
    void filters_data();
    void filters();
};

void TestFilters::filters_data() {
    QTest::addColumn<QByteArray>("filter");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("filtered");

    QTest::newRow("time padded to two digits") << QByteArray("time") << QByteArray("7") << QByteArray("07");
    QTest::newRow("time keeps its last two digits")
        << QByteArray("time") << QByteArray("123") << QByteArray("23");
    QTest::newRow("time of zero is one") << QByteArray("time") << QByteArray("00") << QByteArray("01");
    QTest::newRow("time cut at a letter") << QByteArray("time") << QByteArray("1a5") << QByteArray("01");
    QTest::newRow("time trimmed") << QByteArray("time") << QByteArray(" 12 ") << QByteArray("12");
    QTest::newRow("time trimmed of control characters")
        << QByteArray("time") << QByteArray("\t4\x01") << QByteArray("04");
    QTest::newRow("empty time is one") << QByteArray("time") << QByteArray("") << QByteArray("01");
    QTest::newRow("blank time is one") << QByteArray("time") << QByteArray("   ") << QByteArray("01");
    QTest::newRow("code keeps its last digit") << QByteArray("code") << QByteArray("56") << QByteArray("6");
    QTest::newRow("code of a letter is zero") << QByteArray("code") << QByteArray("a") << QByteArray("0");
    QTest::newRow("empty code is zero") << QByteArray("code") << QByteArray("") << QByteArray("0");
    QTest::newRow("blank code is zero") << QByteArray("code") << QByteArray(" ") << QByteArray("0");
    QTest::newRow("phone leaves one character as typed")
        << QByteArray("phone") << QByteArray(" a ") << QByteArray("a");
    QTest::newRow("phone cut at a letter") << QByteArray("phone") << QByteArray("a1") << QByteArray("");
    QTest::newRow("phone cut at an inner blank")
        << QByteArray("phone") << QByteArray("123 456") << QByteArray("123");
    QTest::newRow("phone keeps plus, star and hash")
        << QByteArray("phone") << QByteArray("+420*12#") << QByteArray("+420*12#");
    QTest::newRow("phone keeps 20 characters")
        << QByteArray("phone") << QByteArray("12345678901234567890123") << QByteArray("12345678901234567890");
    QTest::newRow("empty phone") << QByteArray("phone") << QByteArray("") << QByteArray("");
    QTest::newRow("digits cut at a letter")
        << QByteArray("digits") << QByteArray("123a45") << QByteArray("123");
    QTest::newRow("digits keep 15") << QByteArray("digits") << QByteArray("1234567890123456")
                                    << QByteArray("123456789012345");
    QTest::newRow("digits refuse plus") << QByteArray("digits") << QByteArray("+12") << QByteArray("");
    QTest::newRow("digits cut at an 8-bit character") << QByteArray("digits")
                                                      << QByteArray("12\xb9"
                                                                    "3")
                                                      << QByteArray("12");
}

void TestFilters::filters() {
    QFETCH(QByteArray, filter);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, filtered);
    const QHash<QByteArray, QByteArray (*)(const QByteArray&)> filters = {
        {"time", FilterTime}, {"code", FilterCode}, {"phone", FilterPhone}, {"digits", FilterDigits}};
    QCOMPARE(filters.value(filter)(text), filtered);
}

QTEST_APPLESS_MAIN(TestFilters)
#include "tst_filters.moc"
