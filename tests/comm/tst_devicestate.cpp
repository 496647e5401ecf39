#include "FormFixture.h"

#include "widgets/Gauge.h"
#include "widgets/Picture.h"
#include "widgets/StatusPanels.h"

#include <QtTest>

// The Run, Stop and Load buttons and the status buttons, against the commands, waits and pictures.
class DeviceStateTest : public QObject {
    Q_OBJECT
private slots:
    void switches_data();
    void switches();
    void loadWhileWaitingShowsRunUntilTheModuleAnswers();
    void waitBarFillsAndStops();
    void connectionIsShown();
};

namespace {

enum class Shown { Run, Stop, Waiting };

Shown shown(const TForm1& form) {
    if (!form.DeviceStop->isHidden()) return Shown::Stop;
    if (!form.DeviceNic->isHidden()) return Shown::Waiting;
    return Shown::Run;
}

} // namespace

Q_DECLARE_METATYPE(Shown)

void DeviceStateTest::switches_data() {
    QTest::addColumn<QString>("handler");
    QTest::addColumn<Shown>("before");
    QTest::addColumn<bool>("lte");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QList<int>>("waits");
    QTest::addColumn<Shown>("after");
    QTest::addColumn<bool>("dtr");

    QTest::newRow("Run restarts the script")
        << "RunORU" << Shown::Stop << false << QByteArrayList{"AT#REBOOT\r\n"} << QList<int>{1000}
        << Shown::Waiting << false;
    QTest::newRow("Run on the LTE module sends nothing")
        << "RunORU" << Shown::Stop << true << QByteArrayList{} << QList<int>{1000} << Shown::Waiting << false;
    QTest::newRow("Stop sets DTR") << "StopORU" << Shown::Run << false << QByteArrayList{} << QList<int>{}
                                   << Shown::Waiting << true;
    // A unit found stopped is held so by the stop line while it is read.
    QTest::newRow("Load in stop mode reads again")
        << "LoadORU" << Shown::Stop << false << QByteArrayList{"AT#SPN\r\n"} << QList<int>{} << Shown::Stop
        << true;
    QTest::newRow("Load in run mode does nothing")
        << "LoadORU" << Shown::Run << false << QByteArrayList{} << QList<int>{} << Shown::Run << false;
    QTest::newRow("signal") << "signal" << Shown::Run << false << QByteArrayList{"AT+CSQ\r\n"} << QList<int>{}
                            << Shown::Run << false;
    QTest::newRow("IMEI") << "IMEI" << Shown::Run << false << QByteArrayList{"AT#CGSN\r\n"} << QList<int>{}
                          << Shown::Run << false;
    QTest::newRow("Inicializace selects the script")
        << "Inicializace" << Shown::Run << false << QByteArrayList{"AT#ESCRIPT=oru.pyo\r\n"} << QList<int>{}
        << Shown::Run << false;
}

void DeviceStateTest::switches() {
    QFETCH(QString, handler);
    QFETCH(Shown, before);
    QFETCH(bool, lte);
    QFETCH(QByteArrayList, sent);
    QFETCH(QList<int>, waits);
    QFETCH(Shown, after);
    QFETCH(bool, dtr);

    FormFixture f;
    TForm1& form = *f.form;
    form.engine.lteModule = lte;
    form.showDeviceState(before == Shown::Stop ? form.DeviceStop : form.DeviceRun);
    form.LoadORU->setEnabled(true);
    f.port.clearSent();
    f.pacer.waits.clear();
    form.findChild<QPushButton*>(handler)->click();
    QCOMPARE(f.port.sent, sent);
    QCOMPARE(f.pacer.waits, waits);
    QCOMPARE(shown(form), after);
    QCOMPARE(f.port.dtr(), dtr);
    if (after == Shown::Waiting) {
        QVERIFY(form.Cekani->isActive());
        QCOMPARE(form.Prubeh->maximum(), 250);
        QCOMPARE(form.Prubeh->value(), 0);
    }
    QVERIFY(f.dialogs.errors.isEmpty());
}

void DeviceStateTest::loadWhileWaitingShowsRunUntilTheModuleAnswers() {
    FormFixture f;
    TForm1& form = *f.form;
    form.StopORU->click();
    form.SaveORU->setEnabled(true);
    f.port.clearSent();
    form.LoadORU->setEnabled(true);
    form.LoadORU->click();
    QCOMPARE(f.port.sent, QByteArrayList{"AT+CGMI\r\n"});
    QCOMPARE(shown(form), Shown::Run);
    QVERIFY(!form.LoadORU->isEnabled() && !form.SaveORU->isEnabled());
    f.say({"Telit"});
    QCOMPARE(shown(form), Shown::Stop);
    QVERIFY(form.LoadORU->isEnabled() && form.SaveORU->isEnabled());
}

void DeviceStateTest::waitBarFillsAndStops() {
    FormFixture f;
    TForm1& form = *f.form;
    form.StopORU->click();
    for (int tick = 0; tick < 260; ++tick)
        form.CekaniTimer();
    QCOMPARE(form.Prubeh->value(), 250);
    QVERIFY(!form.Prubeh->isHidden());
    QVERIFY(form.Cekani->isActive());
}

void DeviceStateTest::connectionIsShown() {
    // No port at start-up: the window says so from the first moment.
    FormFixture f(QStringLiteral("zuvovu"), false);
    TForm1& form = *f.form;
    f.port.chosen = false;
    form.run([&] { form.FormCreate(); });
    QCOMPARE(f.dialogs.errors, QStringList{"No serial port was chosen."});
    QCOMPARE(shown(form), Shown::Waiting);
    QCOMPARE(form.StatusBar1->panelText(TForm1::PortPanel), QStringLiteral(" not connected"));

    // The port opens: it is named, and the unit's values come in.
    f.port.chosen = true;
    form.run([&] { form.LoadORUClick(); });
    QCOMPARE(form.StatusBar1->panelText(TForm1::PortPanel), QStringLiteral(" TEST"));
    f.say({"Telit", "#CBC: 0,412", "+CSQ: 20,0"});
    QCOMPARE(shown(form), Shown::Stop);
    QCOMPARE(form.BVoltage->value(), 412);

    // The port goes: nothing the unit said last is shown as if it still held.
    f.port.close();
    QCOMPARE(shown(form), Shown::Waiting);
    QCOMPARE(form.StatusBar1->panelText(TForm1::PortPanel), QStringLiteral(" not connected"));
    QCOMPARE(form.StatusBar1->panelText(1), QStringLiteral(" board voltage:"));
    QCOMPARE(form.BVoltage->value(), 300);
    QCOMPARE(form.Voltage->text(), QStringLiteral("Voltage"));
    QCOMPARE(form.Smeter->progress(), 0);
}

QTEST_MAIN(DeviceStateTest)
#include "tst_devicestate.moc"
