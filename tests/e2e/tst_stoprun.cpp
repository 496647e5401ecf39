#include "SimFormFixture.h"

#include "widgets/Picture.h"
#include "widgets/StatusPanels.h"

#include <QtTest>

// Stop, Load and Run against the simulated unit, for both kinds of module.
class StopRunTest : public QObject {
    Q_OBJECT
private slots:
    void stopReadsTheUnitAndRunRestartsIt_data();
    void stopReadsTheUnitAndRunRestartsIt();
    void startupFindsAStoppedUnit();
};

void StopRunTest::stopReadsTheUnitAndRunRestartsIt_data() {
    QTest::addColumn<SimKind>("kind");
    QTest::newRow("standard") << SimKind::Standard;
    QTest::newRow("LTE") << SimKind::Lte;
}

void StopRunTest::stopReadsTheUnitAndRunRestartsIt() {
    QFETCH(SimKind, kind);
    SimOptions options;
    options.kind = kind;
    options.phonebook[1] = {"+420123456789", "ADMIN1"};
    SimFormFixture f(options);
    TForm1& form = *f.form;
    f.click([&] { form.FormCreate(); });
    // The running script answers no command: the window stays on Run with Save and Load locked.
    QVERIFY(!form.DeviceRun->isHidden());
    QVERIFY(!form.SaveORU->isEnabled());

    f.click([&] { form.StopORUClick(); });
    QVERIFY(!form.DeviceStop->isHidden());
    QVERIFY(form.DeviceRun->isHidden() && form.DeviceNic->isHidden());
    QVERIFY(form.SaveORU->isEnabled() && form.LoadORU->isEnabled());
    QCOMPARE(form.engine.lteModule, kind == SimKind::Lte);
    QCOMPARE(form.StatusBar1->panelText(0), QStringLiteral("Operator:  SIM NET"));
    QCOMPARE(form.StatusBar1->panelText(2), QStringLiteral(" SIM: 250"));
    QCOMPARE(form.engine.sim.capacity, 250);
    const QString monitor = form.Monitor->toPlainText();
    QVERIFY(monitor.contains(QStringLiteral("+CPBR: 1,\"+420123456789\",145,\"ADMIN1\"")));
    QVERIFY(form.Prubeh->isHidden());
    QVERIFY(!form.Cekani->isActive());

    f.click([&] { form.RunORUClick(); });
    QVERIFY(!form.DeviceNic->isHidden());
    QCOMPARE(f.unit.mode(), SimulatedUnit::Mode::Run);
    // The running script's status lines bring the run picture back.
    for (int i = 0; i < 5; ++i)
        f.unit.tick();
    f.settle();
    QVERIFY(!form.DeviceRun->isHidden());
    QVERIFY(!form.SaveORU->isEnabled() && !form.LoadORU->isEnabled());
    QCOMPARE(form.BVoltage->value(), 412);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void StopRunTest::startupFindsAStoppedUnit() {
    SimOptions options;
    options.startStopped = true;
    SimFormFixture f(options);
    TForm1& form = *f.form;
    f.click([&] { form.FormCreate(); });
    QVERIFY(!form.DeviceStop->isHidden());
    QVERIFY(form.SaveORU->isEnabled() && form.LoadORU->isEnabled());
    QCOMPARE(form.StatusBar1->panelText(0), QStringLiteral("Operator:  SIM NET"));
    // DTR is off: no SIM size and no read-back until Stop.
    QCOMPARE(form.StatusBar1->panelText(2), QStringLiteral(" SIM:"));

    f.click([&] { form.signalClick(); });
    QCOMPARE(form.state.signalLevel, 18);
    QVERIFY(f.dialogs.errors.isEmpty());
}

QTEST_MAIN(StopRunTest)
#include "tst_stoprun.moc"
