#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <functional>

class Pacer;
class SerialPort;

// The program's side of the line to the unit. What the unit says is split into lines, each handed on in
// order; what goes to the unit (commands, a file's data, the stop
// line) leaves in the order it was asked for; a pacing pause holds back what is asked after it, and the
// lines the unit says meanwhile, without ever blocking the thread: a pause is a timer, so the window is
// drawn and takes input, and a signal or a limit is acted on, while it runs.
//
// Every command owns the lines that follow it up to its final result: take() says, line by line, whether
// a line answers the oldest command still open, closes it, or is the unit's own (unsolicited). A line that
// only ever answers a query, arriving unasked, is a late answer: the final result right behind it is its
// own, never the open command's.
class UnitLine : public QObject {
    Q_OBJECT
public:
    UnitLine(SerialPort& port, Pacer& pacer, QObject* parent = nullptr);

    SerialPort& port() { return m_port; }

    // A command with its CR LF; it stays open until its final result. Sent at once while no pause runs
    // (a failure throws), else when the pause ends (a failure is reported by failed()).
    void send(const QByteArray& command);
    // Bytes with no answer of their own: a file's data after the unit's prompt.
    void sendData(const QByteArray& bytes);
    void setDtr(bool on);
    // The stop line as last asked for, whether it has been applied or waits behind a pause.
    bool dtr() const { return m_dtr; }
    // Holds back what follows by that long.
    void pause(int ms);
    // Runs then once what was asked before it has gone; at once while nothing waits.
    void then(std::function<void()> then);
    // A pause runs, or what followed it is still to go.
    bool holding() const { return m_pausing || !m_queue.isEmpty(); }
    // Forgets what waits behind a pause: the operation that asked for it is over.
    void dropQueued();

    // What handles each received line, and what handles a data prompt (">>>" or "CONNECT", which the unit
    // says without a line end when it waits for a file's bytes).
    void onReceived(std::function<void(const QByteArray&)> line, std::function<void()> prompt);
    // Takes the bytes the port announced and handles the lines they end, in order, unless a pause holds
    // them back. A line whose handling fails ends only that line: the lines after it are still handled,
    // and the failures are thrown together once they are.
    void receive(quint16 count);
    // Handles the lines that a pause held back, once every pause has ended.
    void handleHeld();
    // The line received so far, not ended yet.
    const QByteArray& partial() const { return m_partial; }

    enum class Role { Answer, Final, Unsolicited };
    struct Taken {
        Role role;
        // The command the line answers or closes.
        QByteArray command;
    };
    Taken take(const QByteArray& line);
    // The commands still open, oldest first, without their CR LF.
    const QByteArrayList& open() const { return m_open; }
    // The unit will not answer what is open: it stopped or restarted its script, or the line closed.
    void forgetOpen();

signals:
    // Every pause has ended and what followed has gone: held lines can be handled now.
    void released();
    // A send that followed a pause failed.
    void failed(const QString& text);
    // The unit said a line longer than any answer of its module: the rest of it is dropped.
    void lineCut();

private:
    void write(const QByteArray& bytes, bool command);
    void runQueue();

    SerialPort& m_port;
    Pacer& m_pacer;
    bool m_dtr = false;
    bool m_pausing = false;
    QList<std::function<void()>> m_queue;
    QByteArrayList m_open;
    std::function<void(const QByteArray&)> m_handleLine;
    std::function<void()> m_handlePrompt;
    QByteArray m_partial;
    // The line being received grew past its cap; the rest is dropped until its end.
    bool m_partialCut = false;
    // Lines received while a pause holds them back.
    QByteArrayList m_held;
    // A late answer came: a final result right behind it closes that, not the open command.
    bool m_lateAnswer = false;
};
