#include "ProgrammingFixture.h"

#include "files/Backup.h"

#include <QDir>

namespace {

SimOptions holding(const QMap<int, SimEntry>& phonebook) {
    SimOptions options;
    options.phonebook = phonebook;
    return options;
}

} // namespace

ProgrammingFixture::ProgrammingFixture(const QMap<int, SimEntry>& phonebook, bool readBack)
    : ProgrammingFixture(holding(phonebook), readBack) {}

ProgrammingFixture::ProgrammingFixture(const SimOptions& options, bool readBack) : SimFormFixture(options) {
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    click([this] { form->FormCreate(); });
    if (readBack) click([this] { form->StopORUClick(); });
}

void ProgrammingFixture::programAnswering(bool answer) {
    dialogs.confirmAnswers << answer;
    form->SaveORU->click();
    settle();
}

QStringList ProgrammingFixture::backups() const {
    return QDir(backupFolder()).entryList(QDir::Files);
}
