#include "files/UnsavedEdits.h"

#include "app/TForm1.h"
#include "files/ConfigFile.h"

UnsavedEdits::UnsavedEdits(TForm1& form) : QObject(&form), m_form(form) {
    settle();
    connect(&form.dialogue, &Dialogue::ended, this, [this](Dialogue::Phase phase, Dialogue::Outcome outcome) {
        if (phase == Dialogue::Phase::ReadingBack && outcome == Dialogue::Outcome::Done &&
            m_form.dialogue.readStage() == Dialogue::ReadStage::Entries)
            settle();
    });
}

void UnsavedEdits::settle() {
    m_settled = configurationText(m_form);
}

bool UnsavedEdits::pending() const {
    return configurationText(m_form) != m_settled;
}
