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

private:
    int m_fd;
    QByteArray m_received;
};

} // namespace

class SimPtyTest : public QObject {
    Q_OBJECT
private slots:
    void answersOverThePseudoTerminal();
    void everyByteCrossesUnchanged();
    void slowUnitHoldsBackAWriter();
    void executableServesAPeerUntilStopped();
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

void SimPtyTest::executableServesAPeerUntilStopped() {
    const QByteArray buildDir = qgetenv("ZUVOVU_BUILD_DIR");
    if (buildDir.isEmpty()) QSKIP("ZUVOVU_BUILD_DIR names the build that holds zuvovu-sim");
    QProcess sim;
    sim.start(QString::fromLocal8Bit(buildDir) + "/zuvovu-sim", {"--stopped", "--capacity", "7"});
    QVERIFY(sim.waitForStarted());
    QTRY_VERIFY(sim.canReadLine());
    Peer peer(sim.readLine().trimmed());
    QVERIFY(peer.isOpen());
    QVERIFY(peer.write("ATE0\r\nAT+CPBR=?\r\n"));
    QTRY_COMPARE(peer.received(), "ATE0\r\n\r\nOK\r\n\r\n+CPBR: (1-7),80,40\r\n\r\nOK\r\n");
    sim.terminate();
    QVERIFY(sim.waitForFinished());
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
}

QTEST_GUILESS_MAIN(SimPtyTest)
#include "tst_simpty.moc"
