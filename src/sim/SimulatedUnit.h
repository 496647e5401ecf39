#pragma once

#include "sim/LineClock.h"
#include "sim/SimGeneral.h"
#include "sim/SimOptions.h"
#include "sim/SimPhonebook.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QTimer>
#include <functional>

// The unit's GSM module and the control script running on it, as far as the tool can see them over the
// serial line. In run mode the script owns the line: it prints status lines now and then and answers no
// command. DTR on stops the script and the module answers AT commands. Everything the unit says goes out
// through the event queue, never from inside receive(), at the line's output rate when one is set.
class SimulatedUnit : public QObject {
    Q_OBJECT
public:
    enum class Mode { Run, Stop };

    explicit SimulatedUnit(const SimOptions& options = {}, QObject* parent = nullptr);

    // Bytes from the PC.
    void receive(const QByteArray& bytes);
    void setDtr(bool on);
    bool dtr() const { return m_dtr; }

    Mode mode() const { return m_mode; }
    bool echo() const { return m_echo; }
    const SimOptions& options() const { return m_options; }
    const QMap<int, SimEntry>& phonebook() const { return m_phonebook.entries(); }
    // Stored files, name -> exact bytes.
    const QMap<QByteArray, QByteArray>& scripts() const { return m_scripts; }
    const QMap<QByteArray, QByteArray>& audioFiles() const { return m_audioFiles; }
    const QByteArray& selectedScript() const { return m_selectedScript; }

    // One status line of the running script, as its timer prints it; nothing in stop mode.
    void tick();
    // Something the unit is about to say is still waiting for its time or for the line.
    bool busy() const { return !m_pending.isEmpty() || m_followUp.isActive(); }

    // Faults, each for the next command line that starts with the given text: it is echoed as usual
    // but not carried out, and gets the given answer instead.
    void failNext(const QByteArray& command, const QByteArray& answer = "ERROR");
    void ignoreNext(const QByteArray& command);
    // Answers "OK" as if written, but nothing is stored.
    void dropNextWrite(const QByteArray& command);
    // Answers with these lines, whatever the command asks.
    void answerNext(const QByteArray& command, const QList<QByteArray>& lines);
    // Bytes that appear on the line as they are, after whatever is already on its way.
    void injectGarbage(const QByteArray& bytes);

signals:
    void output(const QByteArray& bytes);
    // A command line the module took, as it came (the data of a file upload is none).
    void executed(const QByteArray& line);

private:
    struct Fault {
        QByteArray command;
        QList<QByteArray> answer;
    };
    // Bytes said together, after the module's time to get them ready.
    struct Chunk {
        QByteArray bytes;
        int delayMs;
        std::function<void()> then;
    };
    enum class FileKind { Script, Audio };

    qsizetype takeData(const QByteArray& bytes, qsizetype from);
    void execute(const QByteArray& line);
    QList<QByteArray> answerTo(const QByteArray& command);
    QList<QByteArray> phonebookAnswer(const QByteArray& command, const QByteArray& upper);
    QList<QByteArray> listRecords(const QList<QByteArray>& lines, const QByteArray& range);
    QList<QByteArray> startUpload(FileKind kind, const QByteArray& args);
    void finishUpload();

    void stopScript();
    void runScript();
    void reboot();

    void say(const QByteArray& bytes, std::function<void()> then = {});
    void sayAfter(int delayMs, const QByteArray& bytes, std::function<void()> then = {});
    void sayLines(const QList<QByteArray>& lines);
    void deliver();

    SimOptions m_options;
    SimPhonebook m_phonebook;
    SimGeneral m_general;
    int m_simBusyFor = 0;
    QMap<QByteArray, QByteArray> m_scripts;
    QMap<QByteArray, QByteArray> m_audioFiles;
    QByteArray m_selectedScript;
    QList<Fault> m_faults;

    Mode m_mode;
    bool m_dtr = false;
    bool m_echo = true;
    QByteArray m_line;
    int m_statusStep = 0;

    // A file upload: the data mode starts with the prompt and ends after the announced size.
    bool m_dataMode = false;
    FileKind m_fileKind = FileKind::Script;
    QByteArray m_fileName;
    qsizetype m_fileSize = 0;
    QByteArray m_fileData;

    QList<Chunk> m_pending;
    // The first pending chunk goes on the line once its delay has passed; so much of it is said.
    bool m_chunkStarted = false;
    qsizetype m_chunkSaid = 0;
    LineClock m_outputLine;
    QTimer m_outputTimer;
    QTimer m_followUp;
    QTimer m_statusTimer;
};
