#pragma once

#include <QByteArray>
#include <QObject>

// The line to the unit's GSM module. Received bytes are announced by triggerAvail, always through
// the event queue and never from inside send().
class SerialPort : public QObject {
    Q_OBJECT
public:
    static constexpr int OutputBufferSize = 64000;
    // Bytes the line carries in a second (115200 baud, ten bits a byte).
    static constexpr int LineBytesPerSecond = 11520;

    using QObject::QObject;
    // Queues every byte of data unchanged; opens the port first when needed. Throws Failure when the
    // port cannot be opened or the data does not fit into the output buffer's free space.
    virtual void send(const QByteArray& data) = 0;
    // The next received byte; called exactly as often as triggerAvail announced.
    virtual quint8 readChar() = 0;
    // Free space of the output buffer; the whole buffer while the port is closed.
    virtual int outputFree() const = 0;
    // DTR is remembered and applied when the port opens.
    virtual void setDtr(bool on) = 0;
    virtual bool dtr() const = 0;
    // A port has been chosen (the port number is not 0).
    virtual bool isChosen() const = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // How the line is named to the user: the device, or the simulated unit.
    virtual QString name() const = 0;
    // Received bytes that the receiver has not been handed yet: the unit has spoken, whatever the clock
    // says (the program may have been stopped meanwhile).
    virtual bool inputWaiting() const { return false; }
    // Bytes queued that have not left yet; the unit cannot answer what it has not received.
    virtual qint64 outputPending() const { return 0; }
    // Why the line was lost, while it is; empty otherwise.
    virtual QString lostReason() const { return {}; }
    // The user's hold on the line: connect lets the next send open it (asking for a port while none is
    // chosen), disconnect closes it until the next connect. The program goes on either way.
    virtual void connectLine() {}
    virtual void disconnectLine() { close(); }
    // Uses another line from now on (a device path, or whatever else the implementation offers), closing
    // the one in use; it opens as connectLine() says.
    virtual void switchTo(const QString& choice) { Q_UNUSED(choice); }

signals:
    void triggerAvail(quint16 count);
    // The device went away (unplugged, failed); delivered through the event queue.
    void lost(const QString& reason);
    // The line was opened, or closed for whatever reason.
    void connectionChanged(bool open);
    // A device that was lost is there again and can be opened.
    void back();
};
