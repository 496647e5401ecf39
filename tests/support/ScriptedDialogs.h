#pragma once

#include "core/UserDialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

// Returns the answers a test scripted, in order, and records what was reported. A dialog the test did
// not expect, or an answer left unused, fails the test (checked by verifyAllUsed()).
class ScriptedDialogs : public UserDialogs {
public:
    QStringList openAnswers;
    QStringList saveAnswers;
    QList<std::optional<QString>> portAnswers;
    QList<bool> confirmAnswers;
    // The state an accepted question's check box is left in; unscripted, it stays as shown.
    std::optional<bool> optionAnswer;
    QList<UnsavedChoice> unsavedAnswers;
    // The questions asked, in order.
    QList<Confirmation> confirmations;
    QStringList unsavedQuestions;
    QStringList errors;
    QStringList filters;
    QStringList portChoices;
    QStringList unexpected;

    QString openFileName(const QString& filter, const QString& folder) override;
    QString saveFileName(const QString& filter) override;
    std::optional<QString> choosePort(const QStringList& choices) override;
    void reportError(const QString& text) override { errors << text; }
    bool confirm(const Confirmation& question) override;
    UnsavedChoice askUnsaved(const QString& text) override;
    void dismiss() override { dismissed = true; }
    bool dismissed = false;
    // Runs while the port dialog is open, as something the user or the system does meanwhile.
    std::function<void()> whilePortDialogOpen;

    // Empty when every scripted answer was used and no unexpected dialog opened; otherwise what went wrong.
    QString problems() const;

    QString lastFolder;
};
