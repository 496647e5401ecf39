#pragma once

#include "core/GuardedApplication.h"

#include <QtTest>

// The program's own application, so that a failure escaping a handler is reported as in the program
// rather than ending the test.
inline GuardedApplication& guardedApp() {
    return *static_cast<GuardedApplication*>(QCoreApplication::instance());
}

#define GUARDED_TEST_MAIN(TestObject)                                                                        \
    int main(int argc, char* argv[]) {                                                                       \
        GuardedApplication app(argc, argv);                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        TestObject test;                                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
