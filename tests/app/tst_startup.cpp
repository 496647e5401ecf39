#include "FormFixture.h"

#include "app/Caption.h"
#include "app/Captions.h"
#include "app/PortChoice.h"
#include "files/PhoneBookList.h"
#include "widgets/Picture.h"
#include "widgets/StatusPanels.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
namespace {

// The keys of one section of a settings file, in file order.
QStringList keysOf(const QString& path, const QString& section) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList keys;
    bool inside = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inside = line == QLatin1Char('[') + section + QLatin1Char(']');
        else if (inside && line.contains(QLatin1Char('=')))
            keys << line.section(QLatin1Char('='), 0, 0);
    }
    return keys;
}

QString valueOf(const QString& path, const QString& section, const QString& key) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    bool inside = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromLatin1(raw).remove(QLatin1Char('\r'));
        if (line.startsWith(QLatin1Char('[')))
            inside = line == QLatin1Char('[') + section + QLatin1Char(']');
        else if (inside && line.section(QLatin1Char('='), 0, 0) == key)
            return line.section(QLatin1Char('='), 1);
    }
    return QStringLiteral("<missing>");
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void editionFromFileName_data();
    void editionFromFileName();
    void everyPictureDrawsEachTimeItIsPainted();
    void startupSendsEchoOffThenManufacturerQuery();
    void startupEndsWhenNoPortIsChosen();
    void formKeys_data();
    void formKeys();
    void firstCloseWritesEveryKey();
    void menteEditionReadsItsOwnKeyButWritesOru();
    void handEditedTextsSurviveAndCopiesFollow();
    void everyTextTargetIsAControlOfTheWindow();
    void unusualTextsSurviveTheCloseWithThePosition();
    void unwritableSettingsAreReportedAndTheWindowCloses();
    void signalWhileThePortDialogIsOpenSendsNothingMore();
};

void StartupTest::editionFromFileName_data() {
    QTest::addColumn<QString>("exeName");
    QTest::addColumn<QString>("editionName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("modules");

    QTest::newRow("default") << "zuvovu"
                             << "ORU"
                             << "ZUVovu" << QStringList{"ORU1", "ORU2", "Sipka1", "Image5"} << false;
    QTest::newRow("Vu keeps the title, no arrow")
        << "ZUVovuVu"
        << "ORU"
        << "ZUVovu" << QStringList{"ORUF1", "ORUF2", "Image5"} << false;
    QTest::newRow("Sorvak is tested before Vu")
        << "SorvakVu"
        << "Sorvak"
        << "Sorvak" << QStringList{"ORUF1", "ORUF2", "Sipkaf1", "Image5"} << false;
    QTest::newRow("GSM Menta") << "GSM Menta.exe"
                               << "GSM Menta"
                               << "Pelta GSM Menta Manager"
                               << QStringList{"ORUL1", "ORUL2", "Sipkaf1", "Image5"} << false;
    QTest::newRow("GSMMenta without the blank is the default")
        << "GSMMenta"
        << "ORU"
        << "ZUVovu" << QStringList{"ORU1", "ORU2", "Sipka1", "Image5"} << false;
    QTest::newRow("GSMTandor shows the module tabs")
        << "xGSMTandor"
        << "GSM-Tandora"
        << "GSM-Tandora Set"
        << QStringList{"PictureT1", "PictureT2", "SipkaGA1", "SipkaGB2", "SipkaGA2", "Image5"} << true;
    QTest::newRow("letter case counts")
        << "gsmtandor"
        << "ORU"
        << "ZUVovu" << QStringList{"ORU1", "ORU2", "Sipka1", "Image5"} << false;
    QTest::newRow("4G-Kelvane hides Image5")
        << "4G-Kelvane"
        << "4G-Kelvane"
        << "4G-Kelvane" << QStringList{"PictureK1", "PictureK2"} << false;
}

void StartupTest::editionFromFileName() {
    QFETCH(QString, exeName);
    QFETCH(QString, editionName);
    QFETCH(QString, title);
    QFETCH(QStringList, shown);
    QFETCH(bool, modules);

    FormFixture f(exeName);
    TForm1& form = *f.form;
    QCOMPARE(form.state.editionName, editionName.toLatin1());
    QCOMPARE(form.windowTitle(), title);
    for (QWidget* page : {form.ORUtyp1, form.ORUtyp2})
        for (Picture* picture : page->findChildren<Picture*>()) {
            if (picture == form.Image6 || picture == form.Image7) continue;
            QCOMPARE(!picture->isHidden(), shown.contains(picture->objectName()));
        }
    QCOMPARE(form.ORUtyp->isTabVisible(form.ORUtyp->indexOf(form.ModuleButtons)), modules);
    QCOMPARE(form.ORUtyp->isTabVisible(form.ORUtyp->indexOf(form.ModuleKeyboard)), modules);
    QCOMPARE(form.GroupBox4->title(), editionName);
    QCOMPARE(form.StatusBar1->panelText(4),
             modules ? QStringLiteral(" GSM-TD Ver:") : QStringLiteral(" ORU Ver:"));
}

// Pictures are drawn when first painted, not when the window is built: the second paint must show the
// same picture as the first.
void StartupTest::everyPictureDrawsEachTimeItIsPainted() {
    FormFixture f;
    const QList<Picture*> pictures = f.form->findChildren<Picture*>();
    QVERIFY(pictures.size() > 20);
    for (Picture* picture : pictures) {
        QVERIFY2(!picture->size().isEmpty(), qPrintable(picture->objectName()));
        const QImage first = picture->grab().toImage();
        bool drawn = false;
        for (int y = 0; y < first.height() && !drawn; ++y)
            for (int x = 0; x < first.width() && !drawn; ++x)
                drawn = first.pixelColor(x, y).alpha() > 0;
        QVERIFY2(drawn, qPrintable(picture->objectName()));
        QCOMPARE(picture->grab().toImage(), first);
    }
}

void StartupTest::startupSendsEchoOffThenManufacturerQuery() {
    FormFixture f;
    TForm1& form = *f.form;
    QCOMPARE(f.port.sent, (QByteArrayList{"ATE0\r\n", "AT+CGMI\r\n"}));
    QCOMPARE(f.pacer.waits, QList<int>{200});
    QVERIFY(!form.SaveORU->isEnabled());
    QVERIFY(!form.LoadORU->isEnabled());
    QVERIFY(!form.Cekani->isActive());
    QVERIFY(!form.DeviceRun->isHidden());
    QVERIFY(form.DeviceStop->isHidden() && form.DeviceNic->isHidden());
    QCOMPARE(form.BVoltage->minimum(), 300);
    QCOMPARE(form.BVoltage->maximum(), 420);
    QCOMPARE(form.BVoltage->value(), 300);
    QCOMPARE(form.state.parRl1, QByteArray("55#1#03#1"));
    QVERIFY(f.dialogs.errors.isEmpty());
}

void StartupTest::startupEndsWhenNoPortIsChosen() {
    FormFixture f(QStringLiteral("zuvovu"), false);
    f.port.chosen = false;
    f.form->run([&f] { f.form->FormCreate(); });
    QVERIFY(f.port.sent.isEmpty());
    QVERIFY(f.pacer.waits.isEmpty());
    QCOMPARE(f.dialogs.errors, QStringList{QStringLiteral("No serial port was chosen.")});
    // Start-up stopped before its last steps; without a line the unit's buttons are off.
    QVERIFY(!f.form->LoadORU->isEnabled());
    QVERIFY(!f.form->SaveORU->isEnabled());

    // The next send asks again.
    f.port.chosen = true;
    f.form->run([&f] { f.form->signalClick(); });
    QCOMPARE(f.port.sent, QByteArrayList{"AT+CSQ\r\n"});
}

void StartupTest::formKeys_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("waitSer");
    QTest::addColumn<bool>("serviceButtons");

    QTest::newRow("no file") << QByteArray() << QPoint(200, 200) << 1000 << false;
    QTest::newRow("position and wait")
        << QByteArray("[Form]\r\nTop=40\r\nLeft=$20\r\nWaitSer=250\r\n") << QPoint(32, 40) << 250 << false;
    QTest::newRow("Inicializace 1") << QByteArray("[form]\ninicializace=1\n") << QPoint(200, 200) << 1000
                                    << true;
    QTest::newRow("Inicializace 7") << QByteArray("[Form]\nInicializace=7\n") << QPoint(200, 200) << 1000
                                    << true;
    QTest::newRow("Inicializace 0") << QByteArray("[Form]\nInicializace=0\n") << QPoint(200, 200) << 1000
                                    << false;
    QTest::newRow("not an integer") << QByteArray("[Form]\nInicializace=yes\nTop=x\n") << QPoint(200, 200)
                                    << 1000 << false;
}

void StartupTest::formKeys() {
    QFETCH(QByteArray, settings);
    QFETCH(QPoint, position);
    QFETCH(int, waitSer);
    QFETCH(bool, serviceButtons);

    FormFixture f(QStringLiteral("zuvovu"), false);
    if (!settings.isEmpty()) f.writeSettings(settings);
    f.form->FormCreate();
    // The window lies wholly on its screen: a position too far right or down for it is moved in.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size = f.form->size();
    QCOMPARE(f.form->pos(), QPoint(std::min(position.x(), screen.right() - 4 - size.width() + 1),
                                   std::min(position.y(), screen.bottom() - 4 - size.height() + 1)));
    QCOMPARE(f.form->state.serialWaitMs, waitSer);
    QCOMPARE(!f.form->Inicializace->isHidden(), serviceButtons);
    QCOMPARE(!f.form->IMEI->isHidden(), serviceButtons);
}

void StartupTest::firstCloseWritesEveryKey() {
    FormFixture f;
    f.form->move(120, 80);
    f.form->close();
    QCOMPARE(f.port.closes, 1);
    const QString ini = f.settingsPath();
    QCOMPARE(keysOf(ini, QStringLiteral("Form")), (QStringList{"Top", "Left"}));
    QCOMPARE(valueOf(ini, QStringLiteral("Form"), QStringLiteral("Left")), QStringLiteral("120"));
    QCOMPARE(keysOf(ini, QStringLiteral("Language")).size(), 95);
    QCOMPARE(keysOf(ini, QStringLiteral("Help")).size(), 63);
    QVERIFY(!keysOf(ini, QStringLiteral("Help")).contains(QStringLiteral("Status")));
    QCOMPARE(valueOf(ini, QStringLiteral("Help"), QStringLiteral("PhoneBook")),
             QStringLiteral("Telephone book in ORU"));
    QCOMPARE(valueOf(ini, QStringLiteral("Language"), QStringLiteral("ORU")), QStringLiteral("ORU"));
    QVERIFY(f.dialogs.errors.isEmpty());
}

void StartupTest::menteEditionReadsItsOwnKeyButWritesOru() {
    FormFixture f(QStringLiteral("GSM Menta"), false);
    f.writeSettings("[Language]\r\nGSM Menta=Menta Door\r\n");
    f.form->FormCreate();
    QCOMPARE(f.form->GroupBox4->title(), QStringLiteral("Menta Door"));
    f.form->close();
    QCOMPARE(valueOf(f.settingsPath(), QStringLiteral("Language"), QStringLiteral("ORU")),
             QStringLiteral("Menta Door"));
    QCOMPARE(valueOf(f.settingsPath(), QStringLiteral("Language"), QStringLiteral("GSM Menta")),
             QStringLiteral("Menta Door"));
    QCOMPARE(keysOf(f.settingsPath(), QStringLiteral("Language")).count(QStringLiteral("GSM Menta")), 1);
}

void StartupTest::handEditedTextsSurviveAndCopiesFollow() {
    FormFixture f(QStringLiteral("zuvovu"), false);
    f.writeSettings("; translated by hand\r\n[Language]\r\nDel Button=Smazat\r\nCode=Kod\r\n"
                    "[Help]\r\nStatus=Stav jednotky\r\n");
    f.form->FormCreate();
    TForm1& form = *f.form;
    QCOMPARE(form.DelButtonSel->text(), QStringLiteral("Smazat"));
    QCOMPARE(form.DelButton->text(), QStringLiteral("Smazat"));
    for (QLabel* label : form.CodeLabel)
        QCOMPARE(label->text(), QStringLiteral("Kod"));
    QCOMPARE(form.MRel1[1]->text(), QStringLiteral("Relay 1"));
    QCOMPARE(form.RelRing2->text(), form.RelRing1->text());
    QCOMPARE(form.ORUtyp->tabText(0), QStringLiteral("1 button"));
    QCOMPARE(form.PageControl1->tabText(3), QStringLiteral("Monitor"));
    form.close();
    QFile file(f.settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QVERIFY(written.startsWith("; translated by hand\r\n[Language]\r\nDel Button=Smazat\r\nCode=Kod\r\n"));
    QVERIFY(written.contains("Status=Stav jednotky\r\n"));
}

void StartupTest::everyTextTargetIsAControlOfTheWindow() {
    FormFixture f;
    for (const QString& name : textControlNames())
        QVERIFY2(f.form->findChild<QWidget*>(name) != nullptr, qPrintable(name));
}

// A text as long as a translator made it and a CR left inside one by an editor come back as they were,
// and the close keeps the window's place as well.
void StartupTest::unusualTextsSurviveTheCloseWithThePosition() {
    FormFixture f(QStringLiteral("zuvovu"), false);
    const QByteArray longHint = QByteArray(2999, 'h') + '!';
    f.writeSettings("[Language]\r\nRun=Spustit\rskript\r\n[Help]\r\nSave=" + longHint + "\r\n");
    f.form->FormCreate();
    QCOMPARE(hint(f.form->Save).size(), 3000);
    f.form->move(120, 80);
    f.form->close();
    QCOMPARE(f.dialogs.errors, QStringList());
    QCOMPARE(valueOf(f.settingsPath(), QStringLiteral("Form"), QStringLiteral("Left")),
             QStringLiteral("120"));
    QFile file(f.settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QVERIFY(written.contains("\r\nRun=Spustit\rskript\r\n"));
    QVERIFY(written.contains("\r\nSave=" + longHint + "\r\n"));
}

void StartupTest::unwritableSettingsAreReportedAndTheWindowCloses() {
    FormFixture f;
    // A folder where the settings file should be: it can be neither read nor replaced.
    QVERIFY(QDir().mkpath(f.settingsPath()));
    f.form->show();
    f.form->close();
    QVERIFY(f.form->isHidden());
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY2(f.dialogs.errors.first().contains(QStringLiteral("zuvovu.ini")),
             qPrintable(f.dialogs.errors.first()));
}

void StartupTest::signalWhileThePortDialogIsOpenSendsNothingMore() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    PortChoice port(dialogs);
    RecordingPacer pacer;
    TForm1 form(port, pacer, dialogs, QStringLiteral("zuvovu"), dir.filePath(QStringLiteral("zuvovu.ini")));
    // The signal comes while the dialog is open; a port picked in it afterwards is not used.
    dialogs.whilePortDialogOpen = [&form] { form.closeBySignal(); };
    dialogs.portAnswers << std::optional<QString>(PortChoice::SimulatedUnitChoice);
    form.run([&form] { form.FormCreate(); });

    QVERIFY(dialogs.dismissed);
    QVERIFY(port.simulatedUnit() == nullptr);
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("zuvovu.ini"))));
    // Nothing is sent later either.
    form.run([&form] { form.signalClick(); });
    QVERIFY(port.simulatedUnit() == nullptr);
    QVERIFY(!port.isChosen());
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
