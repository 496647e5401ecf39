#pragma once

#include "core/UserDialogs.h"

#include <QTextStream>

// The dialogs of a run without a window: the file dialogs answer with the file given on the command
// line, no port is asked for, the command line has confirmed what it asked for, no edits are left
// unsaved, and error reports go to standard error.
class ConsoleDialogs : public UserDialogs {
public:
    explicit ConsoleDialogs(QTextStream& err) : m_err(err) {}

    QString file;
    int errorCount = 0;
    // The first error reported, whole: the cause of what followed.
    QString firstError;

    QString openFileName(const QString&, const QString&) override { return file; }
    QString saveFileName(const QString&) override { return file; }
    std::optional<QString> choosePort(const QStringList&) override { return std::nullopt; }
    void reportError(const QString& text) override;
    bool confirm(const Confirmation&) override { return true; }
    UnsavedChoice askUnsaved(const QString&) override { return UnsavedChoice::Discard; }
    void dismiss() override {}

private:
    QTextStream& m_err;
};
