#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "config/PlanCheck.h"
#include "config/TextCuts.h"
#include "core/Bytes.h"
#include "core/Pacer.h"
#include "widgets/Bar.h"
#include "widgets/Gauge.h"
#include "widgets/Led.h"
#include "widgets/Picture.h"
#include "widgets/StatusPanels.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>

namespace {

// A line that never ends is cut here; no answer of the module comes near it.
constexpr qsizetype MaxLineLength = 64 * 1024;

// The locale's long time format without its time zone: the zone goes with the brackets some locales
// put around it ("HH:mm:ss (t)") and the blanks before it. Quoted text is literal and stays.
QString withoutZone(const QString& format) {
    static const QRegularExpression zone(QStringLiteral(R"(\s*(\(\s*t+\s*\)|\[\s*t+\s*\]|t+))"));
    QString result;
    const QStringList parts = format.split(QLatin1Char('\''));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) result += QLatin1Char('\'');
        result += i % 2 == 0 ? QString(parts[i]).remove(zone) : parts[i];
    }
    return result.trimmed();
}

// The locale's long time format with seconds, without the time zone that Qt's long format adds. The
// log is 8-bit text: a locale that writes its digits in another script gets the same format in Latin
// digits.
QByteArray formatTime(const QLocale& locale, const QTime& time) {
    const QString format = withoutZone(locale.timeFormat(QLocale::LongFormat));
    const QString text = locale.toString(time, format);
    const bool fits = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
    return toBytes(fits ? text : QLocale::c().toString(time, format));
}

// A read-back logs hundreds of lines a second: the lines of one second share one formatted stamp.
QByteArray longTime(const QTime& time) {
    struct Stamp {
        QLocale locale;
        QTime second;
        QByteArray text;
    };
    static Stamp last{QLocale::c(), QTime(), QByteArray()};
    const QLocale locale;
    const QTime second = time.addMSecs(-time.msec());
    if (last.text.isEmpty() || last.second != second || last.locale != locale)
        last = {locale, second, formatTime(locale, time)};
    return last.text;
}

// The module's answer to a command it did not carry out.
bool isErrorAnswer(const QByteArray& line) {
    return line == "ERROR" || line.startsWith("+CME ERROR:") || line.startsWith("+CMS ERROR:");
}

QColor signalColour(int level) {
    if (level >= 15 && level <= 21) return {0, 255, 255};
    if (level >= 22 && level <= 31) return {0, 255, 0};
    return {255, 0, 0};
}

// Lines that begin an exchange of their own: the unit stopping, its module naming itself, the operator,
// the SIM's size and entries.
bool beginsAnExchange(const QByteArray& line) {
    return line == "STOP" || line.contains("#APLAYEV:") || line == "Telit" || line == "[AT#SLED=1]=" ||
           line.contains("#SPN") || line.contains("+CPBR");
}

} // namespace

void TForm1::ApdComPort1TriggerAvail(quint16 count) {
    RXDled->setVisible(RXDled->isHidden());
    // Enabling a running timer does not restart its interval.
    if (!LedTimer->isActive()) LedTimer->start();

    // A failed line ends only that line: the bytes after it are still handled, in order, and the
    // failure is reported once they are (a message box runs its own event loop).
    QStringList failures;
    for (int i = 0; i < count; ++i) {
        const quint8 c = ApdComPort1.readChar();
        if (c == 13) {
            try {
                handleLine();
            } catch (const Failure& failure) {
                failures << failure.text();
            }
            state.rxLine.clear();
            m_rxLineCut = false;
        } else if (c >= 32) {
            if (state.rxLine.size() >= MaxLineLength) {
                if (!m_rxLineCut)
                    log("(received line longer than 65536 characters: the rest of it is dropped)");
                m_rxLineCut = true;
                continue;
            }
            state.rxLine.append(static_cast<char>(c));
            if (dialogue.uploadActive && (state.rxLine == ">>>" || state.rxLine == "CONNECT"))
                sendUploadPayload();
        }
    }
    if (!failures.isEmpty()) throw Failure(failures.join(QLatin1Char('\n')));
}

void TForm1::LedTimerTimer() {
    RXDled->hide();
    LedTimer->stop();
}

void TForm1::handleLine() {
    const QByteArray line = state.rxLine;
    if (!line.contains("#SMSATWL")) log("[" + longTime(pacer.now()) + "]   " + line);
    if (line.contains("AT#tone=i,4]")) showDeviceState(DeviceRun);
    // A line the window cannot take in whole (a setting it cannot show) was still said by the unit.
    try {
        dispatchLine(line);
    } catch (const Failure&) {
        emit lineHandled(line);
        throw;
    }
    emit lineHandled(line);
    if (isErrorAnswer(line)) answerRefused(line);
}

void TForm1::dispatchLine(const QByteArray& line) {
    // While the unit is being written or takes an upload, such a line is a late or stray answer: the
    // monitor shows it, and nothing acts on it, so the phase under way goes on.
    if ((dialogue.is(Dialogue::Phase::Programming) || dialogue.is(Dialogue::Phase::Uploading)) &&
        beginsAnExchange(line))
        return;
    if (line == "OK") {
        handleOk();
    } else if (line == "STOP" || line.contains("#APLAYEV:")) {
        if (line.contains("#APLAYEV:")) state.lteModule = true;
        if (!ApdComPort1.dtr()) return;
        // The unit stopped: a stop that came after its phase gave up is taken up again.
        if (dialogue.is(Dialogue::Phase::Stopping))
            dialogue.answered();
        else if (dialogue.is(Dialogue::Phase::Idle))
            dialogue.start(Dialogue::Phase::Stopping);
        EndWait();
        ShowStopState();
        log("----------------------1");
        ApdComPort1.send("ATE0\r\n");
        log(">ATE0");
        dialogue.stopSeen = true;
        log("ATE0=-1");
        log(state.lteModule ? "LTE=-1" : "LTE=0");
        pacer.wait(1000);
    } else if (line == "Telit") {
        showDeviceState(DeviceStop);
        askOperator("AT#SPN\r\n");
        setPosition(Prubeh, 0);
        SaveORU->setEnabled(true);
        LoadORU->setEnabled(true);
        ResetEntryView();
    } else if (line == "[AT#SLED=1]=") {
        pacer.wait(1000);
        askOperator("ATE0;#SPN\r\n");
        dialogue.stopSeen = false;
        EndWait();
        ShowStopState();
    } else if (dialogue.asendPending && line.contains("#ASENDEV:")) {
        ApdComPort1.send("AT\r\n");
        dialogue.asendPending = false;
        dialogue.answered();
    } else if (line == "+CREG: 0,1" || line == "+CREG: 0,5") {
        pacer.wait(200);
    } else if (line.contains("#CBC:")) {
        Cekani->stop();
        Prubeh->hide();
        const QByteArray v = cutThrough(line, ",");
        log(v);
        StatusBar1->setPanelText(1, fromBytes(" board voltage: " + v + "0 mV"));
        setPosition(BVoltage, toInt(v));
        Voltage->setText(fromBytes(v + "0 mV"));
    } else if (line.contains("+CSQ:")) {
        state.signalLevel = toInt(textBefore(cutThrough(line, ":"), ",").trimmed());
        Smeter->setForeColor(signalColour(state.signalLevel));
        Smeter->setProgress(state.signalLevel);
        if ((!DeviceRun->isHidden() || !DeviceNic->isHidden()) && dialogue.stopSeen) ShowRunState();
    } else if (line.contains("+CPBR: (1-")) {
        const int n = toInt(textBefore(cutThrough(line, "-"), ")").trimmed());
        // No SIM has fewer than one location; such a size would reach the commands that name locations.
        if (n < 1)
            throw Failure(
                QStringLiteral("The unit gave its SIM's size as %1 locations; the program keeps %2.")
                    .arg(n)
                    .arg(state.simCapacity));
        // The listing is measured against the size it was asked with: another size in the middle of it
        // leaves no telling which locations the unit has.
        if (dialogue.is(Dialogue::Phase::ReadingBack) && dialogue.readStage() == Dialogue::ReadStage::Entries)
            stopPhase(Dialogue::Outcome::Refused,
                      QStringLiteral("The unit reported its SIM's size again, as %1 locations, while listing "
                                     "its %2.")
                          .arg(n)
                          .arg(state.simCapacity));
        state.simCapacity = n;
        const SimLimits limits = simLimits(line);
        state.simNumberLength = limits.numberLength;
        state.simTextLength = limits.textLength;
        StatusBar1->setPanelText(2, QStringLiteral(" SIM: %1").arg(n));
        if (n > 10) {
            pacer.wait(100);
            if (ApdComPort1.isChosen()) {
                ApdComPort1.send("AT+CPBR=1," + QByteArray::number(n) + "\r\n");
                // The size query's own "OK" is still to come.
                startRead(1);
            }
        } else if (dialogue.is(Dialogue::Phase::ReadingBack)) {
            dialogue.end(Dialogue::Outcome::Done,
                         QStringLiteral("nothing read: the SIM has no more than 10 locations"));
        }
    } else if (!line.contains("+CPBR")) {
        if (line.contains("#SPN")) {
            StatusBar1->setPanelText(0, fromBytes("Operator: " + cutThrough(line, ":")));
            pacer.wait(200);
            if (ApdComPort1.isChosen() && ApdComPort1.dtr()) {
                // The size query goes out once for each read-back, however many operator queries it had.
                const bool sizeAsked = dialogue.is(Dialogue::Phase::ReadingBack) &&
                                       dialogue.readStage() >= Dialogue::ReadStage::Size;
                if (!sizeAsked) {
                    ApdComPort1.send("AT+CPBR=?\r\n");
                    dialogue.reachRead(Dialogue::ReadStage::Size);
                }
            } else if (dialogue.is(Dialogue::Phase::ReadingBack)) {
                dialogue.end(Dialogue::Outcome::Done,
                             QStringLiteral("nothing read: the unit is not held stopped (press Stop)"));
            }
        } else if (line.contains("COPS")) {
            ShowRunState();
        }
    } else {
        routeEntryLine(line);
    }
}

void TForm1::handleOk() {
    // The read's own "OK" ends the read-back; those of the commands before it come first.
    if (dialogue.is(Dialogue::Phase::ReadingBack) && dialogue.readStage() == Dialogue::ReadStage::Entries) {
        if (dialogue.oksBeforeRead > 0)
            --dialogue.oksBeforeRead;
        else
            finishReadBack();
    }
    if (dialogue.rereadPending) {
        dialogue.rereadPending = false;
        // A read-back under way already shows the change, or another follows it.
        if (dialogue.askReadBack()) startReRead();
    }
    if (dialogue.uploadActive && !dialogue.asendPending && !dialogue.awaitingPrompt) {
        ++state.uploadIndex;
        setPosition(Prubeh, state.uploadIndex);
        dialogue.uploadActive = false;
        dialogue.step(state.uploadIndex);
        pacer.wait(500);
        UploadStep(state.uploadIndex);
    } else if (dialogue.stopSeen && state.lteModule) {
        dialogue.stopSeen = false;
        pacer.wait(200);
        log("----------------------2");
        askOperator("AT#SPN\r\n");
        log(">AT#SPN");
    } else if (dialogue.is(Dialogue::Phase::Programming)) {
        programmingStep();
    }
}
