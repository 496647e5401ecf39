#include "core/GuardedApplication.h"

#include "core/Failure.h"
#include "core/UserDialogs.h"

#include <cstdio>
#include <exception>

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const Failure& failure) {
        report(failure.text());
    } catch (const std::exception& error) {
        report(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        report(QStringLiteral("An unknown failure ended the last action."));
    }
    event->ignore();
    return false;
}

void GuardedApplication::report(const QString& text) {
    if (m_dialogs)
        m_dialogs->reportError(text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}
