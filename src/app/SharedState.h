#pragma once

#include <QByteArray>

// The program-wide variables of one run. Texts are bytes; flags are plain booleans.
struct SharedState {
    QByteArray rxLine;
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
    int simCapacity = 0;
    int writeIndex = 0;
    int serialWaitMs = 1000;
    bool firstEntryPending = true;
    bool uploadActive = false;
    bool writeActive = false;
    bool lteModule = false;
    bool asendPending = false;
    int writeStep = 0;
    bool stopSeen = false;
    bool rereadPending = false;
    // The read-back now running, or the last one, found the "DETECT" entry at detectLine's location.
    bool detectFound = false;
};
