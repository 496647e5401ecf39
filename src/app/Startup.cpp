#include "app/ButtonKeys.h"
#include "app/Captions.h"
#include "app/Edition.h"
#include "app/ScreenPlace.h"
#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/IniFile.h"
#include "core/Pacer.h"
#include "core/UserDialogs.h"
#include "files/UnsavedEdits.h"
#include "widgets/Picture.h"
#include "widgets/StatusPanels.h"

#include <QApplication>
#include <algorithm>

namespace {

// The code page the settings file names, or else that of the system's language.
void chooseCodePage(const QByteArray& name, UserDialogs& dialogs) {
    const CodePage* named = CodePage::named(name);
    if (!name.isEmpty() && !named)
        dialogs.reportError(
            QStringLiteral("The settings file names the code page \"%1\", which this program does not know; "
                           "it uses %2, the code page of the system's language")
                .arg(QString::fromLatin1(name), QString::fromLatin1(CodePage::ofSystem().name())));
    setCodePage(named ? *named : CodePage::ofSystem());
}

void showCodePage(QComboBox* choice, const CodePage& page) {
    choice->setCurrentIndex(
        int(std::find(CodePage::Known.begin(), CodePage::Known.end(), &page) - CodePage::Known.begin()));
}

} // namespace

void TForm1::FormCreate() {
    ORUtyp->setTabVisible(ORUtyp->indexOf(ModuleButtons), false);
    ORUtyp->setTabVisible(ORUtyp->indexOf(ModuleKeyboard), false);

    const Edition edition = editionFor(exeName);
    state.editionName = edition.editionName;
    if (!edition.title.isEmpty()) {
        setWindowTitle(edition.title);
        m_baseTitle = edition.title;
        QApplication::setApplicationDisplayName(edition.title);
    }
    for (const QString& name : edition.pictures)
        findChild<Picture*>(name)->show();
    if (edition.modules) {
        ORUtyp->setTabVisible(ORUtyp->indexOf(ModuleButtons), true);
        ORUtyp->setTabVisible(ORUtyp->indexOf(ModuleKeyboard), true);
        GroupBox4->setTitle(QStringLiteral("GSM-Tandora"));
        StatusBar1->setPanelText(4, QStringLiteral(" GSM-TD Ver:"));
    }
    if (edition.hidesImage5) Image5->hide();

    showDeviceState(DeviceRun);

    {
        IniFile ini(settingsPath);
        chooseCodePage(ini.readString("Form", "CodePage", {}), dialogs);
        showCodePage(CodePageChoice, codePage());
        const QPoint stored(ini.readInteger("Form", "Left", 200), ini.readInteger("Form", "Top", 200));
        // The frame is not known before the window shows: room is kept for a usual title bar and border.
        const QRect placed = fitOnScreens(QRect(stored, maximumSize()), screenAreas(), QMargins(4, 30, 4, 4));
        resize(placed.size());
        move(placed.topLeft());
        state.serialWaitMs = ini.readInteger("Form", "WaitSer", 1000);
        const bool serviceButtons = ini.readBool("Form", "Inicializace", false);
        Inicializace->setVisible(serviceButtons);
        IMEI->setVisible(serviceButtons);
        loadCaptions(*this, ini, state);
    }
    // The unit's buttons choose their keys before the file's: they are the ones pressed on site.
    giveMnemonics({StopORU, RunORU, SaveORU, LoadORU, Save, Load});

    dialogue.uploadActive = false;
    dialogue.stopSeen = false;
    dialogue.firstEntryPending = true;
    SaveORU->setEnabled(false);
    Cekani->stop();
    dialogue.rereadPending = false;

    BVoltage->setValue(300);
    BVoltage->setMinimum(300);

    // The first send opens the port; when that fails, start-up ends here and the window opens as is,
    // showing that no unit is connected.
    try {
        unit.send("ATE0\r\n");
    } catch (const Failure&) {
        showConnection(false);
        throw;
    }
    // A line that was open from the start has not said so.
    showConnection(true);
    showResult(QStringLiteral("Connected to %1").arg(ApdComPort1.name()));
    // The pause holds back the manufacturer query and the unit's answers, not the window: it comes on screen
    // and is drawn meanwhile.
    unit.pause(200);
    state.detectLine.clear();
    state.memoFilter.clear();
    state.buttonFilter.clear();
    state.parOru = "4#4#0#0#1#7#2#0";
    state.parRl1 = "55#1#03#1";
    state.parRl2 = "66#1#03#1";
    state.parKey = "2#0";
    // The unit's defaults are no edits of the user's.
    unsavedEdits->settle();
    unit.send("AT+CGMI\r\n");
    LoadORU->setEnabled(false);
}

// Every text in the window was read in the code page in use and goes back in it, so another one is
// only taken at the next start. It is stored at once: a choice is not lost with a window that never
// closes properly.
void TForm1::CodePageChoiceChange() {
    const CodePage& chosen = *CodePage::Known.at(CodePageChoice->currentIndex());
    IniFile ini(settingsPath);
    ini.writeString("Form", "CodePage", chosen.name().toByteArray());
    try {
        ini.save();
    } catch (const Failure&) {
        showCodePage(CodePageChoice, codePage());
        throw;
    }
    StatusBar1->showMessage(
        &chosen == &codePage()
            ? QStringLiteral("The code page %1 stays in use.").arg(QString::fromLatin1(chosen.name()))
            : QStringLiteral("The code page %1 is used from the next start.")
                  .arg(QString::fromLatin1(chosen.name())),
        8000);
}

void TForm1::closeBySignal() {
    m_closingBySignal = true;
    dialogs.dismiss();
    close();
}

void TForm1::FormClose() {
    ApdComPort1.close();
    IniFile ini(settingsPath);
    ini.writeInteger("Form", "Top", y());
    ini.writeInteger("Form", "Left", x());
    writeCaptions(*this, ini, state);
    ini.save();
}
