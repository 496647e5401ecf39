#include "app/TForm1.h"
#include "comm/SerialPort.h"
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

QColor signalColour(int level) {
    if (level >= 15 && level <= 21) return {0, 255, 255};
    if (level >= 22 && level <= 31) return {0, 255, 0};
    return {255, 0, 0};
}

} // namespace

void TForm1::ApdComPort1TriggerAvail(quint16 count) {
    RXDled->setVisible(RXDled->isHidden());
    // Enabling a running timer does not restart its interval.
    if (!LedTimer->isActive()) LedTimer->start();
    unit.receive(count);
}

void TForm1::LedTimerTimer() {
    RXDled->hide();
    LedTimer->stop();
}

void TForm1::said(const QByteArray& line) {
    if (!line.contains("#SMSATWL")) log("[" + longTime(pacer.now()) + "]   " + line);
    if (line.contains("AT#tone=i,4]")) showDeviceState(DeviceRun);
}

void TForm1::handled(const QByteArray& line) {
    emit lineHandled(line);
}

void TForm1::prompted() {
    if (dialogue.uploadActive) sendUploadPayload();
}

void TForm1::stopped() {
    EndWait();
    ShowStopState();
}

void TForm1::moduleNamed() {
    showDeviceState(DeviceStop);
    setPosition(Prubeh, 0);
    SaveORU->setEnabled(true);
    LoadORU->setEnabled(true);
    // A read-back follows only with the stop line on; without one, the window keeps what it shows.
    if (unit.dtr()) ResetEntryView();
}

void TForm1::unitSaid(const QByteArray& line) {
    if (dialogue.asendPending && line.contains("#ASENDEV:")) {
        unit.send("AT\r\n");
        dialogue.asendPending = false;
        dialogue.answered();
    } else if (line == "+CREG: 0,1" || line == "+CREG: 0,5") {
        unit.pause(200);
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
    } else if (line.contains("COPS")) {
        ShowRunState();
    }
}

void TForm1::confirmed(const QByteArray&) {
    if (dialogue.uploadActive && !dialogue.asendPending && !dialogue.awaitingPrompt) {
        ++state.uploadIndex;
        setPosition(Prubeh, state.uploadIndex);
        dialogue.uploadActive = false;
        dialogue.step(state.uploadIndex);
        unit.pause(500);
        UploadStep(state.uploadIndex);
    }
}
