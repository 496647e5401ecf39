#pragma once

#include "sim/SimOptions.h"

#include <QByteArray>
#include <QList>
#include <QMap>

// The SIM phonebook behind "AT+CPBR" and "AT+CPBW". Each command gives the lines the module answers,
// the last one being the result ("OK" or an error).
class SimPhonebook {
public:
    SimPhonebook(int capacity, int numberLength, int textLength);

    // Keeps entries within 1 .. capacity; others have no location to go to.
    void load(const QMap<int, SimEntry>& entries);
    const QMap<int, SimEntry>& entries() const { return m_entries; }

    // "AT+CPBR=?"
    QList<QByteArray> size() const;
    // "AT+CPBW=?"
    QList<QByteArray> writeRange() const;
    // "AT+CPBS?", "AT+CPBS=?" and "AT+CPBS=" storage: the SIM is the only storage there is.
    QList<QByteArray> storage() const;
    QList<QByteArray> storages() const;
    QList<QByteArray> selectStorage(const QByteArray& args) const;
    // "AT+CPBR=" + first [+ "," + last]
    QList<QByteArray> read(const QByteArray& args) const;
    // "AT+CPBW=" + index [+ "," + number [+ "," + type [+ "," + name]]], fields quoted or bare; an empty
    // index takes the first free location, an index alone clears it. With store false the command is
    // checked and answered but the phonebook stays as it was.
    QList<QByteArray> write(const QByteArray& args, bool store = true);

private:
    bool inRange(int index) const { return index >= 1 && index <= m_capacity; }
    int firstFree() const;

    int m_capacity;
    int m_numberLength;
    int m_textLength;
    QMap<int, SimEntry> m_entries;
};
