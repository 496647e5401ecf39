#pragma once

#include <QByteArray>

// What the unit's lines are: the one rule that tells a command's final result, the answers each command
// waits for, and the answers that only ever come to a query (so that one arriving unasked still has its
// final result to come). The receiver and the plan check both ask it.

// "OK", "ERROR", "+CME ERROR: n" or "+CMS ERROR: n": the line that closes a command.
bool isFinalResult(const QByteArray& line);
// A final result that says the command was not carried out.
bool isErrorAnswer(const QByteArray& line);
// The unit's answer to its SIM's size: "+CPBR: (1-N)…".
bool isSizeAnswer(const QByteArray& line);
// One location of a listing, "+CPBR: index,…"; never the size answer.
bool isEntryAnswer(const QByteArray& line);
// The operator, the answer to "AT#SPN".
bool isOperatorAnswer(const QByteArray& line);
// A line that only ever answers a query of the program's: a listing's entry, the SIM's size, the operator,
// the module's maker.
// Unasked, it is a late answer, and a final result of its own follows it.
bool isQueryAnswer(const QByteArray& line);
// The first word in a text that makes a line holding it mean more than a listed entry to the receiver (the
// module stopping, an upload's end, the battery, the signal, the SIM's size, the script's own lines); empty
// when there is none.
QByteArray misreadingWord(const QByteArray& text);
// Whether the command (without its CR LF) waits for this line before its final result.
bool expectsAnswer(const QByteArray& command, const QByteArray& line);
// Whether the unit answers the command at all: a reboot restarts the script and says nothing to it.
bool awaitsFinalResult(const QByteArray& command);
