#include "app/PortChoice.h"

#include "comm/QtSerialPort.h"
#include "core/Failure.h"
#include "core/UserDialogs.h"
#include "sim/SimulatedPort.h"
#include "sim/SimulatedUnit.h"

const QString PortChoice::SimulatedUnitChoice = QStringLiteral("Simulated unit");

PortChoice::PortChoice(UserDialogs& dialogs, QObject* parent) : SerialPort(parent), m_dialogs(dialogs) {}

PortChoice::~PortChoice() {
    // The port goes before the unit it talks to.
    m_port.reset();
}

void PortChoice::chooseSimulator() {
    m_port.reset();
    m_unit = std::make_unique<SimulatedUnit>(SimOptions::demo());
    use(std::make_unique<SimulatedPort>(*m_unit));
}

void PortChoice::chooseDevice(const QString& device) {
    auto port = std::make_unique<QtSerialPort>();
    port->choose(device);
    use(std::move(port));
}

void PortChoice::choose(const QString& choice) {
    // The old line says that it closed while it is still the one in use.
    if (m_port) m_port->close();
    if (choice == SimulatedUnitChoice)
        chooseSimulator();
    else
        chooseDevice(choice.trimmed());
}

QString PortChoice::choice() const {
    if (!isChosen()) return {};
    return qobject_cast<const SimulatedPort*>(m_port.get()) ? SimulatedUnitChoice : m_port->name();
}

QStringList PortChoice::choices() {
    return QStringList{SimulatedUnitChoice} + QtSerialPort::devices().keys();
}

void PortChoice::use(std::unique_ptr<SerialPort> port) {
    m_port = std::move(port);
    m_port->setDtr(m_dtr);
    m_mayOpen = true;
    connect(m_port.get(), &SerialPort::triggerAvail, this, &SerialPort::triggerAvail);
    connect(m_port.get(), &SerialPort::lost, this, &SerialPort::lost);
    connect(m_port.get(), &SerialPort::back, this, &SerialPort::back);
    connect(m_port.get(), &SerialPort::connectionChanged, this, [this](bool open) {
        if (!open) m_mayOpen = false;
        emit connectionChanged(open);
    });
}

void PortChoice::disconnectLine() {
    m_mayOpen = false;
    if (m_port) m_port->close();
}

QString PortChoice::name() const {
    return m_port ? m_port->name() : QString();
}

bool PortChoice::isChosen() const {
    return m_port && m_port->isChosen();
}

void PortChoice::send(const QByteArray& data) {
    if (m_closed) throw Failure(QStringLiteral("The program is closing: nothing more is sent."));
    if (!isOpen() && !m_mayOpen) {
        const QString lost = lostReason();
        throw Failure(lost.isEmpty()
                          ? QStringLiteral("No unit is connected: choose Connect in the port menu.")
                          : QStringLiteral("The serial port %1 was lost: %2. It is opened again when it is "
                                           "back, or choose another port in the port menu.")
                                .arg(name(), lost));
    }
    if (!isChosen()) {
        // A lost device is the reason a port is asked for, and the reason nothing was sent.
        const QString lost = lostReason();
        const std::optional<QString> chosen = m_dialogs.choosePort(choices());
        // The program may have closed while the dialog was open.
        if (m_closed) throw Failure(QStringLiteral("The program is closing: nothing more is sent."));
        if (!chosen || chosen->trimmed().isEmpty())
            throw Failure(lost.isEmpty()
                              ? QStringLiteral("No serial port was chosen.")
                              : QStringLiteral("The serial port %1 was lost: %2").arg(name(), lost));
        choose(*chosen);
    }
    m_port->send(data);
}

quint8 PortChoice::readChar() {
    return m_port ? m_port->readChar() : 0;
}

int PortChoice::outputFree() const {
    return m_port ? m_port->outputFree() : OutputBufferSize;
}

void PortChoice::setDtr(bool on) {
    m_dtr = on;
    if (m_port) m_port->setDtr(on);
}

void PortChoice::close() {
    // The port closes once, at the program's end.
    m_closed = true;
    if (m_port) m_port->close();
}
