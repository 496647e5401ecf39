#pragma once

#include <QApplication>

class UserDialogs;

// The application whose event delivery is the program's last guard. Every slot, timer and event
// handler runs inside some event's delivery, so a failure that escapes one, whatever it is connected
// to, ends there: its text goes to the error report, the event counts as not handled (a close that
// failed keeps the window) and the program runs on. No exception ever reaches the toolkit's event loop.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);

    // Where escaped failures are reported; until one is given, on standard error.
    void reportTo(UserDialogs* dialogs) { m_dialogs = dialogs; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void report(const QString& text);

    UserDialogs* m_dialogs = nullptr;
};
