#include "app/TForm1.h"
#include "config/FixedEntries.h"
#include "core/Bytes.h"
#include "core/Failure.h"

#include <algorithm>

// The unit keeps its general options in four phonebook entries whose number field holds one-character
// fields separated by "#" (the relay switching time has two). Decoding sets the controls one field
// at a time, and every change runs the control's handlers, so the interlocks and filters settle the
// controls exactly as a user's clicks would.

namespace {

struct Relay {
    QByteArray& string;
    const char* fallback;
    QLineEdit* code;
    QLineEdit* time;
    QRadioButton* const function[5]; // by stored value "0" .. "4"
    QCheckBox* ring;
    QCheckBox* ringAll;
};

Relay relay1(TForm1& f) {
    return {f.state.parRl1,
            "5#1#03#1",
            f.RelCode1,
            f.RelTime1,
            {f.RelSMS1, f.RelSW1, f.RelCam1, f.RelLi1, f.RelBut1},
            f.RelRing1,
            f.RelRingAll1};
}

Relay relay2(TForm1& f) {
    return {f.state.parRl2,
            "6#1#03#1",
            f.RelCode2,
            f.RelTime2,
            {f.RelSMS2, f.RelSW2, f.RelCam2, f.RelLi2, f.RelBut2},
            f.RelRing2,
            f.RelRingAll2};
}

// The character at a 1-based position.
QByteArray at(const QByteArray& string, int position) {
    return string.mid(position - 1, 1);
}

// The value of the character at a position; the failure names the entry that holds it.
int value(const QByteArray& string, int position, const char* entry) {
    try {
        return toInt(at(string, position));
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("%1: %2").arg(QLatin1String(entry), failure.text()));
    }
}

// Checks the radio that a stored "0", "1", "2" … names; any other character leaves the group as it is.
template <std::size_t N> void checkNamed(QRadioButton* const (&radios)[N], const QByteArray& stored) {
    for (std::size_t i = 0; i < N; ++i)
        if (stored == QByteArray::number(static_cast<qsizetype>(i))) radios[i]->setChecked(true);
}

QByteArray flag(const QAbstractButton* button) {
    return button->isChecked() ? "1" : "0";
}

void decodeRelay(const Relay& r) {
    if (r.string.size() != 8) r.string = r.fallback;
    const QByteArray& string = r.string;
    r.code->setText(fromBytes(at(string, 1)));
    checkNamed(r.function, at(string, 3));
    r.time->setText(fromBytes(string.mid(4, 2)));
    if (at(string, 8) == "1") {
        r.ring->setChecked(true);
        if (at(string, 3) == "5") r.ringAll->setChecked(true);
    }
}

QByteArray encodeRelay(const Relay& r) {
    int function = 0;
    for (int i = 1; i < 5; ++i)
        function += r.function[i]->isChecked() ? i : 0;
    function += r.ringAll->isChecked() ? 4 : 0;
    const int ringing = (r.ring->isChecked() ? 1 : 0) + (r.ringAll->isChecked() ? 1 : 0);
    return toBytes(r.code->text()) + '#' + QByteArray::number(function) + '#' + toBytes(r.time->text()) +
           '#' + QByteArray::number(ringing);
}

} // namespace

void TForm1::decodeParameters() {
    for (QCheckBox* box : {TonBeep, TonRing, TonVoice, SendSMS, ClockGSM, RelRing1, RelRingAll1, RelRing2,
                           RelRingAll2, DirectCall})
        box->setChecked(false);
    clearGroup(PortGroup);
    WaitBUF->setCurrentIndex(1);

    if (state.parOru.size() != 15) state.parOru = "4#4#0#0#1#5#0#2";
    const QByteArray& o = state.parOru;
    VolMic->setValue(std::clamp(8 - value(o, 1, "PARORU"), 1, 7));
    VolSpk->setValue(std::clamp(8 - value(o, 3, "PARORU"), 1, 7));
    checkNamed({NoCall, SIMCall, AllCall}, at(o, 5));
    SendSMS->setChecked(at(o, 7) == "1");
    ClockGSM->setChecked(at(o, 9) == "1");
    const int tones = value(o, 11, "PARORU");
    TonBeep->setChecked(tones & 1);
    TonRing->setChecked(tones & 2);
    TonVoice->setChecked(tones & 4);
    checkNamed({PortDis, PortEtons, PortESMS}, at(o, 13));
    waiting->setCurrentIndex(value(o, 15, "PARORU"));

    decodeRelay(relay1(*this));
    decodeRelay(relay2(*this));

    if (state.parKey.size() != 3) state.parKey = "2#0";
    const QByteArray& k = state.parKey;
    WaitBUF->setCurrentIndex(value(k, 1, "PARKEY") - 1);
    DirectCall->setChecked(at(k, 3) == "1");
}

void TForm1::ParamsToControls() {
    // Whatever the decoding came to, also where a field stopped it, is how the strings are shown now.
    const auto record = [this] {
        const std::array<QByteArray, 4> encoded = encodedParameters();
        for (std::size_t i = 0; i < encoded.size(); ++i)
            shownParameters[i].shownAs = encoded[i];
    };
    try {
        decodeParameters();
    } catch (...) {
        record();
        throw;
    }
    record();
}

void TForm1::takeParameter(int entry, const QByteArray& bytes) {
    *FixedEntries::parameter(state, entry) = bytes;
    shownParameters[entry - FixedEntries::FirstParameter].bytes = bytes;
}

std::array<QByteArray, 4> TForm1::encodedParameters() {
    const int hangUp = SIMCall->isChecked() ? 1 : AllCall->isChecked() ? 2 : 0;
    const int tones =
        (TonBeep->isChecked() ? 1 : 0) + (TonRing->isChecked() ? 2 : 0) + (TonVoice->isChecked() ? 4 : 0);
    const int port = PortEtons->isChecked() ? 1 : PortESMS->isChecked() ? 2 : 0;
    const QByteArray oru = QByteArray::number(8 - VolMic->value()) + '#' +
                           QByteArray::number(8 - VolSpk->value()) + '#' + QByteArray::number(hangUp) + '#' +
                           flag(SendSMS) + '#' + flag(ClockGSM) + '#' + QByteArray::number(tones) + '#' +
                           QByteArray::number(port) + '#' + toBytes(waiting->currentText().left(1));
    return {oru, encodeRelay(relay1(*this)), encodeRelay(relay2(*this)),
            toBytes(WaitBUF->currentText()) + '#' + flag(DirectCall)};
}

void TForm1::ControlsToParams() {
    const std::array<QByteArray, 4> encoded = encodedParameters();
    for (int i = 0; i < 4; ++i)
        *FixedEntries::parameter(state, FixedEntries::FirstParameter + i) = encoded[i];
}
