#include "app/ButtonKeys.h"
#include "app/ConfirmProgramming.h"
#include "app/TForm1.h"
#include "config/PastedNumber.h"
#include "core/Bytes.h"
#include "files/PhoneBookList.h"
#include "modules/EntryTree.h"
#include "widgets/StatusPanels.h"

#include <QTreeWidget>

// Which handler each control runs. Every handler runs inside the guard.
void TForm1::bindHandlers() {
    using F = TForm1;
    const std::pair<QPushButton*, void (TForm1::*)()> clicks[] = {{RunORU, &F::RunORUClick},
                                                                  {StopORU, &F::StopORUClick},
                                                                  {LoadORU, &F::LoadORUClick},
                                                                  {Load, &F::LoadClick},
                                                                  {Save, &F::SaveClick},
                                                                  {signal, &F::signalClick},
                                                                  {IMEI, &F::IMEIClick},
                                                                  {Inicializace, &F::InicializaceClick},
                                                                  {SaveMonitor, &F::SaveMonitorClick},
                                                                  {LoadList, &F::LoadListClick},
                                                                  {ClrList, &F::ClrListClick},
                                                                  {Upgrade, &F::UpgradeClick},
                                                                  {LineIn, &F::LineInClick},
                                                                  {LineDel, &F::LineDelClick},
                                                                  {RestoreBackup, &F::RestoreBackupClick}};
    for (const auto& [control, handler] : clicks)
        bind(control, &QPushButton::clicked, handler);
    bindFind();
    // The file's keys are the usual ones; the unit's are function keys, so that programming the unit
    // is never a slip from saving the file.
    giveKey(Save, QKeySequence::Save);
    giveKey(Load, QKeySequence::Open);
    giveKey(StopORU, Qt::Key_F5);
    giveKey(RunORU, Qt::Key_F6);
    giveKey(SaveORU, Qt::Key_F9);
    // Programming is confirmed first, with what it would change, and the unit's configuration is kept.
    bind(SaveORU, &QPushButton::clicked, [](F* form) { confirmAndProgram(*form); });
    bind(CodePageChoice, &QComboBox::activated, &F::CodePageChoiceChange);
    bind(Cekani, &QTimer::timeout, &F::CekaniTimer);
    bind(LedTimer, &QTimer::timeout, &F::LedTimerTimer);
    bindSettingHandlers();
    bindModuleHandlers();
}

// Enter in the search field finds as the button does, and a name that is not there is said on the
// status bar, since the list alone shows no change.
void TForm1::bindFind() {
    connect(FindN, &QLineEdit::returnPressed, Find, &QPushButton::click);
    bind(Find, &QPushButton::clicked, [](TForm1* form) {
        form->FindClick();
        const QString name = form->FindN->text();
        if (form->PhoneBook1->findName(toBytes(name)) < 0)
            form->StatusBar1->showMessage(QStringLiteral("No name \"%1\" in the phone book.").arg(name),
                                          8000);
    });
}

void TForm1::bindSettingHandlers() {
    using F = TForm1;
    const std::pair<QCheckBox*, void (TForm1::*)()> checks[] = {{RelRing1, &F::RelRing1Click},
                                                                {RelRingAll1, &F::RelRingAll1Click},
                                                                {RelRing2, &F::RelRing2Click},
                                                                {RelRingAll2, &F::RelRingAll2Click}};
    for (const auto& [control, handler] : checks)
        bind(control, &QCheckBox::toggled, handler);
    const std::pair<QRadioButton*, void (TForm1::*)()> radios[] = {
        {SIMCall, &F::SIMCallClick}, {AllCall, &F::AllCallClick}, {RelSMS1, &F::RelSMS1Click},
        {RelCam1, &F::RelCam1Click}, {RelLi1, &F::RelLi1Click},   {RelBut1, &F::RelBut1Click},
        {RelSMS2, &F::RelSMS2Click}, {RelCam2, &F::RelCam2Click}, {RelLi2, &F::RelLi2Click},
        {RelBut2, &F::RelBut2Click}};
    for (const auto& [control, handler] : radios)
        bindChecked(control, handler);
    const std::pair<QLineEdit*, void (TForm1::*)()> edits[] = {{RelCode1, &F::RelCode1Change},
                                                               {RelCode2, &F::RelCode2Change},
                                                               {RelTime1, &F::RelTime1Change},
                                                               {RelTime2, &F::RelTime2Change}};
    for (const auto& [control, handler] : edits)
        bind(control, &QLineEdit::textChanged, handler);
    for (int i = 0; i < 7; ++i) {
        const int n = i + 1;
        bind(ADMIN[i], &QLineEdit::textChanged, [n](F* form) { form->ADMINChange(n); });
        bind(ABUTTON[i], &QLineEdit::textChanged, [n](F* form) { form->ABUTTONChange(n); });
        bind(AABUTTON[i], &QLineEdit::textChanged, [n](F* form) { form->AABUTTONChange(n); });
        bind(BBUTTON[i], &QLineEdit::textChanged, [n](F* form) { form->BBUTTONChange(n); });
        for (QLineEdit* number : {ADMIN[i], ABUTTON[i], AABUTTON[i], BBUTTON[i]})
            cleanPastedNumbers(number);
    }
}

void TForm1::bindModuleHandlers() {
    using F = TForm1;
    const std::pair<QPushButton*, void (TForm1::*)()> clicks[] = {
        {DelButton, &F::DelButtonClick},     {DelButtonSel, &F::DelButtonSelClick},
        {DelMemo, &F::DelMemoClick},         {DelMemoSel, &F::DelMemoSelClick},
        {DelCode, &F::DelCodeClick},         {AddButton, &F::AddButtonClick},
        {WriteButton, &F::WriteButtonClick}, {AddMemo, &F::AddMemoClick},
        {WriteMemo, &F::WriteMemoClick},     {AddCode, &F::AddCodeClick}};
    for (const auto& [control, handler] : clicks)
        bind(control, &QPushButton::clicked, handler);
    for (int mode = 0; mode < 5; ++mode) {
        bind(WriteCode[mode], &QPushButton::clicked, [mode](F* form) { form->WriteCodeClick(mode); });
        bind(CodeM[mode], &QLineEdit::textChanged, [mode](F* form) { form->CodeMChange(mode); });
    }
    // Detection acts on the user's click only: the read-back ticks the box without running it.
    bind(DetBut, &QCheckBox::clicked, &F::DetButClick);
    const std::pair<QLineEdit*, void (TForm1::*)()> edits[] = {{Memo, &F::MemoChange},
                                                               {MemoPNumber, &F::MemoPNumberChange},
                                                               {Button, &F::ButtonChange},
                                                               {ButtonPNumber, &F::ButtonPNumberChange}};
    for (const auto& [control, handler] : edits)
        bind(control, &QLineEdit::textChanged, handler);
    cleanPastedNumbers(MemoPNumber);
    cleanPastedNumbers(ButtonPNumber);
    // The position boxes act on the user's pick only.
    bind(PosMemo, &QComboBox::activated, &F::PosMemoChange);
    bind(PosButton, &QComboBox::activated, &F::PosButtonChange);
    const std::pair<EntryTree*, void (TForm1::*)()> trees[] = {{TreeButtons, &F::TreeButtonsClick},
                                                               {TreeMemo, &F::TreeMemoClick},
                                                               {TreeButtonsSel, &F::TreeButtonsSelClick},
                                                               {TreeMemoSel, &F::TreeMemoSelClick},
                                                               {TreeCode, &F::OnClickCode}};
    for (const auto& [control, handler] : trees)
        bind(control, &QTreeWidget::itemClicked, handler);
}
