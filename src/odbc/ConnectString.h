#pragma once

#include <string>
#include <string_view>
#include <vector>

class OdbcConnection;

// Reading the connect string a connection keeps: "ODBC;" followed by the
// connection string the driver manager returned. Elements are KEY=value,
// separated by ";"; a value in braces may itself contain ";".
class ConnectString {
public:
    static constexpr const char *NoDataSourceText = "[No Data Source Selected]";
    static constexpr const char *DefaultName = "Default";
    // What stands in for a password value wherever a connect string is shown.
    static constexpr const char *PasswordMask = "*****";

    // The name a connection goes by: the text after the first "DSN=" (case
    // matters; it may be the tail of "FILEDSN=") up to the next ";", empty when
    // no ";" follows; without "DSN=", `databaseName` less any leading path.
    // An empty name becomes "Default".
    static std::string DataSourceName(const std::string &connect, const std::string &databaseName);
    // The same for an open connection, asking the driver for the database name
    // only when it is needed; "[No Data Source Selected]" when not open.
    static std::string DataSourceName(const OdbcConnection &connection);

    // The elements in order, braces kept, the separating ";" dropped, empty
    // elements skipped. Only a "{" that starts a value (right after the "=")
    // shields ";", and only when a "}" closes it; inside braces "}}" stands for
    // one "}".
    static std::vector<std::string> Elements(std::string_view connect);

    // The text before an element's first "=" without surrounding blanks (all of
    // it when there is no "=").
    static std::string_view Key(std::string_view element);
    // The text after an element's first "=", a value in braces without them and
    // with "}}" read as "}"; empty when there is no "=".
    static std::string Value(std::string_view element);

    // A value as an element can hold it: as it stands, or in braces (with "}"
    // doubled) when it holds a character the connect-string syntax reserves.
    static std::string Braced(std::string_view value);

    // Whether an element carries a password: its key starts with "PWD" or is
    // "PASSWORD", in any letter case, leading blanks ignored.
    static bool IsPasswordElement(std::string_view element);

    // The connect string with the value of every password element replaced by
    // "*****" (never the real length); everything else as it stands.
    static std::string MaskPassword(const std::string &connect);

private:
    struct Span {
        size_t begin;
        size_t length;
    };
    static std::vector<Span> Split(std::string_view connect);
};
