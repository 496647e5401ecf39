#include "app/ConfirmProgramming.h"

#include "app/ConfigurationView.h"
#include "app/TForm1.h"
#include "config/ConfigurationChanges.h"
#include "config/PlanCheck.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/UserDialogs.h"
#include "engine/ReadBackRecord.h"
#include "files/Backup.h"
#include "widgets/Picture.h"

#include <QDir>

ConfigurationChanges unitChanges(TForm1& form) {
    return configurationChanges(form.readBack->locations(), readControls(form), parameterFieldNames(form));
}

QStringList changeLines(const ConfigurationChanges& changes) {
    QStringList lines = changes.lines;
    for (const QString& lost : changes.lost)
        lines << QStringLiteral("lost: %1").arg(lost);
    lines << QStringLiteral("%1 of the SIM would be written or cleared")
                 .arg(locationCount(changes.locationsRewritten));
    return lines;
}

Confirmation programmingQuestion(TForm1& form) {
    Confirmation question{QStringLiteral("Program the unit"), {}, {}, QStringLiteral("Program")};
    const QStringList problems = planProblems(readControls(form), form.engine.sim);
    if (!problems.isEmpty()) {
        question.text = QStringLiteral("The unit cannot be programmed as the window stands; nothing will be "
                                       "sent until these are mended:");
        question.details = problems;
        question.refused = true;
        return question;
    }
    question.optionText =
        QStringLiteral("Write every location, not only those that differ (the full sequence)");
    question.option = &form.writeEveryLocation;
    const ConfigurationChanges changes = unitChanges(form);
    const QString backup = QStringLiteral("What the unit holds now is first kept as a backup in %1.")
                               .arg(QDir::toNativeSeparators(backupFolder()));
    if (changes.isEmpty()) {
        question.text =
            QStringLiteral("Programming would change nothing: the unit holds all %1 as they would "
                           "be written. Program it all the same?\n%2")
                .arg(locationCount(form.engine.sim.capacity), backup);
        question.accept = QStringLiteral("Program anyway");
        return question;
    }
    question.text =
        QStringLiteral("Programming will change the unit as listed, against the last read-back:\n%1")
            .arg(backup);
    question.details = changeLines(changes);
    return question;
}

QString backUpUnit(TForm1& form) {
    if (!form.readBack->known()) return {};
    const QString path = writeBackup(form.readBack->backup());
    form.log("backup of the unit: " + toBytes(path));
    form.programmingBackup = path;
    return path;
}

void confirmAndProgram(TForm1& form) {
    // A phase under way is refused by the sequence itself, before anything is asked.
    if (form.dialogue.is(Dialogue::Phase::Idle)) {
        // Without the unit's size and content there is nothing to compare, back up or write into: the
        // unit is read first, and asked about once that read has completed.
        if (!form.readBack->current()) {
            form.awaitingRead = readControls(form);
            form.dialogue.programAfterRead = true;
            // A running unit is stopped, which reads it; Load reads one that is stopped or asks it whether
            // it is.
            if (!form.DeviceRun->isHidden())
                form.StopORUClick();
            else
                form.LoadORUClick();
            return;
        }
        form.writeEveryLocation = false;
        if (!form.dialogs.confirm(programmingQuestion(form))) return;
        backUpUnit(form);
    }
    form.SaveORUClick();
}

void TForm1::RestoreBackupClick() {
    if (!dialogue.is(Dialogue::Phase::Idle))
        throw Failure(QStringLiteral("%1 is under way: restore a backup once it has finished.")
                          .arg(Dialogue::describe(dialogue.phase())));
    const QString path = dialogs.openFileName(QStringLiteral("ORU files (*.oru)|*.oru"), backupFolder());
    if (path.isEmpty()) return;
    loadFile(path);
    // Programmed as any configuration is: after the question with what it would change.
    confirmAndProgram(*this);
}
