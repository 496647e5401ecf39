#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// One edition of the unit, chosen once at start-up from the executable's file name.
struct Edition {
    QByteArray editionName; // device name in titles and help texts
    QString title;          // window caption and application title; empty keeps "ZUVovu"
    QStringList pictures;   // pictures made visible on the "1 button" and "2 buttons" pages
    bool modules = false;   // shows the ModuleButtons and ModuleKeyboard tabs
    bool hidesImage5 = false;
};

// The first edition whose token occurs in the file name, letter case counting; the default otherwise.
Edition editionFor(const QString& fileName);
