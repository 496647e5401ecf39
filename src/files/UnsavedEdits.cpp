#include "files/UnsavedEdits.h"

#include "app/ConfigurationView.h"
#include "app/TForm1.h"
#include "engine/ReadBackRecord.h"

UnsavedEdits::UnsavedEdits(TForm1& form) : QObject(&form), m_form(form) {
    settle();
}

void UnsavedEdits::settle() {
    m_file = readControls(m_form);
}

bool UnsavedEdits::pending() const {
    QList<Configuration> copies{m_file};
    const ReadBackRecord& unit = *m_form.readBack;
    if (unit.known()) copies << asShown(configurationOf(unit.locations(), unit.capacity()));
    return !keptIn(readControls(m_form), copies);
}
