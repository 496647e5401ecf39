#pragma once

#include "app/SharedState.h"
#include "config/Configuration.h"
#include "config/ProgrammingPlan.h"
#include "engine/Dialogue.h"
#include "engine/Unit.h"
#include "engine/UnitView.h"
#include "widgets/MonitorView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class SerialPort;
class Pacer;
class UserDialogs;
class EntryTree;
class Gauge;
class Led;
class Picture;
class PhoneBookList;
class ReadBackRecord;
class UnsavedEdits;
class StatusPanels;

// The one window. Its controls are the configuration model: every setting of the unit lives in a
// control, and the handlers read and write the controls by name. Controls are public so that the
// helper operations of every subsystem (plain functions over the window) and the tests reach them.
class TForm1 : public QWidget, public UnitView {
    Q_OBJECT
public:
    // exeName: the executable's file name as started (argv[0] without its folder); it picks the edition.
    TForm1(SerialPort& port, Pacer& pacer, UserDialogs& dialogs, const QString& exeName,
           const QString& settingsPath, QWidget* parent = nullptr);
    ~TForm1() override;

    SharedState state;
    SerialPort& ApdComPort1;
    Pacer& pacer;
    UserDialogs& dialogs;
    const QString exeName;
    const QString settingsPath;
    // The engine for the unit; the window shows it.
    Unit engine;
    // The engine's line: everything for the unit goes out through it, in order and paced, and its lines
    // come back through it.
    UnitLine& unit;
    // What the program is doing with the unit, and the flags the receiver's rules share.
    Dialogue& dialogue;
    // Each parameter string (PARORU, PARRL1, PARRL2, PARKEY) as it last came from the unit or a file, and
    // what the controls encoded right after showing it: while they encode the same, it stands as it came.
    struct ShownParameter {
        std::optional<QByteArray> bytes;
        QByteArray shownAs;
    };
    std::array<ShownParameter, 4> shownParameters;
    // Whether the next programming writes every location, as the full sequence does, whatever the unit
    // is known to hold: the choice in the question before programming, and --full in batch runs.
    bool writeEveryLocation = false;
    // The backup kept of the unit before the programming under way.
    QString programmingBackup;
    // What the window held when programming was asked for before the unit had been read: shown again and
    // programmed once the read completes.
    Configuration awaitingRead;
    // What the unit was last read back to hold.
    ReadBackRecord* const readBack;
    // Whether closing would lose edits.
    UnsavedEdits* unsavedEdits = nullptr;

    // Runs a handler inside the guard: a failure is reported and the program runs on.
    template <typename Handler> void run(Handler&& handler);
    // Appends one line to the monitor log.
    void log(const QByteArray& line);
    // The monitor log as it is saved: every line followed by CR LF.
    QByteArray monitorText() const;

    // Start-up and shut-down.
    void FormCreate();
    void FormClose();
    // SIGTERM or SIGINT: any open dialog closes as cancelled and the window closes as its close button
    // does, so the settings are written and nothing more is sent.
    void closeBySignal();

    // Response receiver and shared window operations.
    void ApdComPort1TriggerAvail(quint16 count);
    void LedTimerTimer();
    void ShowRunState();
    void ShowStopState();
    void EndWait();
    void ResetEntryView();
    // What the engine leaves to the window: every line is logged, the unit's own lines and the "OK"s
    // the engine does not take drive the window's rules.
    void said(const QByteArray& line) override;
    void handled(const QByteArray& line) override;
    void unitSaid(const QByteArray& line) override;
    void confirmed(const QByteArray& command) override;
    void stopped() override;
    void moduleNamed() override;
    void prompted() override;
    // The phases of the dialogue with the unit (comm/Phases.cpp).
    // What the engine shows: every read-back starts from empty trees and an empty grid.
    void showOperator(const QByteArray& name) override;
    void showSimSize(int capacity) override;
    void readStarting() override;
    void showListed(const PhonebookEntry& entry) override;
    void readBackDone() override;
    [[noreturn]] void endEarly(Dialogue::Outcome outcome, const QString& cause) override;
    void note(const QByteArray& text) override;
    void readingAgain() override;
    // What the user asked for while the unit was busy, now that it is free.
    void runDeferred();
    // A phase ended early by the unit's silence, its error answer or a lost port: the window is freed and
    // the report says where the phase stopped and what the unit now holds.
    void portLost(const QString& reason);
    [[noreturn]] void stopPhase(Dialogue::Outcome outcome, const QString& cause);
    // Shows the phase and its outcome in the status bar and on the progress bar.
    void showPhase();
    void showOutcome(Dialogue::Phase phase, Dialogue::Outcome outcome, const QString& detail);
    // The read-back after a programming found these locations other than written.
    void showVerification(const QList<LocationChange>& differences);
    // Shows one of DeviceRun, DeviceStop, DeviceNic and hides the other two.
    void showDeviceState(Picture* picture);
    // The status bar's panel that names the open port.
    static constexpr int PortPanel = 5;
    // Names the open port; with none open, shows the unit as not connected, forgets its last values and
    // disables the device group's buttons.
    void showConnection(bool open);

    // The port control: connecting greets the unit as start-up does; another port is chosen from the
    // system's adapters, the simulated unit or a typed path.
    void PortConnectClick();
    void PortDisconnectClick();
    void PortChooseClick(const QString& choice);
    void PortOtherClick();
    void PortRefreshClick();
    // Lists the port choices in the port menu, the one in use ticked.
    void listPorts();
    // The start-up exchange: echo off, then the manufacturer query, whose answer enables the unit's buttons.
    void greetUnit();
    // A lost device is there again: it is opened and greeted.
    void portBack();
    // The result of the last operation, shown until the next one starts.
    void showResult(const QString& text);
    // The window's title: the edition, the configuration file loaded or saved last, a mark while the
    // window holds edits that are neither programmed nor saved.
    void refreshTitle();
    // What a single write did, said with the result of the read-back that follows it.
    QString resultNote;
    // The configuration file loaded or saved last; empty while none.
    QString shownFile;
    // Loads a backup of the unit chosen in the backup folder and asks to program it.
    void RestoreBackupClick();

    // The code page stored for the next start ([Form] CodePage).
    void CodePageChoiceChange();

    // Device state and status.
    void RunORUClick();
    void StopORUClick();
    void LoadORUClick();
    void CekaniTimer();
    void signalClick();
    void IMEIClick();
    void InicializaceClick();

    // Settings model: parameter strings, interlocks, filtered edits.
    void ParamsToControls();
    void ControlsToParams();
    // The four strings as the settings controls encode them now.
    std::array<QByteArray, 4> encodedParameters();
    // Puts a parameter string from the unit or a file in its place (by its entry number, 24 … 27), to be
    // decoded by the next ParamsToControls.
    void takeParameter(int entry, const QByteArray& bytes);
    void RelRing1Click();
    void RelRingAll1Click();
    void RelRing2Click();
    void RelRingAll2Click();
    void SIMCallClick();
    void AllCallClick();
    void RelSMS1Click();
    void RelCam1Click();
    void RelLi1Click();
    void RelBut1Click();
    void RelSMS2Click();
    void RelCam2Click();
    void RelLi2Click();
    void RelBut2Click();
    void RelCode1Change();
    void RelCode2Change();
    void RelTime1Change();
    void RelTime2Change();
    // ADMIN1Change … ADMIN7Change and the button-number edits, by their number 1 … 7.
    void ADMINChange(int n);
    void ABUTTONChange(int n);
    void AABUTTONChange(int n);
    void BBUTTONChange(int n);

    // Programming and read-back of the SIM phonebook.
    void SaveORUClick();
    void DisableControls();
    void EnableControls();
    void programmingStepped(int step) override;
    void programmed() override;
    // Unlocks the window after programming stopped early; says which locations hold what.
    QString stopProgramming(Dialogue::Outcome outcome);

    // Module entries and trees.
    void PlaceModuleEntry(const QByteArray& index, const QByteArray& number, const QByteArray& name);
    void TreeButtonsClick();
    void TreeMemoClick();
    void TreeButtonsSelClick();
    void TreeMemoSelClick();
    void DelButtonClick();
    void DelButtonSelClick();
    void DelMemoClick();
    void DelMemoSelClick();
    void DelCodeClick();

    // Access codes: WriteCode0Click … WriteCode4Click and CodeM0Change … CodeM4Change by mode.
    void WriteCodeClick(int mode);
    void CodeMChange(int mode);
    void OnClickCode();
    void AddCodeClick();

    // Memories, module buttons and button detection.
    void MemoChange();
    void PosMemoChange();
    void MemoPNumberChange();
    void AddMemoClick();
    void WriteMemoClick();
    void ButtonChange();
    void PosButtonChange();
    void ButtonPNumberChange();
    void AddButtonClick();
    void WriteButtonClick();
    void DetButClick();

    // Configuration file, phone book and monitor log.
    void SaveClick();
    void LoadClick();
    // Loads a configuration file into the window; nothing changes unless the whole file can be taken.
    void loadFile(const QString& path);
    void LineInClick();
    void LineDelClick();
    void FindClick();
    void SaveMonitorClick();

    // Upgrade list and upload.
    void LoadListClick();
    void ClrListClick();
    void UpgradeClick();
    void UploadStep(int index);
    // A line that sends nothing ends the upload: as planned at a blank line or the list's end, early
    // otherwise.
    void endUpload(int index);
    // Sends the upload payload after the module's data prompt.
    void sendUploadPayload();
    // Sends the payload's next piece once the output buffer has room for it.
    void sendPayloadFrom(qsizetype sent);
    int ReadListedFile(int index);
    int ReadNamedFile(const QByteArray& name);

    // Radio groups that may have none checked (Qt refuses to uncheck the last auto-exclusive radio).
    static void clearGroup(QButtonGroup* group);
    static void setRadio(QRadioButton* radio, bool checked);

    // --- Controls -------------------------------------------------------------------------------
    // Bottom strip and status bar.
    Gauge* Smeter;
    QFrame* Bevel1;
    QPushButton* signal;
    QProgressBar* Prubeh;
    QLabel* CodePageLabel;
    QComboBox* CodePageChoice;
    StatusPanels* StatusBar1;

    // Device group.
    QGroupBox* GroupBox4;
    Picture* DeviceRun;
    Picture* DeviceStop;
    Picture* DeviceNic;
    QLabel* StatusLabel;
    Led* RXDled;
    QPushButton* RunORU;
    QPushButton* StopORU;
    QPushButton* SaveORU;
    QPushButton* LoadORU;
    QGroupBox* Battery;
    QLabel* Voltage;
    QProgressBar* BVoltage;

    // PC group.
    QGroupBox* GroupBox5;
    QPushButton* Load;
    QPushButton* Save;
    QPushButton* RestoreBackup;

    // The result of the last operation.
    QLabel* LastResult;
    // The port control beside the port's panel, and its menu.
    QToolButton* PortButton;
    QMenu* PortMenu;
    QAction* PortConnect;
    QAction* PortDisconnect;
    QAction* PortOther;
    QAction* PortRefresh;
    QList<QAction*> PortChoices;

    // Main pages.
    QTabWidget* PageControl1;
    QWidget* Buttons;
    QWidget* PhoneBook;
    QWidget* seting;
    QWidget* TabSheet2;
    QWidget* service;

    // Page Buttons.
    QTabWidget* ORUtyp;
    QWidget* ORUtyp1;
    QWidget* ORUtyp2;
    QWidget* ModuleButtons;
    QWidget* ModuleKeyboard;
    Picture* Image6;
    Picture* ORU1;
    Picture* ORUF1;
    Picture* ORUL1;
    Picture* PictureT1;
    Picture* PictureK1;
    Picture* Sipka1;
    Picture* Sipkaf1;
    Picture* SipkaGA1;
    QFrame* Panel3;
    std::array<QLineEdit*, 7> AABUTTON;
    Picture* Image7;
    Picture* ORU2;
    Picture* Image3;
    Picture* ORUF2;
    Picture* ORUL2;
    Picture* PictureT2;
    Picture* PictureK2;
    Picture* SipkaGA2;
    Picture* SipkaGB2;
    Picture* Image5;
    QFrame* Panel1;
    QFrame* Panel2;
    std::array<QLineEdit*, 7> ABUTTON;
    std::array<QLineEdit*, 7> BBUTTON;

    // Page ModuleButtons.
    EntryTree* TreeButtons;
    QPushButton* DelButton;
    QCheckBox* DetBut;
    QFrame* Panel5;
    QLabel* Label61;
    QLabel* Label62;
    QLabel* LabelButton;
    QLabel* Label64;
    EntryTree* TreeButtonsSel;
    QComboBox* PosButton;
    QLineEdit* Button;
    QLineEdit* ButtonPNumber;
    QPushButton* AddButton;
    QPushButton* WriteButton;
    QPushButton* DelButtonSel;

    // Page ModuleKeyboard.
    QTabWidget* PageControl3;
    QWidget* KeyBoardMemo;
    QWidget* KeyBoardCode;
    QGroupBox* KeyBoardParams;
    QLabel* Label63;
    QComboBox* WaitBUF;
    QCheckBox* DirectCall;
    EntryTree* TreeMemo;
    QPushButton* DelMemo;
    QFrame* Panel4;
    QLabel* Label60;
    QLabel* Label56;
    QLabel* LabelMemo;
    QLabel* Label58;
    EntryTree* TreeMemoSel;
    QComboBox* PosMemo;
    QLineEdit* Memo;
    QLineEdit* MemoPNumber;
    QPushButton* AddMemo;
    QPushButton* WriteMemo;
    QPushButton* DelMemoSel;
    EntryTree* TreeCode;
    QPushButton* DelCode;
    QPushButton* AddCode;
    QTabWidget* ModeCode;

    // Code-mode pages M0 … M4, indexed by mode.
    std::array<QWidget*, 5> M;
    std::array<QLabel*, 5> ModeLabel; // Label37 … Label41
    std::array<QLabel*, 5> CodeLabel; // Label44, Label42, Label45, Label47, Label49
    std::array<QLabel*, 5> LabelCodeM;
    std::array<QRadioButton*, 5> MRel1;
    std::array<QRadioButton*, 5> MRel2;
    std::array<QButtonGroup*, 5> MRelGroup;
    std::array<QLineEdit*, 5> CodeM;
    std::array<QPushButton*, 5> WriteCode;
    QLabel* week;
    QCheckBox* Po;
    QCheckBox* Ut;
    QCheckBox* St;
    QCheckBox* Ct;
    QCheckBox* Pa;
    QCheckBox* So;
    QCheckBox* Ne;
    QLabel* Label43;
    QComboBox* M1Acces;
    QCheckBox* M1SMS;
    QGroupBox* GroupBox8;
    QGroupBox* GroupBox9;
    QLabel* Label46;
    QLabel* Label48;
    QLabel* Label50;
    QLabel* Label51;
    QComboBox* FromM2;
    QComboBox* FromD2;
    QComboBox* ToM2;
    QComboBox* ToD2;
    QCheckBox* M2SMS;
    QGroupBox* GroupBox10;
    QLabel* Label52;
    QLabel* Label53;
    QComboBox* FromM3;
    QComboBox* FromD3;
    QLabel* Label54;
    QComboBox* M3Acces;
    QCheckBox* M3SMS;
    QGroupBox* GroupBox11;
    QGroupBox* GroupBox12;
    QLabel* Label55;
    QLabel* Label57;
    QComboBox* FromHours;
    QComboBox* ToHours;
    QLabel* Label59;
    QComboBox* M4Acces;
    QCheckBox* M4SMS;

    // Page PhoneBook.
    PhoneBookList* PhoneBook1;
    QPushButton* LineIn;
    QPushButton* LineDel;
    QGroupBox* GroupBox6;
    QLineEdit* FindN;
    QPushButton* Find;

    // Page seting.
    QTabWidget* PageControl2;
    QWidget* Calls;
    QWidget* Relays;
    QWidget* SMSs;
    QWidget* Admin;
    QGroupBox* GroupBox1;
    QSlider* VolSpk;
    QGroupBox* GroupBox2;
    QSlider* VolMic;
    QGroupBox* GroupBox3;
    QRadioButton* NoCall;
    QRadioButton* SIMCall;
    QRadioButton* AllCall;
    QButtonGroup* CallGroup;
    QGroupBox* InfoTones;
    QCheckBox* TonBeep;
    QCheckBox* TonRing;
    QCheckBox* TonVoice;
    QGroupBox* WaitingCall;
    QComboBox* waiting;
    QGroupBox* Relay1;
    QGroupBox* Relay2;
    QLabel* Label31;
    QLabel* Label32;
    QLabel* Label33;
    QLabel* Label34;
    QRadioButton* RelSMS1;
    QRadioButton* RelSW1;
    QRadioButton* RelCam1;
    QRadioButton* RelLi1;
    QRadioButton* RelBut1;
    QButtonGroup* Relay1Group;
    QRadioButton* RelSMS2;
    QRadioButton* RelSW2;
    QRadioButton* RelCam2;
    QRadioButton* RelLi2;
    QRadioButton* RelBut2;
    QButtonGroup* Relay2Group;
    QCheckBox* RelRing1;
    QCheckBox* RelRing2;
    QCheckBox* RelRingAll1;
    QCheckBox* RelRingAll2;
    QLineEdit* RelCode1;
    QLineEdit* RelCode2;
    QLineEdit* RelTime1;
    QLineEdit* RelTime2;
    QLabel* Label22;
    QLabel* Label23;
    QLineEdit* ALARMON;
    QLineEdit* ALARMOFF;
    QCheckBox* SendSMS;
    QCheckBox* ClockGSM;
    QGroupBox* Port;
    QRadioButton* PortDis;
    QRadioButton* PortEtons;
    QRadioButton* PortESMS;
    QButtonGroup* PortGroup;
    std::array<QLineEdit*, 7> ADMIN;
    QLabel* Label35;

    // Page monitor.
    MonitorView* Monitor;
    QPushButton* SaveMonitor;
    QPushButton* Inicializace;
    QPushButton* IMEI;

    // Page service.
    QPushButton* LoadList;
    QPlainTextEdit* List;
    QPushButton* ClrList;
    QPushButton* Upgrade;

    // Non-visual components.
    QTimer* Cekani;
    QTimer* LedTimer;

signals:
    // A received line has been logged and dispatched, also when its handling failed.
    void lineHandled(const QByteArray& line);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void decodeParameters();
    void buildFrame();
    void buildButtonsPage();
    void buildModuleButtonsPage();
    void buildModuleKeyboardPage();
    void buildCodePages();
    void buildPhoneBookPage();
    void buildSettingPage();
    void buildCallsPage();
    void buildRelaysPage();
    void buildMonitorPage();
    void buildServicePage();
    void bindHandlers();
    void bindFind();
    void bindSettingHandlers();
    void bindModuleHandlers();
    // Connects a Qt signal to a handler that runs inside the guard.
    template <typename Sender, typename Signal, typename Handler>
    void bind(Sender* sender, Signal signal, Handler handler);
    // A radio button's handler runs when it becomes checked, by the user or by the program.
    template <typename Handler> void bindChecked(QRadioButton* radio, Handler handler);

    bool m_closing = false;
    // A signal closes the window without asking.
    bool m_closingBySignal = false;
    // Asks before closing over a unit half-written or edits that would be lost; false keeps the window.
    bool mayClose();
    // A phase's steps are shown a few times a second, not one by one: what was shown last, and the timer
    // that shows the steps since.
    Dialogue::Phase m_shownPhase = Dialogue::Phase::Idle;
    int m_shownTotal = 0;
    QTimer m_phaseShowing;
    void phaseProgressed();
    // The title's unsaved-edits mark is checked shortly after the user has done something in the window.
    QTimer m_titleCheck;
    // Asks a unit that has not reported stopping whether it was stopped already.
    QTimer m_stopProbe;
    // The line's loss has been reported (by the phase it ended), until it opens again.
    bool m_lossReported = false;
    QString m_baseTitle;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void buildPortControl();
};

#include "core/HandlerGuard.h"

template <typename Handler> void TForm1::run(Handler&& handler) {
    guarded(dialogs, std::forward<Handler>(handler));
}

template <typename Sender, typename Signal, typename Handler>
void TForm1::bind(Sender* sender, Signal signal, Handler handler) {
    connect(sender, signal, this,
            [this, handler](auto&&...) { run([this, &handler] { std::invoke(handler, this); }); });
}

template <typename Handler> void TForm1::bindChecked(QRadioButton* radio, Handler handler) {
    connect(radio, &QRadioButton::toggled, this, [this, handler](bool checked) {
        if (checked) run([this, &handler] { std::invoke(handler, this); });
    });
}
