#pragma once

#include "RecordingPacer.h"
#include "ScriptedDialogs.h"
#include "TestPort.h"

#include "app/TForm1.h"

#include <QTemporaryDir>
#include <memory>

// A fresh window on the test doubles, in a temporary folder that holds its settings file.
struct FormFixture {
    explicit FormFixture(const QString& exeName = QStringLiteral("zuvovu"), bool create = true);
    ~FormFixture();

    QTemporaryDir dir;
    TestPort port;
    RecordingPacer pacer;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;

    QString settingsPath() const { return dir.filePath(QStringLiteral("zuvovu.ini")); }
    QString path(const QString& name) const { return dir.filePath(name); }
    // Runs the module's answer lines through the receiver, each framed "\r\n" + line + "\r\n".
    void say(const QByteArrayList& lines);
    // The command is out, sent as the program sends it, and left out of what was sent: the lines said next
    // answer it.
    void asked(const QByteArray& command);
    // Forgets the start-up traffic: what was sent, the waits and the monitor log.
    void forgetStartup();
    // Lets queued notifications run.
    static void settle();
    // The monitor's lines.
    QStringList monitorLines() const;
    void writeSettings(const QByteArray& text);
};
