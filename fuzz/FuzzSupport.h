#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <cstddef>
#include <cstdint>

// What the fuzz targets share. Each target is one LLVMFuzzerTestOneInput over one input of the program;
// libFuzzer drives it in the fuzz build, and the replay test runs it on every corpus file and finding.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// The offscreen application the window needs, made once for the process unless one exists already.
void startApplication();

// The fuzzer's input as bytes.
inline QByteArray inputBytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A property of the program that the input broke: says which and what was found, then aborts, so that
// libFuzzer keeps the input as a finding and the replay test fails on it.
[[noreturn]] void propertyBroken(const char* property, const QString& found);

#define FUZZ_CHECK(condition, found)                                                                         \
    do {                                                                                                     \
        if (!(condition)) propertyBroken(#condition, found);                                                 \
    } while (false)

// Shows bytes readably in a report: printable ASCII as it is, every other byte as \xHH.
QString printable(const QByteArray& bytes);

// Puts the working folder back when the run ends: loading an upgrade list makes the list's folder the
// working folder, and each input starts where the last one did.
struct WorkingFolderKept {
    WorkingFolderKept();
    ~WorkingFolderKept();
    WorkingFolderKept(const WorkingFolderKept&) = delete;
    WorkingFolderKept& operator=(const WorkingFolderKept&) = delete;
    const QString folder;
};

// Writes a file the target needs; a file that cannot be written ends the run.
void writeTargetFile(const QString& path, const QByteArray& bytes);

// A text as the receiver keeps it in a line: without the bytes below 32.
QByteArray asReceived(QByteArray text);

// Whether a fixed entry (numbered as in FixedEntries) shows the value given for it: a number edit as its
// filter keeps it, any other edit byte for byte. So does a parameter string, except that the decoder puts
// its fallback in place of a string whose length it does not know.
bool fixedEntryHolds(int entry, const QByteArray& shown, const QByteArray& given);
