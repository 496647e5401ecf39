#include "FuzzSupport.h"

#include "config/Filters.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>

void startApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zuvovu-fuzz";
    static char* argv[] = {name, nullptr};
    // Never deleted: the process ends with it.
    new QApplication(argc, argv);
}

void propertyBroken(const char* property, const QString& found) {
    std::fprintf(stderr, "\nProperty broken: %s\n%s\n", property, qPrintable(found));
    std::fflush(stderr);
    std::abort();
}

QString printable(const QByteArray& bytes) {
    QString text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '\\')
            text += QLatin1Char(c);
        else
            text += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return text;
}

void writeTargetFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        propertyBroken("the target's own file can be written", path);
}

QByteArray asReceived(QByteArray text) {
    text.removeIf([](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return text;
}

bool fixedEntryHolds(int entry, const QByteArray& shown, const QByteArray& given) {
    // ADMIN1 … BBUTTON7 are phone numbers; ALARMON and ALARMOFF texts.
    if (entry <= 21) return shown == FilterPhone(given);
    if (entry <= 23) return shown == given;
    return shown == given || shown.size() != given.size();
}

WorkingFolderKept::WorkingFolderKept() : folder(QDir::currentPath()) {}

WorkingFolderKept::~WorkingFolderKept() {
    QDir::setCurrent(folder);
}
