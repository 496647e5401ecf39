#pragma once

#include <QByteArray>
#include <QString>

class TForm1;
class EntryTree;

// The location of a tree node "index:name[number]": its text before the first ":", trimmed of blanks.
// One that is no location of a SIM of capacity locations is refused (Failure): it goes into commands.
QByteArray nodeIndex(const QByteArray& nodeText, int capacity);

// Writes one module entry with a single command: over the location of the tree's selected node, or, with
// none selected, into the first free location (no index). The module's "OK" then starts the read-back
// that rebuilds the trees. A number or name the unit would cut apart is refused and nothing is sent.
void writeModuleEntry(TForm1& form, const EntryTree* tree, const QByteArray& number, const QByteArray& name);

// Sends a single write, whose answer is awaited, within the limit, as the start of a read-back; what it
// did (done) is said with that read-back's result.
void sendSingleWrite(TForm1& form, const QByteArray& command, const QString& done);
