#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QLocale>
#include <QString>
#include <array>
#include <optional>

// An 8-bit Windows code page, the form in which texts travel to the unit and into files. Every byte
// stands for a character of its own, so bytes decoded and encoded again come back unchanged whatever
// they hold.
class CodePage {
public:
    static const CodePage Windows1250; // Central European
    static const CodePage Windows1251; // Cyrillic
    static const CodePage Windows1252; // Western
    // Every code page the program knows, in the order of their numbers.
    static const std::array<const CodePage*, 3> Known;

    // The code page of this name: "windows-1250", "cp1250" or "1250" and so on, letter case ignored;
    // nothing for a code page the program does not know.
    static const CodePage* named(QByteArrayView name);
    // The Windows code page of a language: whatever is written in Cyrillic windows-1251, Central European
    // languages windows-1250, all others windows-1252.
    static const CodePage& forLanguage(QLocale::Language language, QLocale::Script script);
    // The code page of the system's language.
    static const CodePage& ofSystem();

    // The known code pages that hold every character of the text.
    static QList<const CodePage*> holding(const QString& text);

    QByteArrayView name() const { return m_name; }
    // The languages it is made for, as people call them: "Central European".
    QString languages() const { return QString::fromLatin1(m_languages); }
    QString decode(QByteArrayView bytes) const;
    // The first character of the text that the code page cannot hold; nothing when it holds them all.
    std::optional<QString> unheld(const QString& text) const;
    // A character the code page cannot hold is a Failure naming it, never a replacement.
    QByteArray encode(const QString& text) const;

private:
    constexpr CodePage(const char* name, const char* languages, const char16_t* high)
        : m_name(name), m_languages(languages), m_high(high) {}
    std::optional<char> byteOf(QChar c) const;

    const char* m_name;
    const char* m_languages;
    const char16_t* m_high; // the characters of the bytes 0x80 to 0xFF
};
