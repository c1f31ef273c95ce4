#pragma once

#include <cstdint>

#include <QString>

// The version is set once, in CMake's project(); the build passes it in.
#ifndef BRINDLE_VERSION_MAJOR
#error "BRINDLE_VERSION_MAJOR and BRINDLE_VERSION_MINOR come from the build (CMakeLists.txt)"
#endif
static_assert(BRINDLE_VERSION_MAJOR < 256 && BRINDLE_VERSION_MINOR < 256,
              "the version number holds major and minor in one byte each");

// The program's name and version, as every part shows them.
class AppVersion {
public:
    // Major in the high byte, minor in the low byte.
    static constexpr uint16_t Number = (BRINDLE_VERSION_MAJOR << 8) | BRINDLE_VERSION_MINOR;

    static QString Title() { return QStringLiteral("Brindle"); }
    // "Brindle Version 2.1 ": the console banner, export files and printed pages.
    static QString Text() {
        return QStringLiteral("%1 Version %2.%3 ").arg(Title()).arg(Number >> 8).arg(Number & 0xFF);
    }
};
