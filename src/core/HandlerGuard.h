#pragma once

#include "core/Failure.h"
#include "core/UserDialogs.h"

#include <exception>
#include <utility>

// Every handler runs inside this guard: a failure ends the handler, its text goes to the error report,
// and the program runs on. No exception ever reaches Qt's event loop.
template <typename Handler> void guarded(UserDialogs& dialogs, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const Failure& failure) {
        dialogs.reportError(failure.text());
    } catch (const std::exception& error) {
        dialogs.reportError(QString::fromLocal8Bit(error.what()));
    }
}
