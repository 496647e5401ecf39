#pragma once

#include <span>

// One caption or hint of the window as the settings file keeps it. In a key or default text,
// "{device}" stands for the edition's device name.
struct TextRow {
    const char* key;
    const char* defaultText; // nullptr: the key itself
    const char* target;      // objectName of the control that shows the text
    const char* copies = ""; // objectNames, separated by blanks, that show the target's text too
    bool written = true;     // false: the text is not written back at close under this row
};

inline constexpr const char* devicePlaceholder = "{device}";

// Section [Language]: captions, in the order they are read.
std::span<const TextRow> captionRows();
// Section [Help]: hints, in the order they are read.
std::span<const TextRow> hintRows();
