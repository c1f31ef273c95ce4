#include "console/SqlFileReader.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

SqlFileReader::Outcome SqlFileReader::Read(const std::string &path, std::string &text,
                                           std::uintmax_t maxBytes) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status))
        return Outcome::Unreadable;
    // Checked before opening: opening a FIFO for reading already blocks.
    if (!std::filesystem::is_regular_file(status))
        return Outcome::NotAFile;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return Outcome::Unreadable;
    if (size > maxBytes)
        return Outcome::TooLarge;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return Outcome::Unreadable;
    // The file may grow or be replaced after the check: never read past the limit.
    std::string bytes(size_t(size), '\0');
    file.read(bytes.data(), std::streamsize(size));
    if (file.bad())
        return Outcome::Unreadable;
    bytes.resize(size_t(file.gcount()));
    if (file.peek() != std::ifstream::traits_type::eof()) {
        char more[4096];
        while (file.read(more, sizeof more) || file.gcount() > 0) {
            if (bytes.size() + size_t(file.gcount()) > maxBytes)
                return Outcome::TooLarge;
            bytes.append(more, size_t(file.gcount()));
        }
        if (file.bad())
            return Outcome::Unreadable;
    }
    text = std::move(bytes);
    return Outcome::Read;
}

std::string SqlFileReader::RefusalMessage(const std::string &shownPath, Outcome outcome,
                                          std::uintmax_t maxBytes) {
    switch (outcome) {
    case Outcome::NotAFile:
        return "File " + shownPath + " could not be opened: it is not a regular file.";
    case Outcome::TooLarge:
        return "File " + shownPath + " could not be opened: it is larger than " +
               std::to_string(maxBytes / (1024 * 1024)) + " MB.";
    default:
        return {};
    }
}
