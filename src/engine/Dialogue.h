#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class Deadline;
class Pacer;

// What the program is doing with the unit, one phase at a time. Every phase ends with an outcome; the window
// shows both and batch runs wait on them. No timer decides that the unit is done: only its answers, a limit
// on its silence, or a lost port end a phase. The flags that the receiver's rules share live here too.
class Dialogue : public QObject {
    Q_OBJECT
public:
    enum class Phase { Idle, Stopping, ReadingBack, Programming, Uploading };
    enum class Outcome {
        Done,
        // The unit answered with an error, or with an answer that cannot be true; the detail names it.
        Refused,
        TimedOut,
        PortLost,
        // Something on this side failed (a file that cannot be read, a send that failed).
        Failed,
        // The user started something else.
        Cancelled,
    };
    Q_ENUM(Phase)
    Q_ENUM(Outcome)
    // Which command of a read-back is out: the single write it follows, the operator query, the SIM size
    // query, or the read itself.
    enum class ReadStage { Write, Operator, Size, Entries };

    // How long the unit may take to report that it stopped its script, unless told otherwise.
    static constexpr int StopAnswerMs = 20000;
    // How long the unit may stay silent while it owes an answer, unless told otherwise.
    static constexpr int AnswerMs = 10000;
    // A SIM that is still starting is asked again this many times, this long apart.
    static constexpr int BusyRetries = 5;
    static constexpr int BusyRetryMs = 2000;

    explicit Dialogue(Pacer& pacer, QObject* parent = nullptr);
    ~Dialogue() override;

    Phase phase() const { return m_phase; }
    bool is(Phase phase) const { return m_phase == phase; }
    int done() const { return m_done; }
    // 0 while not known.
    int total() const { return m_total; }
    ReadStage readStage() const { return m_readStage; }

    // Starts a phase with the answer limit, or another; a different one still running ends as cancelled
    // first.
    void start(Phase phase, int total = 0, std::optional<int> limitMs = std::nullopt);
    void setTotal(int total);
    // The unit answered and the phase moved on: the limit starts again.
    void step(int done);
    void answered();
    // The next answer may take longer than usual, e.g. until a large send has left.
    void expect(int ms);
    // The running phase's limit on the unit's silence.
    int limitMs() const { return m_limitMs; }
    // Ends the running phase; nothing happens while none runs.
    void end(Outcome outcome, const QString& detail = {});

    // A read-back: the stage its command reached. Starts the phase when it is not running yet.
    void reachRead(ReadStage stage);
    // Asks for a read-back. True when none is under way, so the caller starts one; otherwise the one
    // under way serves (its read is not out yet) or another follows it (readAgain).
    bool askReadBack();

    // The phase's name, as a sentence starts with it.
    static QString describe(Phase phase);

    // The limits on the unit's silence: for its stop report, and for every other answer.
    int stopAnswerMs = StopAnswerMs;
    int answerMs = AnswerMs;

    // The receiver's shared flags.
    bool firstEntryPending = true;
    bool rereadPending = false;
    bool uploadActive = false;
    bool asendPending = false;
    // A file's command is out and the module's data prompt has not come yet.
    bool awaitingPrompt = false;
    bool stopSeen = false;
    // The read-back now running, or the last one, found the "DETECT" entry at detectLine's location.
    bool detectFound = false;
    // The user switched button detection during a read-back: carried out when it ends.
    bool detectSwitchPending = false;
    // A read-back was asked for after the running one had sent its read.
    bool readAgain = false;
    // Programming was asked for before the unit had been read: it is asked once the read completes.
    bool programAfterRead = false;
    // Times the running read-back has asked a busy SIM again.
    int busyRetries = 0;

signals:
    void started(Dialogue::Phase phase);
    void progressed(Dialogue::Phase phase, int done, int total);
    void ended(Dialogue::Phase phase, Dialogue::Outcome outcome, const QString& detail);
    // The unit stayed silent past the limit; the window ends the phase as it sees fit.
    void timedOut(Dialogue::Phase phase);

private:
    std::unique_ptr<Deadline> m_deadline;
    Phase m_phase = Phase::Idle;
    ReadStage m_readStage = ReadStage::Write;
    int m_done = 0;
    int m_total = 0;
    int m_limitMs = AnswerMs;
};
