#pragma once

#include <cstdint>
#include <string>

// Reads an SQL file for Open SQL. Only a regular file of bounded size is read:
// a FIFO would block the window and a device like /dev/zero never ends.
class SqlFileReader {
public:
    static constexpr std::uintmax_t MaxBytes = std::uintmax_t(256) * 1024 * 1024;

    enum class Outcome { Read, Unreadable, NotAFile, TooLarge };

    // The whole file into `text` when Read; `text` is left alone otherwise.
    static Outcome Read(const std::string &path, std::string &text,
                        std::uintmax_t maxBytes = MaxBytes);
    // What to tell the user about a refused file; empty for Read and Unreadable,
    // which stay silent as a missing file always has.
    static std::string RefusalMessage(const std::string &shownPath, Outcome outcome,
                                      std::uintmax_t maxBytes = MaxBytes);
};
