#include "sim/SimGeneral.h"

#include "sim/SimText.h"

namespace {

const QByteArray Ok = "OK";
const QByteArray Error = "ERROR";
const QByteArray CmeError = "+CME ERROR: ";

// The texts of the error numbers this module gives.
QByteArray errorText(const QByteArray& number) {
    if (number == "14") return "SIM busy";
    if (number == "20") return "memory full";
    if (number == "21") return "invalid index";
    if (number == "24") return "text string too long";
    if (number == "26") return "dial string too long";
    return number;
}

} // namespace

std::optional<QList<QByteArray>> SimGeneral::answer(const QByteArray& command) {
    const QByteArray upper = command.toUpper();
    if (upper == "+CGMI") return QList<QByteArray>{"Telit", Ok};
    if (upper == "+CGMM") return QList<QByteArray>{m_options.model, Ok};
    if (upper == "+CGMR") return QList<QByteArray>{m_options.revision, Ok};
    if (upper == "I") return QList<QByteArray>{m_options.model, "Revision: " + m_options.revision, Ok};
    if (upper == "+CGSN") return QList<QByteArray>{m_options.imei, Ok};
    if (upper == "#CGSN") return QList<QByteArray>{"#CGSN: " + m_options.imei, Ok};
    if (upper == "+CMEE?") return QList<QByteArray>{"+CMEE: " + QByteArray::number(m_errorForm), Ok};
    if (upper == "+CMEE=?") return QList<QByteArray>{"+CMEE: (0-2)", Ok};
    if (upper.startsWith("+CMEE=")) {
        bool ok = false;
        const int form = upper.mid(6).toInt(&ok, 10);
        if (!ok || form < 0 || form > 2) return QList<QByteArray>{Error};
        m_errorForm = form;
        return QList<QByteArray>{Ok};
    }
    if (upper == "+CSCS?") return QList<QByteArray>{"+CSCS: \"" + m_charset + "\"", Ok};
    if (upper == "+CSCS=?") return QList<QByteArray>{"+CSCS: (\"IRA\",\"GSM\")", Ok};
    if (upper.startsWith("+CSCS=")) {
        // The module keeps its texts as bytes; the set only changes what "AT+CSCS?" reports.
        const QByteArray charset = unquoted(upper.mid(6));
        if (charset != "IRA" && charset != "GSM") return QList<QByteArray>{Error};
        m_charset = charset;
        return QList<QByteArray>{Ok};
    }
    if (upper == "+CFUN?") return QList<QByteArray>{"+CFUN: 1", Ok};
    if (upper == "+CFUN=1") return QList<QByteArray>{Ok};
    return std::nullopt;
}

QList<QByteArray> SimGeneral::reported(QList<QByteArray> lines) const {
    for (QByteArray& line : lines) {
        if (!line.startsWith(CmeError) || m_errorForm == 1) continue;
        line = m_errorForm == 0 ? Error : CmeError + errorText(line.mid(CmeError.size()));
    }
    return lines;
}

void SimGeneral::restart() {
    m_errorForm = 1;
    m_charset = "IRA";
}
