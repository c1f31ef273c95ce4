#pragma once

#include <optional>
#include <string>
#include <string_view>

// An upload address taken apart: "ftp://host:2121/pub/web" or, retried with
// "ftp://" in front, "host/pub/web".
struct FtpAddress {
    static constexpr int DefaultPort = 21;

    std::string scheme; // lower case
    std::string host;   // may be empty
    int port = 0;       // 0: none given
    std::string path;   // percent-decoded, "" when the address names none

    // Needs "scheme://"; nullopt when the text is no address.
    static std::optional<FtpAddress> Parse(std::string_view text);
    // Parse, then "ftp://" + text.
    static std::optional<FtpAddress> ParseOrAssumeFtp(std::string_view text);

    bool IsFtp() const { return scheme == "ftp"; }
    int PortToUse() const { return port ? port : DefaultPort; }
};
