#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A question the user answers with its accepting button or Cancel; details is a list shown beneath the text.
struct Confirmation {
    QString title;
    QString text;
    QStringList details;
    QString accept;
    // What is asked for cannot be done: the question only informs, and its accepting button is disabled.
    bool refused = false;
    // A check box beneath the details, when it has a caption: it shows *option when the question opens
    // and leaves its state there once it is accepted.
    QString optionText = {};
    bool* option = nullptr;
};

// Everything that asks the user or tells the user something goes through here.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // An empty result means the user cancelled.
    virtual QString openFileName(const QString& filter, const QString& folder) = 0;
    virtual QString saveFileName(const QString& filter) = 0;
    // The chosen entry of the list or a typed device path; nothing when cancelled.
    virtual std::optional<QString> choosePort(const QStringList& choices) = 0;
    virtual void reportError(const QString& text) = 0;
    // True when the user chose the accepting button.
    virtual bool confirm(const Confirmation& question) = 0;
    enum class UnsavedChoice { Save, Discard, Cancel };
    // The window holds edits that are neither programmed nor saved and is about to close.
    virtual UnsavedChoice askUnsaved(const QString& text) = 0;
    // The program is ending on a signal: a dialog that is open closes as cancelled, later ones are
    // cancelled at once, and errors are no longer shown in a window.
    virtual void dismiss() = 0;
};
