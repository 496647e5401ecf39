#pragma once

#include "core/UserDialogs.h"

class QWidget;

// The user's side of UserDialogs: Qt's file dialogs, the port dialog and a message box.
class QtUserDialogs : public UserDialogs {
public:
    void setParentWindow(QWidget* window) { m_window = window; }

    QString openFileName(const QString& filter, const QString& folder) override;
    QString saveFileName(const QString& filter) override;
    std::optional<QString> choosePort(const QStringList& choices) override;
    void reportError(const QString& text) override;
    bool confirm(const Confirmation& question) override;
    UnsavedChoice askUnsaved(const QString& text) override;
    void dismiss() override;

    // "ORU files (*.oru)|*.oru" → "ORU files (*.oru)": the program's filters are description|pattern pairs.
    static QString qtFilter(const QString& filter);

private:
    QWidget* m_window = nullptr;
    bool m_dismissed = false;
};
