// How fast the window takes in a read-back of the SIM phonebook, against the line's own speed, and what a
// whole programming sequence costs. Waits are recorded, not slept, so the figures are the program's work.
#include "FormFixture.h"
#include "FullSim.h"

#include "files/PhoneBookList.h"
#include "sim/SimPhonebook.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

using bench::fullSim;
using bench::number;

// 115200 baud, 8N1: ten bits a byte.
constexpr double WireBytesPerSecond = 11520.0;
// A serial driver hands the bytes over in pieces.
constexpr qsizetype PieceSize = 4096;

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// What the module says to "AT+CPBR=1,capacity", framed as it frames its lines.
QByteArray recordedReadBack(int capacity) {
    SimPhonebook phonebook(capacity, 80, 40);
    phonebook.load(fullSim(capacity));
    QByteArray bytes;
    for (const QByteArray& line : phonebook.read("1," + QByteArray::number(capacity)))
        bytes += "\r\n" + line + "\r\n";
    return bytes;
}

struct Figures {
    double seconds = 0;
    qsizetype bytes = 0;
};

// The best of a few runs of one read-back through the window, each from a fresh view as the read-back
// starts it.
Figures readBack(FormFixture& f, const QByteArray& bytes, int runs) {
    TForm1& form = *f.form;
    form.state.buttonFilter = "B2-";
    form.state.memoFilter = "M3-";
    Figures best{1e9, bytes.size()};
    for (int run = 0; run < runs; ++run) {
        form.ResetEntryView();
        form.Monitor->clear();
        QElapsedTimer timer;
        timer.start();
        for (qsizetype at = 0; at < bytes.size(); at += PieceSize)
            f.port.deliver(bytes.mid(at, PieceSize));
        best.seconds = std::min(best.seconds, static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

// The CPU time of one read-back through the window, delivered piece by piece with the event loop turning
// in between as it does for a real port, against the time the line needs to carry the same bytes.
double readBackCpuShare(FormFixture& f, const QByteArray& bytes) {
    f.form->ResetEntryView();
    f.form->Monitor->clear();
    FormFixture::settle();
    const double start = cpuSeconds();
    for (qsizetype at = 0; at < bytes.size(); at += PieceSize) {
        f.port.deliver(bytes.mid(at, PieceSize));
        QCoreApplication::processEvents();
    }
    FormFixture::settle();
    const double cpu = cpuSeconds() - start;
    return cpu / (static_cast<double>(bytes.size()) / WireBytesPerSecond);
}

// The resident memory of the whole process, from the kernel's own account.
double residentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

double programming(FormFixture& f, int capacity) {
    TForm1& form = *f.form;
    form.engine.sim.capacity = capacity;
    for (int n = 0; n < 7; ++n) {
        form.ADMIN[n]->setText(QString::fromLatin1(number(n)));
        form.ABUTTON[n]->setText(QString::fromLatin1(number(n + 7)));
        form.BBUTTON[n]->setText(QString::fromLatin1(number(n + 14)));
    }
    form.ALARMON->setText(QStringLiteral("Door open"));
    form.ALARMOFF->setText(QStringLiteral("Door closed"));
    form.PhoneBook1->clearLines();
    for (int i = 0; i < capacity / 2; ++i)
        form.PhoneBook1->appendLine("Contact " + QByteArray::number(i) + "=" + number(i));
    f.port.clearSent();

    const double start = cpuSeconds();
    form.run([&] { form.SaveORUClick(); });
    while (form.dialogue.is(Dialogue::Phase::Programming))
        f.port.deliver("\r\nOK\r\n");
    return cpuSeconds() - start;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FormFixture f(QStringLiteral("GSMTandor"));

    const Figures small = readBack(f, recordedReadBack(250), 7);
    const Figures large = readBack(f, recordedReadBack(2000), 3);
    const double smallRate = static_cast<double>(small.bytes) / small.seconds;
    const double largeRate = static_cast<double>(large.bytes) / large.seconds;
    const double growth = large.seconds / small.seconds;

    std::printf("read-back of 250 locations: %lld bytes in %.2f ms, %.0f bytes/s, %.0f times the wire rate\n",
                static_cast<long long>(small.bytes), small.seconds * 1e3, smallRate,
                smallRate / WireBytesPerSecond);
    std::printf(
        "read-back of 2000 locations: %lld bytes in %.2f ms, %.0f bytes/s, %.0f times the wire rate\n",
        static_cast<long long>(large.bytes), large.seconds * 1e3, largeRate, largeRate / WireBytesPerSecond);
    std::printf("2000 locations cost %.1f times 250 locations\n", growth);

    const double cpu = programming(f, 250);
    std::printf("programming sequence of 250 locations: %.2f ms CPU, %lld commands, waits recorded\n",
                cpu * 1e3, static_cast<long long>(f.port.sent.size()));

    // CPU beyond start-up for 2000 locations: with the window hidden, as a batch run has it, and with the
    // window shown on the monitor page, where every line is seen arriving.
    const QByteArray bytes = recordedReadBack(2000);
    const double hiddenShare = readBackCpuShare(f, bytes);
    f.form->resize(1000, 700);
    f.form->show();
    f.form->PageControl1->setCurrentWidget(f.form->TabSheet2);
    FormFixture::settle();
    const double shownShare = readBackCpuShare(f, bytes);
    f.form->hide();
    std::printf("read-back of 2000 locations, window hidden: CPU 1/%.0f of the line's time\n",
                1 / hiddenShare);
    std::printf("read-back of 2000 locations, monitor page shown: CPU 1/%.0f of the line's time\n",
                1 / shownShare);

    // A long session: a million logged lines, every one of them kept for Save Log.
    f.form->Monitor->clear();
    const QByteArray line = "[12:34:56]   +CPBR: 1234,\"+420603111222\",145,\"Contact 1234\"";
    for (int n = 0; n < 1000000; ++n)
        f.form->log(line);
    const double resident = residentMegabytes();
    const qsizetype saved = f.form->monitorText().size();
    std::printf("a million logged lines: %.0f MB resident, %lld bytes for Save Log\n", resident,
                static_cast<long long>(saved));

    const bool fast = smallRate / WireBytesPerSecond >= 100;
    const bool linear = growth <= 10;
    const bool cheapHidden = hiddenShare <= 1.0 / 100;
    const bool cheapShown = shownShare <= 1.0 / 50;
    const bool bounded = resident < 200 && saved == 1000000 * (line.size() + 2);
    std::printf("target: 250 locations at least 100 times the wire rate: %s\n", fast ? "met" : "NOT met");
    std::printf("target: 2000 locations at most 10 times 250 locations: %s\n", linear ? "met" : "NOT met");
    std::printf("target: CPU at most 1/100 of the line's time, window hidden: %s\n",
                cheapHidden ? "met" : "NOT met");
    std::printf("target: CPU at most 1/50 of the line's time, monitor page shown: %s\n",
                cheapShown ? "met" : "NOT met");
    std::printf("target: a million lines under 200 MB resident (release build), all saved: %s\n",
                bounded ? "met" : "NOT met");
    return fast && linear && cheapHidden && cheapShown && bounded ? 0 : 1;
}
