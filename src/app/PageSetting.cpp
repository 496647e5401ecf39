#include "app/FormBuild.h"
#include "app/TForm1.h"
#include "widgets/VolumeSlider.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace build;

namespace {

QSlider* volume(QWidget* parent, const QString& name) {
    auto* slider = named(new VolumeSlider(parent), name);
    slider->setRange(1, 7);
    slider->setValue(7);
    slider->setTickPosition(QSlider::TicksBothSides);
    slider->setTickInterval(1);
    slider->setPageStep(1);
    return slider;
}

QButtonGroup* exclusive(QObject* owner, std::initializer_list<QRadioButton*> radios) {
    auto* group = new QButtonGroup(owner);
    for (QRadioButton* radio : radios)
        group->addButton(radio);
    return group;
}

} // namespace

void TForm1::buildSettingPage() {
    auto* layout = new QVBoxLayout(seting);
    layout->setContentsMargins(2, 2, 2, 2);
    PageControl2 = named(new QTabWidget(seting), QStringLiteral("PageControl2"));
    layout->addWidget(PageControl2);
    Calls = page(PageControl2, QStringLiteral("Calls"), QStringLiteral("Calls"));
    Relays = page(PageControl2, QStringLiteral("Relays"), QStringLiteral("Relays"));
    SMSs = page(PageControl2, QStringLiteral("SMSs"), QStringLiteral("SMSs"));
    Admin = page(PageControl2, QStringLiteral("Admin"), QStringLiteral("Admin"));
    buildCallsPage();
    buildRelaysPage();

    // SMSs: alarm texts, flags and the port mode.
    auto* sms = new QGridLayout(SMSs);
    Label22 = label(SMSs, QStringLiteral("Label22"), QStringLiteral("SMS ALARM ON"));
    Label23 = label(SMSs, QStringLiteral("Label23"), QStringLiteral("SMS ALARM OFF"));
    ALARMON = edit(SMSs, QStringLiteral("ALARMON"));
    ALARMOFF = edit(SMSs, QStringLiteral("ALARMOFF"));
    SendSMS = check(SMSs, QStringLiteral("SendSMS"), QStringLiteral("SMSs with opening numbers "));
    ClockGSM = check(SMSs, QStringLiteral("ClockGSM"), QStringLiteral("Clock from GSM"));
    Port = group(SMSs, QStringLiteral("Port"), QStringLiteral("Port"));
    auto* port = new QVBoxLayout(Port);
    PortDis = radio(Port, QStringLiteral("PortDis"), QStringLiteral("disable"));
    PortEtons = radio(Port, QStringLiteral("PortEtons"), QStringLiteral("enable tons"));
    PortESMS = radio(Port, QStringLiteral("PortESMS"), QStringLiteral("enable SMSs"));
    for (QRadioButton* r : {PortDis, PortEtons, PortESMS})
        port->addWidget(r);
    PortGroup = exclusive(Port, {PortDis, PortEtons, PortESMS});
    sms->addWidget(Label22, 0, 0);
    sms->addWidget(ALARMON, 0, 1);
    sms->addWidget(Label23, 1, 0);
    sms->addWidget(ALARMOFF, 1, 1);
    sms->addWidget(SendSMS, 2, 0, 1, 2);
    sms->addWidget(ClockGSM, 3, 0, 1, 2);
    sms->addWidget(Port, 4, 0, 1, 2, Qt::AlignLeft);
    sms->setRowStretch(5, 1);

    // Admin: the seven administrator numbers.
    auto* admin = new QGridLayout(Admin);
    admin->setVerticalSpacing(2);
    for (int i = 0; i < 7; ++i) {
        const QString entry = QStringLiteral("ADMIN%1").arg(i + 1);
        admin->addWidget(label(Admin, QStringLiteral("Label") + entry, entry), i, 0);
        ADMIN[i] = edit(Admin, entry);
        admin->addWidget(ADMIN[i], i, 1);
    }
    Label35 = label(Admin, QStringLiteral("Label35"),
                    QStringLiteral("Phone number for SMSs with opening numbers "));
    admin->addWidget(Label35, 7, 0, 1, 2);
    admin->setColumnStretch(2, 1);
    admin->setRowStretch(8, 1);
}

void TForm1::buildCallsPage() {
    auto* calls = new QHBoxLayout(Calls);
    GroupBox1 = group(Calls, QStringLiteral("GroupBox1"), QStringLiteral("Volume Spk"));
    VolSpk = volume(GroupBox1, QStringLiteral("VolSpk"));
    (new QVBoxLayout(GroupBox1))->addWidget(VolSpk, 0, Qt::AlignHCenter);
    GroupBox2 = group(Calls, QStringLiteral("GroupBox2"), QStringLiteral("Volume Mic"));
    VolMic = volume(GroupBox2, QStringLiteral("VolMic"));
    (new QVBoxLayout(GroupBox2))->addWidget(VolMic, 0, Qt::AlignHCenter);
    calls->addWidget(GroupBox1);
    calls->addWidget(GroupBox2);

    auto* right = new QVBoxLayout;
    GroupBox3 = group(Calls, QStringLiteral("GroupBox3"), QStringLiteral("Incomming Call hang up"));
    auto* hangUp = new QVBoxLayout(GroupBox3);
    NoCall = radio(GroupBox3, QStringLiteral("NoCall"), QStringLiteral("No - ringing switch"));
    SIMCall = radio(GroupBox3, QStringLiteral("SIMCall"), QStringLiteral("only from SIM"));
    AllCall = radio(GroupBox3, QStringLiteral("AllCall"), QStringLiteral("all"));
    for (QRadioButton* r : {NoCall, SIMCall, AllCall})
        hangUp->addWidget(r);
    CallGroup = exclusive(GroupBox3, {NoCall, SIMCall, AllCall});
    right->addWidget(GroupBox3);

    InfoTones = group(Calls, QStringLiteral("InfoTones"), QStringLiteral("Info Tones"));
    auto* tones = new QVBoxLayout(InfoTones);
    TonBeep = check(InfoTones, QStringLiteral("TonBeep"), QStringLiteral("Beeps"));
    TonRing = check(InfoTones, QStringLiteral("TonRing"), QStringLiteral("Ring Tones"));
    TonVoice = check(InfoTones, QStringLiteral("TonVoice"), QStringLiteral("Voice Messages"));
    for (QCheckBox* c : {TonBeep, TonRing, TonVoice})
        tones->addWidget(c);
    right->addWidget(InfoTones);

    WaitingCall = group(Calls, QStringLiteral("WaitingCall"), QStringLiteral("WaitingCall"));
    auto* wait = new QHBoxLayout(WaitingCall);
    waiting = named(new QComboBox(WaitingCall), QStringLiteral("waiting"));
    waiting->addItems({"20", "10", "20", "30", "40", "50", "60", "70", "80", "90"});
    waiting->setCurrentIndex(2);
    wait->addWidget(waiting);
    wait->addWidget(label(WaitingCall, QStringLiteral("LabelSec"), QStringLiteral("sec.")));
    wait->addStretch();
    right->addWidget(WaitingCall);
    right->addStretch();
    calls->addLayout(right, 1);
}

void TForm1::buildRelaysPage() {
    auto* relays = new QHBoxLayout(Relays);
    struct RelayControls {
        QGroupBox*& box;
        QLabel*& codeLabel;
        QLabel*& timeLabel;
        QRadioButton*& sms;
        QRadioButton*& sw;
        QRadioButton*& cam;
        QRadioButton*& light;
        QRadioButton*& but;
        QButtonGroup*& group;
        QCheckBox*& ring;
        QCheckBox*& ringAll;
        QLineEdit*& code;
        QLineEdit*& time;
    };
    const RelayControls relayControls[] = {{Relay1, Label31, Label33, RelSMS1, RelSW1, RelCam1, RelLi1,
                                            RelBut1, Relay1Group, RelRing1, RelRingAll1, RelCode1, RelTime1},
                                           {Relay2, Label32, Label34, RelSMS2, RelSW2, RelCam2, RelLi2,
                                            RelBut2, Relay2Group, RelRing2, RelRingAll2, RelCode2, RelTime2}};
    const char* codeLabels[] = {"Label31", "Label32"};
    const char* timeLabels[] = {"Label33", "Label34"};
    const char* ringCaptions[] = {"switch SIM ringing", "switch from ringing"};
    for (int r = 0; r < 2; ++r) {
        const RelayControls& c = relayControls[r];
        const QString n = QString::number(r + 1);
        c.box = group(Relays, QStringLiteral("Relay") + n, QStringLiteral("Relay ") + n);
        auto* grid = new QGridLayout(c.box);
        grid->setVerticalSpacing(2);
        c.sms = radio(c.box, QStringLiteral("RelSMS") + n, QStringLiteral("SMS switch"));
        c.sw = radio(c.box, QStringLiteral("RelSW") + n, QStringLiteral("switch"));
        c.cam = radio(c.box, QStringLiteral("RelCam") + n, QStringLiteral("camera"));
        c.light = radio(c.box, QStringLiteral("RelLi") + n, QStringLiteral("light"));
        c.but = radio(c.box, QStringLiteral("RelBut") + n, QStringLiteral("button"));
        c.group = exclusive(c.box, {c.sms, c.sw, c.cam, c.light, c.but});
        c.ring = check(c.box, QStringLiteral("RelRing") + n, QString::fromLatin1(ringCaptions[r]));
        c.ringAll = check(c.box, QStringLiteral("RelRingAll") + n, QStringLiteral("switch all ringing"));
        c.codeLabel = label(c.box, QString::fromLatin1(codeLabels[r]), QStringLiteral("switching code"));
        c.timeLabel = label(c.box, QString::fromLatin1(timeLabels[r]), QStringLiteral("switching time"));
        c.code =
            edit(c.box, QStringLiteral("RelCode") + n, n == "1" ? QStringLiteral("5") : QStringLiteral("6"));
        c.time = edit(c.box, QStringLiteral("RelTime") + n, QStringLiteral("03"));
        c.code->setFixedWidth(40);
        c.time->setFixedWidth(40);
        int row = 0;
        for (QRadioButton* radioButton : {c.sms, c.sw, c.cam, c.light, c.but})
            grid->addWidget(radioButton, row++, 0, 1, 2);
        grid->addWidget(c.ring, row++, 0, 1, 2);
        grid->addWidget(c.ringAll, row++, 0, 1, 2);
        grid->addWidget(c.codeLabel, row, 0);
        grid->addWidget(c.code, row++, 1);
        grid->addWidget(c.timeLabel, row, 0);
        grid->addWidget(c.time, row++, 1);
        grid->setRowStretch(row, 1);
        relays->addWidget(c.box);
    }
}
