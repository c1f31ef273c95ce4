#include "results/FtpAddress.h"

namespace {

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsControlOrSpace(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F;
}

int HexValue(char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsControlOrSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsControlOrSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// %XX decoded; a "%" that starts no escape stays as it is.
std::string Decoded(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                decoded += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        decoded += text[i];
    }
    return decoded;
}

} // namespace

std::optional<FtpAddress> FtpAddress::Parse(std::string_view text) {
    text = Trimmed(text);
    const size_t separator = text.find("://");
    if (separator == std::string_view::npos || separator == 0 || !IsAlpha(text[0]))
        return std::nullopt;
    FtpAddress address;
    for (char c : text.substr(0, separator)) {
        if (!IsAlpha(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.')
            return std::nullopt;
        address.scheme += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    text.remove_prefix(separator + 3);

    const size_t slash = text.find('/');
    std::string_view authority = text.substr(0, slash);
    const std::string_view path = slash == std::string_view::npos ? "" : text.substr(slash);
    // Credentials in the address are not used: the dialog's log-on is.
    if (const size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);

    std::string_view port;
    // A bracketed IPv6 host keeps its colons.
    const size_t hostEnd = authority.starts_with('[') ? authority.find(']') : 0;
    if (hostEnd == std::string_view::npos)
        return std::nullopt;
    const size_t colon = authority.find(':', hostEnd);
    address.host = authority.substr(0, colon);
    if (colon != std::string_view::npos) {
        port = authority.substr(colon + 1);
        if (port.empty())
            return std::nullopt;
    }
    for (char c : address.host)
        if (IsControlOrSpace(c))
            return std::nullopt;
    if (!port.empty()) {
        int value = 0;
        for (char c : port) {
            if (!IsDigit(c) || value > 65535)
                return std::nullopt;
            value = value * 10 + (c - '0');
        }
        if (value < 1 || value > 65535)
            return std::nullopt;
        address.port = value;
    }

    address.path = Decoded(path);
    // A line break would smuggle another command to the server.
    for (char c : address.path)
        if (c == '\r' || c == '\n' || c == '\0')
            return std::nullopt;
    return address;
}

FtpAddress::Security FtpAddress::SecurityOf() const {
    if (scheme == "ftps")
        return Security::ImplicitTls;
    if (scheme == "ftpes")
        return Security::ExplicitTls;
    return Security::Plain;
}

int FtpAddress::PortToUse() const {
    if (port)
        return port;
    return SecurityOf() == Security::ImplicitTls ? DefaultImplicitTlsPort : DefaultPort;
}

std::optional<FtpAddress> FtpAddress::ParseOrAssumeFtp(std::string_view text) {
    if (auto address = Parse(text))
        return address;
    return Parse("ftp://" + std::string(Trimmed(text)));
}
