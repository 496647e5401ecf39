#pragma once

#include "comm/SerialPort.h"

#include <QByteArrayList>

// A SerialPort double: records what the program sends and feeds what a test makes the module say.
class TestPort : public SerialPort {
    Q_OBJECT
public:
    using SerialPort::SerialPort;

    // What the program sent, one entry per send, in order.
    QByteArrayList sent;
    // Every send, joined.
    QByteArray sentBytes() const { return sent.join(); }
    // Sends that are whole commands, without their "\r\n".
    QByteArrayList commands() const;
    void clearSent() { sent.clear(); }

    // Makes the module say bytes: delivered through the event queue as one notification, as a real port does.
    void feed(const QByteArray& bytes);
    // One answer line framed as a GSM module frames it: "\r\n" + line + "\r\n".
    void feedLine(const QByteArray& line) { feed("\r\n" + line + "\r\n"); }
    // Delivers the bytes at once, inside this call (to test the receiver without the event loop).
    void deliver(const QByteArray& bytes);

    // Cancelling the port choice, a port that cannot be opened.
    bool chosen = true;
    QString failOpen;
    bool open = false;
    int outputFreeValue = OutputBufferSize;
    // Waits that drain the output buffer: each call of outputFree() counts one down to a free buffer.
    int drainAfterPolls = 0;

    void send(const QByteArray& data) override;
    quint8 readChar() override;
    int outputFree() const override;
    void setDtr(bool on) override { m_dtr = on; }
    bool dtr() const override { return m_dtr; }
    bool isChosen() const override { return chosen; }
    bool isOpen() const override { return open; }
    void close() override {
        if (open) emit connectionChanged(false);
        open = false;
        ++closes;
    }
    int closes = 0;
    QString name() const override { return QStringLiteral("TEST"); }
    // Bytes from the unit not yet handed to the receiver, and bytes for it not yet out.
    bool waitingInput = false;
    qint64 pendingOutput = 0;
    bool inputWaiting() const override { return waitingInput; }
    qint64 outputPending() const override { return pendingOutput; }

private:
    QByteArray m_pending;
    bool m_dtr = false;
    mutable int m_polls = 0;
};
