#include "ScriptedDialogs.h"

#include <utility>

QString ScriptedDialogs::openFileName(const QString& filter, const QString& folder) {
    filters << filter;
    lastFolder = folder;
    if (openAnswers.isEmpty()) {
        unexpected << QStringLiteral("open dialog");
        return {};
    }
    return openAnswers.takeFirst();
}

QString ScriptedDialogs::saveFileName(const QString& filter) {
    filters << filter;
    if (saveAnswers.isEmpty()) {
        unexpected << QStringLiteral("save dialog");
        return {};
    }
    return saveAnswers.takeFirst();
}

std::optional<QString> ScriptedDialogs::choosePort(const QStringList& choices) {
    portChoices = choices;
    if (whilePortDialogOpen) std::exchange(whilePortDialogOpen, {})();
    if (portAnswers.isEmpty()) {
        unexpected << QStringLiteral("port dialog");
        return std::nullopt;
    }
    return portAnswers.takeFirst();
}

QString ScriptedDialogs::problems() const {
    QStringList all;
    for (const QString& u : unexpected)
        all << QStringLiteral("unexpected ") + u;
    if (!openAnswers.isEmpty())
        all << QStringLiteral("unused open answers: ") + openAnswers.join(QLatin1Char(','));
    if (!saveAnswers.isEmpty())
        all << QStringLiteral("unused save answers: ") + saveAnswers.join(QLatin1Char(','));
    if (!portAnswers.isEmpty()) all << QStringLiteral("unused port answers");
    return all.join(QStringLiteral("; "));
}
