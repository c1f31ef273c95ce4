#pragma once

#include <optional>
#include <string>
#include <string_view>

// An upload address taken apart: "ftp://host:2121/pub/web" or, retried with
// "ftp://" in front, "host/pub/web". "ftps://" speaks TLS from the first byte,
// "ftpes://" asks for it with AUTH TLS; both refuse a server without it.
struct FtpAddress {
    static constexpr int DefaultPort = 21;
    static constexpr int DefaultImplicitTlsPort = 990;

    enum class Security { Plain, ImplicitTls, ExplicitTls };

    std::string scheme; // lower case
    std::string host;   // may be empty
    int port = 0;       // 0: none given
    std::string path;   // percent-decoded, "" when the address names none

    // Needs "scheme://"; nullopt when the text is no address.
    static std::optional<FtpAddress> Parse(std::string_view text);
    // Parse, then "ftp://" + text.
    static std::optional<FtpAddress> ParseOrAssumeFtp(std::string_view text);

    // One of the three FTP schemes.
    bool IsFtp() const { return scheme == "ftp" || scheme == "ftps" || scheme == "ftpes"; }
    Security SecurityOf() const;
    int PortToUse() const;
};
