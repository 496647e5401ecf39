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

bool ScriptedDialogs::confirm(const Confirmation& question) {
    confirmations << question;
    if (confirmAnswers.isEmpty()) {
        unexpected << QStringLiteral("confirmation \"%1\"").arg(question.text);
        return false;
    }
    // A refused question's accepting button cannot be pressed.
    const bool accepted = confirmAnswers.takeFirst() && !question.refused;
    if (accepted && question.option && optionAnswer) *question.option = *optionAnswer;
    return accepted;
}

UserDialogs::UnsavedChoice ScriptedDialogs::askUnsaved(const QString& text) {
    unsavedQuestions << text;
    if (unsavedAnswers.isEmpty()) {
        unexpected << QStringLiteral("unsaved-edits question");
        return UnsavedChoice::Cancel;
    }
    return unsavedAnswers.takeFirst();
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
    if (!confirmAnswers.isEmpty()) all << QStringLiteral("unused confirmation answers");
    if (!unsavedAnswers.isEmpty()) all << QStringLiteral("unused unsaved-edits answers");
    return all.join(QStringLiteral("; "));
}
