#include "FormFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

// The editable combo boxes: their item lists are fixed, a typed text stays only the box's text, and a
// decoded value outside the list selects nothing.
class CombosTest : public QObject {
    Q_OBJECT
private slots:
    void typedTextNeverBecomesAnItem_data();
    void typedTextNeverBecomesAnItem();
    void decodedWaitingSelectsItsItemOrNone_data();
    void decodedWaitingSelectsItsItemOrNone();
};

namespace {

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

void CombosTest::typedTextNeverBecomesAnItem_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("index");

    QTest::newRow("WaitBUF, beyond the list") << "WaitBUF"
                                              << "12" << -1;
    QTest::newRow("WaitBUF, a listed value selects it") << "WaitBUF"
                                                        << "5" << 4;
    QTest::newRow("PosMemo") << "PosMemo"
                             << "9" << -1;
    QTest::newRow("PosButton") << "PosButton"
                               << "9" << -1;
    QTest::newRow("PosButton, a letter") << "PosButton"
                                         << "x" << -1;
    for (const char* box : {"M1Acces", "M3Acces", "M4Acces"})
        QTest::addRow("%s", box) << box << "7" << -1;
    for (const char* box : {"FromM2", "ToM2", "FromM3"})
        QTest::addRow("%s", box) << box << "13" << -1;
    for (const char* box : {"FromD2", "ToD2", "FromD3"})
        QTest::addRow("%s", box) << box << "32" << -1;
    for (const char* box : {"FromHours", "ToHours"})
        QTest::addRow("%s", box) << box << "24" << -1;
    QTest::newRow("FromHours, a listed value selects it") << "FromHours"
                                                          << "05" << 5;
}

void CombosTest::typedTextNeverBecomesAnItem() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, index);

    FormFixture f;
    auto* combo = f.form->findChild<QComboBox*>(box);
    QVERIFY(combo);
    const QStringList items = itemsOf(combo);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), typed);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    // Enter a second time, as an impatient user does: still no new item.
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    QCOMPARE(itemsOf(combo), items);
    QCOMPARE(combo->currentText(), typed);
    if (index >= 0) QCOMPARE(combo->currentIndex(), index);
}

void CombosTest::decodedWaitingSelectsItsItemOrNone_data() {
    QTest::addColumn<QByteArray>("parKey");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");

    QTest::newRow("first") << QByteArray("1#0") << 0 << "1";
    QTest::newRow("last") << QByteArray("9#1") << 8 << "9";
    QTest::newRow("0 is no item") << QByteArray("0#0") << -1 << "";
}

void CombosTest::decodedWaitingSelectsItsItemOrNone() {
    QFETCH(QByteArray, parKey);
    QFETCH(int, index);
    QFETCH(QString, text);

    FormFixture f;
    TForm1& form = *f.form;
    // A typed text before the decoding gives way to the decoded value.
    form.WaitBUF->lineEdit()->selectAll();
    QTest::keyClicks(form.WaitBUF->lineEdit(), QStringLiteral("12"));
    QTest::keyClick(form.WaitBUF->lineEdit(), Qt::Key_Return);
    form.state.parKey = parKey;
    form.run([&] { form.ParamsToControls(); });
    QCOMPARE(form.WaitBUF->count(), 9);
    QCOMPARE(form.WaitBUF->currentIndex(), index);
    QCOMPARE(form.WaitBUF->currentText(), text);
}

QTEST_MAIN(CombosTest)
#include "tst_combos.moc"
