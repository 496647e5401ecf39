#include "app/ConfirmProgramming.h"

#include "app/TForm1.h"
#include "config/ReadBackRecord.h"
#include "core/Bytes.h"
#include "core/UserDialogs.h"
#include "files/Backup.h"

#include <QDir>
#include <tuple>

namespace {

// What the unit holds against what programming writes, with the settings encoded from the controls as
// programming encodes them; the parameter strings are left as they were.
QList<LocationChange> plannedChanges(TForm1& form) {
    const auto decoded =
        std::tuple{form.state.parOru, form.state.parRl1, form.state.parRl2, form.state.parKey};
    form.ControlsToParams();
    const QList<LocationChange> changes =
        planChanges(programmingPlan(form), form.readBack->locations(), form.state.simCapacity);
    std::tie(form.state.parOru, form.state.parRl1, form.state.parRl2, form.state.parKey) = decoded;
    return changes;
}

QString changeLine(const LocationChange& change) {
    const QByteArray& name = change.after.name.isEmpty() ? change.before.name : change.after.name;
    return QStringLiteral("location %1 %2: %3 → %4")
        .arg(change.location)
        .arg(fromBytes(name), describe(change.before), describe(change.after));
}

} // namespace

Confirmation programmingQuestion(TForm1& form) {
    Confirmation question{QStringLiteral("Program the unit"), {}, {}, QStringLiteral("Program")};
    const int capacity = form.state.simCapacity;
    if (!form.readBack->known()) {
        question.text =
            QStringLiteral(
                "Nothing has been read back from the unit since the port was opened: "
                "the whole unit will be written, all %1, and no backup of what it holds now can be kept.")
                .arg(locationCount(capacity));
        return question;
    }
    const QList<LocationChange> changes = plannedChanges(form);
    const QString backup = QStringLiteral("What the unit holds now is first kept as a backup in %1.")
                               .arg(QDir::toNativeSeparators(backupFolder()));
    if (changes.isEmpty()) {
        question.text =
            QStringLiteral("Programming would change nothing: the unit holds all %1 as they would "
                           "be written. Program it all the same?\n%2")
                .arg(locationCount(capacity), backup);
        question.accept = QStringLiteral("Program anyway");
        return question;
    }
    question.text = QStringLiteral("Programming will change %1 of %2 against the last read-back:\n%3")
                        .arg(locationCount(changes.size()))
                        .arg(capacity)
                        .arg(backup);
    for (const LocationChange& change : changes)
        question.details << changeLine(change);
    return question;
}

QString backUpUnit(TForm1& form) {
    if (!form.readBack->known()) return {};
    const QString path = writeBackup(form.readBack->configuration());
    form.log("backup of the unit: " + toBytes(path));
    return path;
}

void confirmAndProgram(TForm1& form) {
    // A phase under way is refused by the sequence itself, before anything is asked.
    if (form.dialogue.is(Dialogue::Phase::Idle)) {
        if (!form.dialogs.confirm(programmingQuestion(form))) return;
        backUpUnit(form);
    }
    form.SaveORUClick();
}
