#include "app/TForm1.h"

#include "app/FormBuild.h"
#include "app/ProgramOptions.h"
#include "app/TypedText.h"
#include "comm/SerialPort.h"
#include "core/Bytes.h"
#include "core/UserDialogs.h"
#include "engine/ReadBackRecord.h"
#include "files/UnsavedEdits.h"
#include "widgets/Gauge.h"
#include "widgets/Led.h"
#include "widgets/Picture.h"
#include "widgets/Pictures.h"
#include "widgets/StatusPanels.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace build;

TForm1::TForm1(SerialPort& port, Pacer& pacer, UserDialogs& dialogs, const QString& exeName,
               const QString& settingsPath, QWidget* parent)
    : QWidget(parent), ApdComPort1(port), pacer(pacer), dialogs(dialogs), exeName(exeName),
      settingsPath(settingsPath), engine(port, pacer, *this), unit(engine.line), dialogue(engine.dialogue),
      readBack(&engine.record) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ZUVovu"));
    buildFrame();
    buildButtonsPage();
    buildModuleButtonsPage();
    buildModuleKeyboardPage();
    buildPhoneBookPage();
    buildSettingPage();
    buildMonitorPage();
    buildServicePage();
    bindHandlers();
    refuseUnheldCharacters(*this);
    connect(&ApdComPort1, &SerialPort::triggerAvail, this,
            [this](quint16 count) { run([this, count] { ApdComPort1TriggerAvail(count); }); });
    connect(&ApdComPort1, &SerialPort::connectionChanged, this, &TForm1::showConnection);
    connect(&ApdComPort1, &SerialPort::lost, this,
            [this](const QString& reason) { run([this, &reason] { portLost(reason); }); });
    connect(&ApdComPort1, &SerialPort::back, this, [this] { run([this] { portBack(); }); });
    // Taken up at the next turn of the event loop, never inside the handler whose pause has just ended.
    connect(
        &unit, &UnitLine::released, this, [this] { run([this] { unit.handleHeld(); }); },
        Qt::QueuedConnection);
    connect(&unit, &UnitLine::lineCut, this,
            [this] { log("(received line longer than 65536 characters: the rest of it is dropped)"); });
    connect(&unit, &UnitLine::failed, this, [this](const QString& text) {
        run([this, &text] { stopPhase(Dialogue::Outcome::PortLost, text); });
    });
    connect(&dialogue, &Dialogue::timedOut, this,
            [this](Dialogue::Phase phase) { run([this, phase] { engine.silenceLimitReached(phase); }); });
    connect(&dialogue, &Dialogue::started, this, &TForm1::showPhase);
    connect(&dialogue, &Dialogue::progressed, this, &TForm1::phaseProgressed);
    m_phaseShowing.setSingleShot(true);
    m_phaseShowing.setInterval(250);
    connect(&m_phaseShowing, &QTimer::timeout, this, &TForm1::showPhase);
    connect(&dialogue, &Dialogue::ended, this, &TForm1::showOutcome);
    unsavedEdits = new UnsavedEdits(*this);
    // A phase that ended may have changed what the window shows, or what the unit holds.
    connect(&dialogue, &Dialogue::ended, this, [this](Dialogue::Phase, Dialogue::Outcome outcome) {
        m_titleCheck.start();
        // The phase's end unlocked the window; without a line the unit's buttons stay off.
        if (!ApdComPort1.isOpen()) {
            if (outcome == Dialogue::Outcome::PortLost) m_lossReported = true;
            showConnection(false);
        }
    });
    connect(&ApdComPort1, &SerialPort::connectionChanged, this, [this](bool open) {
        if (open) m_lossReported = false;
    });
    m_titleCheck.setSingleShot(true);
    m_titleCheck.setInterval(150);
    connect(&m_titleCheck, &QTimer::timeout, this, &TForm1::refreshTitle);
    m_stopProbe.setSingleShot(true);
    connect(&m_stopProbe, &QTimer::timeout, this, [this] {
        if (dialogue.is(Dialogue::Phase::Stopping) && !DeviceNic->isHidden()) run([this] { LoadORUClick(); });
    });
    qApp->installEventFilter(this);
    m_baseTitle = windowTitle();
}

TForm1::~TForm1() = default;

void TForm1::log(const QByteArray& line) {
    Monitor->appendLine(line);
}

void TForm1::showDeviceState(Picture* picture) {
    for (Picture* state : {DeviceRun, DeviceStop, DeviceNic})
        state->setVisible(state == picture);
}

void TForm1::clearGroup(QButtonGroup* group) {
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

void TForm1::setRadio(QRadioButton* radio, bool checked) {
    if (checked || !radio->isChecked()) {
        radio->setChecked(checked);
        return;
    }
    QButtonGroup* group = radio->group();
    if (group) group->setExclusive(false);
    radio->setChecked(false);
    if (group) group->setExclusive(true);
}

bool TForm1::mayClose() {
    // Leaving in the middle of programming or an upload leaves the unit half-written: the user decides.
    if (dialogue.is(Dialogue::Phase::Programming) || dialogue.is(Dialogue::Phase::Uploading))
        return dialogs.confirm({QStringLiteral("Close ZUVovu"),
                                QStringLiteral("%1 is under way: closing now leaves the unit half-written, "
                                               "holding part of the new content and part of the old.")
                                    .arg(Dialogue::describe(dialogue.phase())),
                                {},
                                QStringLiteral("Leave")});
    if (!unsavedEdits->pending()) return true;
    switch (dialogs.askUnsaved(QStringLiteral("The window holds edits that were neither programmed into the "
                                              "unit nor saved to a file."))) {
    case UserDialogs::UnsavedChoice::Save:
        run([this] { SaveClick(); });
        // A save that was cancelled or failed keeps the window.
        return !unsavedEdits->pending();
    case UserDialogs::UnsavedChoice::Discard:
        return true;
    case UserDialogs::UnsavedChoice::Cancel:
        break;
    }
    return false;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!m_closing && !m_closingBySignal && !mayClose()) {
        event->ignore();
        return;
    }
    // Closing twice (a signal and the close button) writes the settings once.
    if (!m_closing) {
        m_closing = true;
        run([this] { FormClose(); });
    }
    event->accept();
}

void TForm1::buildFrame() {
    // The same picture the desktop entry shows.
    setWindowIcon(QIcon(QStringLiteral(":/resources/zuvovu.svg")));
    // The controls keep their size and places; a screen too small for them shows them in a scroll area.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = named(new QScrollArea(this), QStringLiteral("FormScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto* content = named(new QWidget, QStringLiteral("FormContent"));
    content->setFixedSize(613, 523);
    auto* root = new QVBoxLayout(content);
    root->setContentsMargins(4, 4, 4, 0);
    root->setSpacing(4);
    scroll->setWidget(content);
    setMaximumSize(content->size());

    PageControl1 = named(new QTabWidget(this), QStringLiteral("PageControl1"));
    PageControl1->setIconSize({40, 40});
    root->addWidget(PageControl1, 1);
    Buttons = page(PageControl1, QStringLiteral("Buttons"), QStringLiteral("Buttons"));
    PhoneBook = page(PageControl1, QStringLiteral("PhoneBook"), QStringLiteral("PhoneBook"));
    seting = page(PageControl1, QStringLiteral("seting"), QStringLiteral("seting"));
    TabSheet2 = page(PageControl1, QStringLiteral("TabSheet2"), QStringLiteral("monitor"));
    service = page(PageControl1, QStringLiteral("service"), QStringLiteral("service"));
    const char* icons[] = {"tab-buttons", "tab-phonebook", "tab-setting", "tab-monitor", "tab-service"};
    for (int i = 0; i < PageControl1->count(); ++i)
        PageControl1->setTabIcon(i, QIcon(picture(QString::fromLatin1(icons[i]), {40, 40})));

    // The device group, the PC group and the battery side by side under the pages.
    auto* groups = new QHBoxLayout;
    root->addLayout(groups);

    GroupBox4 = group(this, QStringLiteral("GroupBox4"), QStringLiteral("ORU"));
    auto* device = new QHBoxLayout(GroupBox4);
    device->setContentsMargins(6, 2, 6, 4);
    StatusLabel = label(GroupBox4, QStringLiteral("StatusLabel"), QStringLiteral("Status"));
    device->addWidget(StatusLabel);
    DeviceRun = new Picture(QStringLiteral("DeviceRun"), GroupBox4);
    DeviceStop = new Picture(QStringLiteral("DeviceStop"), GroupBox4);
    DeviceNic = new Picture(QStringLiteral("DeviceNic"), GroupBox4);
    for (Picture* p : {DeviceRun, DeviceStop, DeviceNic})
        device->addWidget(p);
    // The LED blinks with every piece the unit sends. It sits in a place of its own that the layout holds
    // whether it is lit or not: the buttons do not jump, and a blink lays nothing out again.
    auto* ledPlace = new LedPlace(GroupBox4);
    RXDled = named(new Led(ledPlace), QStringLiteral("RXDled"));
    ledPlace->setFixedSize(RXDled->size());
    RXDled->setEnabled(false);
    RXDled->hide();
    device->addWidget(ledPlace);
    device->addStretch();
    RunORU = button(GroupBox4, QStringLiteral("RunORU"), QStringLiteral("Run"));
    StopORU = button(GroupBox4, QStringLiteral("StopORU"), QStringLiteral("Stop"));
    SaveORU = button(GroupBox4, QStringLiteral("SaveORU"), QStringLiteral("Save"));
    LoadORU = button(GroupBox4, QStringLiteral("LoadORU"), QStringLiteral("Load"));
    for (QPushButton* b : {RunORU, StopORU, SaveORU, LoadORU})
        device->addWidget(b);
    groups->addWidget(GroupBox4, 1);

    Battery = group(this, QStringLiteral("Battery"), QStringLiteral("Battery"));
    auto* battery = new QHBoxLayout(Battery);
    battery->setContentsMargins(6, 2, 6, 4);
    BVoltage = named(new QProgressBar(Battery), QStringLiteral("BVoltage"));
    BVoltage->setOrientation(Qt::Vertical);
    BVoltage->setTextVisible(false);
    BVoltage->setRange(0, 420);
    BVoltage->setFixedSize(12, 34);
    Voltage = label(Battery, QStringLiteral("Voltage"), QStringLiteral("Voltage"));
    Voltage->setMinimumWidth(Voltage->fontMetrics().horizontalAdvance(QStringLiteral("42000 mV")));
    battery->addWidget(BVoltage);
    battery->addWidget(Voltage);
    groups->addWidget(Battery);

    GroupBox5 = group(this, QStringLiteral("GroupBox5"), QStringLiteral("PC"));
    auto* pc = new QHBoxLayout(GroupBox5);
    pc->setContentsMargins(6, 2, 6, 4);
    Load = button(GroupBox5, QStringLiteral("Load"), QStringLiteral("Load"));
    Save = button(GroupBox5, QStringLiteral("Save"), QStringLiteral("Save"));
    pc->addWidget(Load);
    pc->addWidget(Save);
    groups->addWidget(GroupBox5);
    RestoreBackup = button(GroupBox4, QStringLiteral("RestoreBackup"), QStringLiteral("Restore backup…"));
    RestoreBackup->setToolTip(QStringLiteral("Program the unit with one of its backups, kept before each "
                                             "programming"));

    // The result of the last operation stays here until the next one starts.
    auto* results = new QHBoxLayout;
    root->addLayout(results);
    LastResult = label(this, QStringLiteral("LastResult"), QString());
    LastResult->setFrameShape(QFrame::StyledPanel);
    LastResult->setFrameShadow(QFrame::Sunken);
    LastResult->setMinimumWidth(0);
    LastResult->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    results->addWidget(LastResult, 1);
    results->addWidget(RestoreBackup);

    // Bottom strip: signal button and gauge, the shared progress bar.
    auto* strip = new QHBoxLayout;
    root->addLayout(strip);
    signal = button(this, QStringLiteral("signal"), QStringLiteral("signal"));
    signal->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    strip->addWidget(signal);
    Bevel1 = named(new QFrame(this), QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::StyledPanel);
    Bevel1->setToolTip(QStringLiteral("Signal is good, when color is green or blue."));
    auto* bevel = new QHBoxLayout(Bevel1);
    bevel->setContentsMargins(2, 2, 2, 2);
    Smeter = named(new Gauge(Bevel1), QStringLiteral("Smeter"));
    Smeter->setMaximum(31);
    Smeter->setBackColor(QColor(128, 128, 128));
    Smeter->setFixedHeight(14);
    Smeter->setToolTip(QStringLiteral("Signal is good, when color is green or blue."));
    bevel->addWidget(Smeter);
    Bevel1->setFixedWidth(160);
    strip->addWidget(Bevel1);
    Prubeh = named(new QProgressBar(this), QStringLiteral("Prubeh"));
    Prubeh->setTextVisible(false);
    Prubeh->setFixedHeight(14);
    Prubeh->hide();
    strip->addWidget(Prubeh, 1);
    strip->addStretch(0);
    // The code page of every text, at the end of the strip that every page shows.
    CodePageLabel = label(this, QStringLiteral("CodePageLabel"), QStringLiteral("Code page"));
    CodePageChoice = named(new QComboBox(this), QStringLiteral("CodePageChoice"));
    for (const CodePage* page : CodePage::Known)
        CodePageChoice->addItem(
            QStringLiteral("%1 (%2)").arg(QString::fromLatin1(page->name()), page->languages()));
    CodePageChoice->setToolTip(
        QStringLiteral("The code page of the texts in the unit and in files: names, SMS "
                       "texts, captions. A new choice takes effect at the next start."));
    CodePageLabel->setBuddy(CodePageChoice);
    strip->addWidget(CodePageLabel);
    strip->addWidget(CodePageChoice);

    StatusBar1 = new StatusPanels({{QStringLiteral(" Operator:"), 122},
                                   {QStringLiteral(" board voltage:"), 132},
                                   {QStringLiteral(" SIM:"), 52},
                                   {QStringLiteral("  Ver: ") + ProgramOptions::Version, 52},
                                   {QStringLiteral(" ORU Ver:"), 92},
                                   {QStringLiteral(" not connected"), 70}},
                                  this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    root->addWidget(StatusBar1);
    buildPortControl();

    Cekani = named(new QTimer(this), QStringLiteral("Cekani"));
    Cekani->setInterval(1000);
    Cekani->start();
    LedTimer = named(new QTimer(this), QStringLiteral("LedTimer"));
    LedTimer->setInterval(2000);
}
