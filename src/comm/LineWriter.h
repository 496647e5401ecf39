#pragma once

#include <QByteArray>
#include <QObject>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Hands bytes to a serial device from a thread of its own, so that they keep leaving at the line's pace
// while the window thread sleeps in a pacing wait. A full system buffer (the driver has not drained yet,
// or the far end holds CTS off) only makes it wait; an error that means the device is gone stops it and is
// reported once, through the event queue of the thread that made the writer.
class LineWriter : public QObject {
    Q_OBJECT
public:
    // fd: an open, non-blocking descriptor of the device; it stays the caller's to close, after the writer.
    explicit LineWriter(int fd, QObject* parent = nullptr);
    ~LineWriter() override;

    void write(const QByteArray& bytes);
    // Bytes written but not yet taken by the system.
    qsizetype pending() const;
    // Waits until the system has taken every byte written, or the writer has failed, at most ms
    // milliseconds; whether nothing is left.
    bool drain(int ms);

signals:
    void failed(const QString& reason);

private:
    void run();

    const int m_fd;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    // Signalled when the queue has gone, taken or dropped.
    std::condition_variable m_drained;
    std::deque<QByteArray> m_queue;
    // Bytes of the queue's first piece already taken by the system.
    qsizetype m_taken = 0;
    qsizetype m_pending = 0;
    bool m_stop = false;
    std::thread m_thread;
};
