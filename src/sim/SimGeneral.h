#pragma once

#include "sim/SimOptions.h"

#include <QByteArray>
#include <QList>
#include <optional>

// The module's general commands, as ordinary AT phone tools use them: identification, character set,
// functionality and the form of its error answers. Its settings last until the module starts again.
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
    int m_errorForm = 1;
    QByteArray m_charset = "IRA";
};
