#include "sim/SimOptions.h"

SimOptions SimOptions::demo() {
    SimOptions options = realistic();
    const SimEntry entries[] = {
        {"+420603111222", "ADMIN1"},
        {"+420777333444", "ADMIN2"},
        {"+420603111222", "ABUTTON1"},
        {"+420777333444", "ABUTTON2"},
        {"+420222555666", "BBUTTON1"},
        {"Door forced open", "ALARMON"},
        {"Door closed again", "ALARMOFF"},
        {"4.12", "VER"},
        {"3#3#1#1#1#7#2#3", "PARORU"},
        {"5#1#05#0", "PARRL1"},
        {"6#3#10#0", "PARRL2"},
        {"2#0", "PARKEY"},
        {"603111222", "Novak"},
        {"777333444", "Dvorakova"},
        {"+420602000111", "B1-1"},
        {"+420602000222", "B1-2"},
        {"+420733000333", "B2-1"},
        {"+420605000444", "M10-1"},
        {"1#0", "C1234C"},
        {"2#1#1111100#**#1", "C5678C"},
        {"1#4#07#18#**#0", "C2468C"},
    };
    int index = 1;
    for (const SimEntry& entry : entries)
        options.phonebook[index++] = entry;
    return options;
}
