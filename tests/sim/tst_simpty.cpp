#include "SimRig.h"
#include "TestData.h"

#include "sim/PtyFront.h"
#include "sim/SimulatedUnit.h"

#include <QProcess>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The far end of the pseudo-terminal, opened with plain system calls as a serial tool does.
class Peer {
public:
    explicit Peer(const QByteArray& path) : m_fd(::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~Peer() {
        if (m_fd >= 0) ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    bool write(const QByteArray& bytes) {
        return ::write(m_fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    }
    // Writes every byte, letting the event loop run while the terminal is full. Returns how often a
    // write was refused for that; -1 on any other failure.
    int writeAll(const QByteArray& bytes) {
        int refusals = 0;
        for (qsizetype at = 0; at < bytes.size();) {
            const ssize_t count =
                ::write(m_fd, bytes.constData() + at, static_cast<size_t>(bytes.size() - at));
            if (count > 0) {
                at += count;
            } else if (count < 0 && errno == EAGAIN) {
                ++refusals;
                QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
            } else {
                return -1;
            }
        }
        return refusals;
    }
    // Everything received so far.
    const QByteArray& received() {
        char buffer[4096];
        for (ssize_t count; (count = ::read(m_fd, buffer, sizeof buffer)) > 0;)
            m_received.append(buffer, count);
        return m_received;
    }
    void forget() { m_received.clear(); }

private:
    int m_fd;
    QByteArray m_received;
};

// zuvovu-sim started with the arguments; its device path, or an empty one when it did not start.
QByteArray startSim(QProcess& sim, const QStringList& arguments) {
    sim.start(qEnvironmentVariable("ZUVOVU_BUILD_DIR") + "/zuvovu-sim", arguments);
    if (!sim.waitForStarted()) return {};
    while (!sim.canReadLine() && sim.waitForReadyRead(10000)) {
    }
    return sim.readLine().trimmed();
}

QByteArray framed(const QByteArrayList& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += "\r\n" + line + "\r\n";
    return bytes;
}

} // namespace

class SimPtyTest : public QObject {
    Q_OBJECT
private slots:
    void answersOverThePseudoTerminal();
    void everyByteCrossesUnchanged();
    void slowUnitHoldsBackAWriter();
    void executableServesAPeerUntilStopped_data();
    void executableServesAPeerUntilStopped();
    void executableAnswersAnAtPhoneTool();
};

void SimPtyTest::answersOverThePseudoTerminal() {
    SimulatedUnit unit(stopped());
    PtyFront front(unit);
    Peer peer(front.devicePath());
    QVERIFY(peer.isOpen());
    QVERIFY(peer.write("AT\r\n"));
    QTRY_COMPARE(peer.received(), "AT\r\n\r\nOK\r\n");
}

void SimPtyTest::everyByteCrossesUnchanged() {
    // Far more than the terminal holds at once, so the front has to wait for the peer to read.
    SimulatedUnit unit(stopped());
    PtyFront front(unit);
    Peer peer(front.devicePath());
    const QByteArray data = everyByteValue(200000);
    unit.injectGarbage(data);
    QTRY_COMPARE(peer.received().size(), data.size());
    QCOMPARE(peer.received(), data);

    const QByteArray script = everyByteValue(3000);
    QVERIFY(peer.write("ATE0\r\nAT#WSCRIPT=raw.pyo,3000\r\n"));
    QTRY_VERIFY(peer.received().endsWith(">>>"));
    QVERIFY(peer.write(script));
    QTRY_VERIFY(peer.received().endsWith("\r\nOK\r\n"));
    QCOMPARE(unit.scripts().value("raw.pyo"), script);
}

void SimPtyTest::slowUnitHoldsBackAWriter() {
    // The unit reads slower than the writer writes: the rest waits in the terminal until it is full.
    SimOptions options = stopped();
    options.inputBytesPerSecond = 300000;
    SimulatedUnit unit(options);
    PtyFront front(unit);
    Peer peer(front.devicePath());
    const QByteArray script = everyByteValue(150000);
    QVERIFY(peer.write("ATE0\r\nAT#WSCRIPT=big.pyo,150000\r\n"));
    QTRY_VERIFY(peer.received().endsWith(">>>"));
    QVERIFY(peer.writeAll(script) > 0);
    QTRY_VERIFY(peer.received().endsWith("\r\nOK\r\n"));
    QCOMPARE(unit.scripts().value("big.pyo"), script);
}

void SimPtyTest::executableServesAPeerUntilStopped_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("answers");
    QTest::newRow("just started, like a real unit")
        << QStringList{"--stopped", "--capacity", "7"} << QByteArray("+CME ERROR: 14");
    QTest::newRow("instant") << QStringList{"--stopped", "--capacity", "7", "--instant"}
                             << QByteArray("+CPBR: (1-7),80,40\r\n\r\nOK");
}

void SimPtyTest::executableServesAPeerUntilStopped() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, answers);
    if (qEnvironmentVariableIsEmpty("ZUVOVU_BUILD_DIR"))
        QSKIP("ZUVOVU_BUILD_DIR names the build that holds zuvovu-sim");
    QProcess sim;
    Peer peer(startSim(sim, arguments));
    QVERIFY(peer.isOpen());
    QVERIFY(peer.write("ATE0\r\nAT+CPBR=?\r\nAT+CPBR=?\r\n"));
    QTRY_COMPARE(peer.received(),
                 "ATE0\r\n\r\nOK\r\n\r\n" + answers + "\r\n\r\n+CPBR: (1-7),80,40\r\n\r\nOK\r\n");
    sim.terminate();
    QVERIFY(sim.waitForFinished());
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
}

void SimPtyTest::executableAnswersAnAtPhoneTool() {
    if (qEnvironmentVariableIsEmpty("ZUVOVU_BUILD_DIR"))
        QSKIP("ZUVOVU_BUILD_DIR names the build that holds zuvovu-sim");
    // What a phone tool sends, line by line, to a unit that has just started; commands end in CR alone.
    const struct {
        QByteArray command;
        QByteArrayList answer;
    } session[] = {
        {"ATE0", {"OK"}},
        {"ATI", {"ZV-2G", "Revision: 2.04.007", "OK"}},
        {"AT+CGMI", {"Telit", "OK"}},
        {"AT+CGMM", {"ZV-2G", "OK"}},
        {"AT+CGMR", {"2.04.007", "OK"}},
        // Made from the process and the unit's place, so that simulators side by side differ.
        {"AT+CGSN", {"35693<pid>0010", "OK"}},
        {"AT+CNUM", {"+CNUM: \"\",\"+4207<pid>001\",145", "OK"}},
        {"AT+CMEE=2", {"OK"}},
        {"AT+CSCS=\"IRA\"", {"OK"}},
        {"AT+CFUN?", {"+CFUN: 1", "OK"}},
        {"AT+CPBS=\"SM\"", {"OK"}},
        {"AT+CPBS?", {"+CPBS: \"SM\",0,250", "OK"}},
        {"AT+CPBR=?", {"+CME ERROR: SIM busy"}},
        {"AT+CPBR=?", {"+CPBR: (1-250),80,40", "OK"}},
        {"AT+CPBW=5,\"+420603111222\",145,\"Alice\"", {"OK"}},
        {"AT+CPBW=,\"123\",129,\"Bob\"", {"OK"}},
        {"AT+CPBW=7,\"+420777333444\",145,\"Smith, J\"", {"OK"}},
        {"AT+CPBS?", {"+CPBS: \"SM\",3,250", "OK"}},
        {"AT+CPBR=1,10",
         {"+CPBR: 1,\"123\",129,\"Bob\"", "+CPBR: 5,\"+420603111222\",145,\"Alice\"",
          "+CPBR: 7,\"+420777333444\",145,\"Smith, J\"", "OK"}},
        {"AT+CPBW=5", {"OK"}},
        {"AT+CPBR=1,10",
         {"+CPBR: 1,\"123\",129,\"Bob\"", "+CPBR: 7,\"+420777333444\",145,\"Smith, J\"", "OK"}},
        {"AT+CPBW=251,\"1\",129,\"X\"", {"+CME ERROR: invalid index"}},
    };
    QProcess sim;
    Peer peer(startSim(sim, {"--stopped"}));
    QVERIFY(peer.isOpen());
    const QByteArray pid = QByteArray::number(sim.processId() % 1000000).rightJustified(6, '0');
    for (const auto& step : session) {
        QVERIFY(peer.write(step.command + "\r"));
        QByteArrayList answer = step.answer;
        for (QByteArray& line : answer)
            line.replace("<pid>", pid);
        // The echo of ATE0 comes before echo is off.
        const QByteArray expected = (step.command == "ATE0" ? "ATE0\r\n" : "") + framed(answer);
        QTRY_VERIFY2(peer.received().size() >= expected.size(), step.command.constData());
        QCOMPARE(peer.received(), expected);
        peer.forget();
    }
    sim.terminate();
    QVERIFY(sim.waitForFinished());
}

QTEST_GUILESS_MAIN(SimPtyTest)
#include "tst_simpty.moc"
