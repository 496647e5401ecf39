#include "sim/SimGeneral.h"

#include "sim/SimText.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cstdlib>

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
    if (upper == "Z" || upper == "&F") {
        // Back to the settings the module starts with; the clock runs on.
        restart();
        return QList<QByteArray>{Ok};
    }
    if (upper == "+CGMI") return QList<QByteArray>{"Telit", Ok};
    if (upper == "+CGMM") return QList<QByteArray>{m_options.model, Ok};
    if (upper == "+CGMR") return QList<QByteArray>{m_options.revision, Ok};
    if (upper == "I") return QList<QByteArray>{m_options.model, "Revision: " + m_options.revision, Ok};
    if (upper == "+CGSN") return QList<QByteArray>{m_options.imei, Ok};
    if (upper == "#CGSN") return QList<QByteArray>{"#CGSN: " + m_options.imei, Ok};
    if (upper == "+CNUM") {
        if (m_options.ownNumber.isEmpty()) return QList<QByteArray>{Ok};
        const QByteArray type = m_options.ownNumber.startsWith('+') ? "145" : "129";
        return QList<QByteArray>{"+CNUM: \"\",\"" + m_options.ownNumber + "\"," + type, Ok};
    }
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
    if (upper == "+CCLK?") {
        const QDateTime now = QDateTime::currentDateTimeUtc().addSecs(m_clockOffsetSecs);
        const QByteArray zone =
            (m_clockZone < 0 ? "-" : "+") + QByteArray::number(std::abs(m_clockZone)).rightJustified(2, '0');
        return QList<QByteArray>{
            "+CCLK: \"" + now.toString(QStringLiteral("yy/MM/dd,hh:mm:ss")).toLatin1() + zone + "\"", Ok};
    }
    if (upper == "+CCLK=?") return QList<QByteArray>{Ok};
    if (upper.startsWith("+CCLK=")) return setClock(unquoted(upper.mid(6)));
    // The SMS format a tool picks on connecting: kept, as the module has no SMS to give.
    if (upper == "+CSMS?") return QList<QByteArray>{"+CSMS: 0,1,1,1", Ok};
    if (upper == "+CMGF?") return QList<QByteArray>{"+CMGF: " + m_smsFormat, Ok};
    if (upper == "+CMGF=0" || upper == "+CMGF=1") {
        m_smsFormat = upper.right(1);
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

// "yy/MM/dd,hh:mm:ss" and the zone in quarter hours, "+zz" or "-zz".
QList<QByteArray> SimGeneral::setClock(const QByteArray& value) {
    static const QRegularExpression form(
        QStringLiteral(R"(^(\d\d)/(\d\d)/(\d\d),(\d\d):(\d\d):(\d\d)([+-]\d\d)$)"));
    const QRegularExpressionMatch match = form.match(QString::fromLatin1(value));
    if (!match.hasMatch()) return {Error};
    const auto field = [&match](int n) { return match.captured(n).toInt(); };
    const QDateTime set(QDate(2000 + field(1), field(2), field(3)), QTime(field(4), field(5), field(6)),
                        Qt::UTC);
    const int zone = field(7);
    if (!set.isValid() || zone < -48 || zone > 56) return {Error};
    m_clockOffsetSecs = QDateTime::currentDateTimeUtc().secsTo(set);
    m_clockZone = zone;
    return {Ok};
}

void SimGeneral::restart() {
    m_errorForm = 1;
    m_charset = "IRA";
    m_smsFormat = "0";
}
