#include "odbc/DriverManagerLists.h"

#include <sqlext.h>

#include "odbc/DatabaseError.h"
#include "odbc/OdbcEnvironment.h"

namespace {

// Room for any name or description a driver manager keeps; the lists can only
// be walked forwards, so a cut entry could not be asked for again.
constexpr SQLSMALLINT NameBufferSize = 1024;
constexpr SQLSMALLINT TextBufferSize = 8192;

std::string FromBuffer(const SQLCHAR *buffer, SQLSMALLINT length, SQLSMALLINT size) {
    if (length < 0)
        length = 0;
    if (length >= size)
        length = size - 1;
    return std::string(reinterpret_cast<const char *>(buffer), static_cast<size_t>(length));
}

// "A=1\0B=2\0\0" into its pieces.
std::vector<std::string> SplitAttributes(const SQLCHAR *buffer, SQLSMALLINT length,
                                         SQLSMALLINT size) {
    std::vector<std::string> pieces;
    if (length < 0)
        length = 0;
    if (length >= size)
        length = size - 1;
    std::string current;
    for (SQLSMALLINT i = 0; i < length; ++i) {
        const char c = static_cast<char>(buffer[i]);
        if (c == '\0') {
            if (!current.empty())
                pieces.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        pieces.push_back(current);
    return pieces;
}

} // namespace

std::vector<DataSourceEntry> ListDataSources(SQLUSMALLINT direction) {
    const std::shared_ptr<OdbcEnvironment> env = OdbcEnvironment::Acquire();
    std::vector<DataSourceEntry> entries;
    std::vector<SQLCHAR> name(NameBufferSize);
    std::vector<SQLCHAR> description(TextBufferSize);
    for (;;) {
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT descriptionLength = 0;
        const SQLRETURN rc =
            SQLDataSources(env->Handle(), direction, name.data(), NameBufferSize, &nameLength,
                           description.data(), TextBufferSize, &descriptionLength);
        if (rc == SQL_NO_DATA)
            break;
        if (!SQL_SUCCEEDED(rc))
            throw DatabaseError::FromDiagnostics(rc, env->Handle(), SQL_NULL_HDBC, SQL_NULL_HSTMT);
        entries.push_back({FromBuffer(name.data(), nameLength, NameBufferSize),
                           FromBuffer(description.data(), descriptionLength, TextBufferSize)});
        direction = SQL_FETCH_NEXT;
    }
    return entries;
}

std::vector<DriverEntry> ListDrivers() {
    const std::shared_ptr<OdbcEnvironment> env = OdbcEnvironment::Acquire();
    std::vector<DriverEntry> entries;
    std::vector<SQLCHAR> name(NameBufferSize);
    std::vector<SQLCHAR> attributes(TextBufferSize);
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT attributesLength = 0;
        const SQLRETURN rc =
            SQLDrivers(env->Handle(), direction, name.data(), NameBufferSize, &nameLength,
                       attributes.data(), TextBufferSize, &attributesLength);
        if (rc == SQL_NO_DATA)
            break;
        if (!SQL_SUCCEEDED(rc))
            throw DatabaseError::FromDiagnostics(rc, env->Handle(), SQL_NULL_HDBC, SQL_NULL_HSTMT);
        entries.push_back({FromBuffer(name.data(), nameLength, NameBufferSize),
                           SplitAttributes(attributes.data(), attributesLength, TextBufferSize)});
        direction = SQL_FETCH_NEXT;
    }
    return entries;
}
