#include "engine/Answers.h"

#include <QByteArrayList>

bool isFinalResult(const QByteArray& line) {
    return line == "OK" || isErrorAnswer(line);
}

bool isErrorAnswer(const QByteArray& line) {
    return line == "ERROR" || line.startsWith("+CME ERROR:") || line.startsWith("+CMS ERROR:");
}

bool isSizeAnswer(const QByteArray& line) {
    return line.contains("+CPBR: (1-");
}

bool isEntryAnswer(const QByteArray& line) {
    return line.contains("+CPBR") && !isSizeAnswer(line);
}

bool isOperatorAnswer(const QByteArray& line) {
    return line.contains("#SPN") && !line.contains("+CPBR");
}

bool isQueryAnswer(const QByteArray& line) {
    return line.contains("+CPBR") || isOperatorAnswer(line) || line == "Telit";
}

QByteArray misreadingWord(const QByteArray& text) {
    static const QByteArrayList words = {
        "+CPBR: (1-", "+CSQ:", "#CBC:", "#APLAYEV:", "#ASENDEV:", "#SMSATWL", "AT#tone=i,4]"};
    for (const QByteArray& word : words)
        if (text.contains(word)) return word;
    return {};
}

bool expectsAnswer(const QByteArray& command, const QByteArray& line) {
    if (isFinalResult(line)) return false;
    if (command == "AT#SPN" || command == "ATE0;#SPN") return isOperatorAnswer(line);
    if (command == "AT+CPBR=?") return isSizeAnswer(line);
    if (command.startsWith("AT+CPBR=")) return isEntryAnswer(line);
    if (command == "AT+CSQ") return line.contains("+CSQ:");
    if (command == "AT+CGMI") return line == "Telit" || !isQueryAnswer(line);
    // The identity queries answer a line of their own: the IMEI, the SIM's number or id.
    if (command == "AT#CGSN" || command == "AT+CGSN" || command == "AT+CNUM" || command == "AT+CCID")
        return !isQueryAnswer(line);
    return false;
}

bool awaitsFinalResult(const QByteArray& command) {
    return command != "AT#REBOOT";
}
