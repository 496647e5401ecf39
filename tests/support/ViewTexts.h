#pragma once

#include "files/PhoneBookList.h"
#include "modules/EntryTree.h"

#include <QByteArrayList>

// The grid's lines, name=number, in order.
inline QByteArrayList gridLines(const PhoneBookList* grid) {
    QByteArrayList lines;
    for (int i = 0; i < grid->lineCount(); ++i)
        lines << grid->line(i);
    return lines;
}

// A tree's node texts, in order.
inline QByteArrayList nodes(const EntryTree* tree) {
    QByteArrayList texts;
    for (int i = 0; i < tree->nodeCount(); ++i)
        texts << tree->nodeText(i);
    return texts;
}
