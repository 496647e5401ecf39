#pragma once

#include <QByteArray>

// The program-wide variables of one run. Texts are bytes. The flags of the dialogue with the unit are the
// dialogue's own (engine/Dialogue.h).
struct SharedState {
    QByteArray uploadPayload;
    QByteArray parOru = "4#4#0#0#1#7#2#0";
    QByteArray parRl1 = "55#1#03#1";
    QByteArray parRl2 = "66#1#03#1";
    QByteArray parKey = "2#0";
    QByteArray languageName = "Eng";
    QByteArray detectLine;
    QByteArray memoFilter;
    QByteArray buttonFilter;
    QByteArray editionName = "ORU";
    int signalLevel = 0;
    int uploadIndex = 0;
    int serialWaitMs = 1000;
};
