#pragma once

#include <cstdint>

#include <QString>

// The program's name and version, as every part shows them.
class AppVersion {
public:
    // Major in the high byte, minor in the low byte.
    static constexpr uint16_t Number = 0x0201;

    static QString Title() { return QStringLiteral("Brindle"); }
    // "Brindle Version 2.1 ": the console banner, export files and printed pages.
    static QString Text() {
        return QStringLiteral("%1 Version %2.%3 ").arg(Title()).arg(Number >> 8).arg(Number & 0xFF);
    }
};
