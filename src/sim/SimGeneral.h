#pragma once

#include "sim/SimOptions.h"

#include <QByteArray>
#include <QList>
#include <optional>

// The module's general commands, as ordinary AT phone tools use them: identification, character set,
// functionality, reset, the SMS format, the clock and the form of its error answers. Its settings last until
// the module starts again; the clock runs on.
class SimGeneral {
public:
    explicit SimGeneral(const SimOptions& options) : m_options(options) {}

    // The answer lines to a command given without its "AT", or nothing when it is no general command.
    std::optional<QList<QByteArray>> answer(const QByteArray& command);
    // Answer lines with each "+CME ERROR: n" in the form "AT+CMEE" chose: the number (the module's own
    // default, which the tool's dialogue expects), its text, or a plain "ERROR".
    QList<QByteArray> reported(QList<QByteArray> lines) const;
    void restart();

private:
    const SimOptions& m_options;
    QList<QByteArray> setClock(const QByteArray& value);

    int m_errorForm = 1;
    QByteArray m_charset = "IRA";
    QByteArray m_smsFormat = "0";
    // The clock: the system's time moved by this much, in the zone it was set with (quarter hours).
    qint64 m_clockOffsetSecs = 0;
    int m_clockZone = 0;
};
