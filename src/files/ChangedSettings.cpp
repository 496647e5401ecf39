#include "files/ChangedSettings.h"

#include "app/TForm1.h"
#include "config/FixedEntries.h"

namespace {

constexpr int FirstString = FixedEntries::Count - 3; // PARORU

} // namespace

ChangedSettings::ChangedSettings(TForm1& form) : QObject(&form), m_form(form) {
    const TForm1& f = form;
    // The controls each string is encoded from, in the order of the strings.
    const std::initializer_list<QWidget*> controls[] = {
        {f.VolMic, f.VolSpk, f.NoCall, f.SIMCall, f.AllCall, f.SendSMS, f.ClockGSM, f.TonBeep, f.TonRing,
         f.TonVoice, f.PortDis, f.PortEtons, f.PortESMS, f.waiting},
        {f.RelCode1, f.RelTime1, f.RelSMS1, f.RelSW1, f.RelCam1, f.RelLi1, f.RelBut1, f.RelRing1,
         f.RelRingAll1},
        {f.RelCode2, f.RelTime2, f.RelSMS2, f.RelSW2, f.RelCam2, f.RelLi2, f.RelBut2, f.RelRing2,
         f.RelRingAll2},
        {f.WaitBUF, f.DirectCall}};
    for (int string = 0; string < 4; ++string)
        for (QWidget* control : controls[string])
            watch(control, string);
    // The interlocks reach across strings: ringing on a relay checks "no hang-up", and hanging up
    // clears the relays' ringing.
    for (QCheckBox* ringing : {f.RelRing1, f.RelRingAll1, f.RelRing2, f.RelRingAll2})
        watch(ringing, 0);
    for (QRadioButton* hangUp : {f.SIMCall, f.AllCall}) {
        watch(hangUp, 1);
        watch(hangUp, 2);
    }
}

// Signals that only a person's action emits: setChecked(), setValue(), setText() and
// setCurrentIndex() emit none of them.
void ChangedSettings::watch(QWidget* control, int string) {
    const auto touched = [this, string] { touch(string); };
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        connect(button, &QAbstractButton::clicked, this, touched);
    else if (auto* slider = qobject_cast<QAbstractSlider*>(control))
        connect(slider, &QAbstractSlider::actionTriggered, this, touched);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        connect(combo, &QComboBox::activated, this, touched);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        connect(edit, &QLineEdit::textEdited, this, touched);
}

void ChangedSettings::touch(int string) {
    const QByteArray now = held()[string];
    // A string that took a new value since the first change stands for the controls again.
    if (!m_touchedAt[string] || *m_touchedAt[string] != now) m_touchedAt[string] = now;
}

ChangedSettings::Strings ChangedSettings::held() const {
    Strings strings;
    for (int i = 0; i < 4; ++i)
        strings[i] = *FixedEntries::parameter(m_form.state, FirstString + i);
    return strings;
}

ChangedSettings::Strings ChangedSettings::forSaving() const {
    const Strings held = this->held();
    Strings saved = held;
    bool changed = false;
    for (int i = 0; i < 4; ++i)
        changed |= m_touchedAt[i] == held[i];
    if (!changed) return saved;
    // The encoder writes into the state; saving changes nothing there.
    struct Restore {
        TForm1& form;
        const Strings& held;
        ~Restore() {
            for (int i = 0; i < 4; ++i)
                *FixedEntries::parameter(form.state, FirstString + i) = held[i];
        }
    } restore{m_form, held};
    m_form.ControlsToParams();
    const Strings encoded = this->held();
    for (int i = 0; i < 4; ++i)
        if (m_touchedAt[i] == held[i]) saved[i] = encoded[i];
    return saved;
}

void ChangedSettings::forget() {
    m_touchedAt.fill(std::nullopt);
}
