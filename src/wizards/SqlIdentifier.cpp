#include "wizards/SqlIdentifier.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// ODBC's reserved keywords: a name spelled like one of these must be quoted
// whatever the driver says.
constexpr std::array<std::string_view, 235> OdbcReserved = {"ABSOLUTE",
                                                            "ACTION",
                                                            "ADA",
                                                            "ADD",
                                                            "ALL",
                                                            "ALLOCATE",
                                                            "ALTER",
                                                            "AND",
                                                            "ANY",
                                                            "ARE",
                                                            "AS",
                                                            "ASC",
                                                            "ASSERTION",
                                                            "AT",
                                                            "AUTHORIZATION",
                                                            "AVG",
                                                            "BEGIN",
                                                            "BETWEEN",
                                                            "BIT",
                                                            "BIT_LENGTH",
                                                            "BOTH",
                                                            "BY",
                                                            "CASCADE",
                                                            "CASCADED",
                                                            "CASE",
                                                            "CAST",
                                                            "CATALOG",
                                                            "CHAR",
                                                            "CHAR_LENGTH",
                                                            "CHARACTER",
                                                            "CHARACTER_LENGTH",
                                                            "CHECK",
                                                            "CLOSE",
                                                            "COALESCE",
                                                            "COLLATE",
                                                            "COLLATION",
                                                            "COLUMN",
                                                            "COMMIT",
                                                            "CONNECT",
                                                            "CONNECTION",
                                                            "CONSTRAINT",
                                                            "CONSTRAINTS",
                                                            "CONTINUE",
                                                            "CONVERT",
                                                            "CORRESPONDING",
                                                            "COUNT",
                                                            "CREATE",
                                                            "CROSS",
                                                            "CURRENT",
                                                            "CURRENT_DATE",
                                                            "CURRENT_TIME",
                                                            "CURRENT_TIMESTAMP",
                                                            "CURRENT_USER",
                                                            "CURSOR",
                                                            "DATE",
                                                            "DAY",
                                                            "DEALLOCATE",
                                                            "DEC",
                                                            "DECIMAL",
                                                            "DECLARE",
                                                            "DEFAULT",
                                                            "DEFERRABLE",
                                                            "DEFERRED",
                                                            "DELETE",
                                                            "DESC",
                                                            "DESCRIBE",
                                                            "DESCRIPTOR",
                                                            "DIAGNOSTICS",
                                                            "DISCONNECT",
                                                            "DISTINCT",
                                                            "DOMAIN",
                                                            "DOUBLE",
                                                            "DROP",
                                                            "ELSE",
                                                            "END",
                                                            "END-EXEC",
                                                            "ESCAPE",
                                                            "EXCEPT",
                                                            "EXCEPTION",
                                                            "EXEC",
                                                            "EXECUTE",
                                                            "EXISTS",
                                                            "EXTERNAL",
                                                            "EXTRACT",
                                                            "FALSE",
                                                            "FETCH",
                                                            "FIRST",
                                                            "FLOAT",
                                                            "FOR",
                                                            "FOREIGN",
                                                            "FORTRAN",
                                                            "FOUND",
                                                            "FROM",
                                                            "FULL",
                                                            "GET",
                                                            "GLOBAL",
                                                            "GO",
                                                            "GOTO",
                                                            "GRANT",
                                                            "GROUP",
                                                            "HAVING",
                                                            "HOUR",
                                                            "IDENTITY",
                                                            "IMMEDIATE",
                                                            "IN",
                                                            "INCLUDE",
                                                            "INDEX",
                                                            "INDICATOR",
                                                            "INITIALLY",
                                                            "INNER",
                                                            "INPUT",
                                                            "INSENSITIVE",
                                                            "INSERT",
                                                            "INT",
                                                            "INTEGER",
                                                            "INTERSECT",
                                                            "INTERVAL",
                                                            "INTO",
                                                            "IS",
                                                            "ISOLATION",
                                                            "JOIN",
                                                            "KEY",
                                                            "LANGUAGE",
                                                            "LAST",
                                                            "LEADING",
                                                            "LEFT",
                                                            "LEVEL",
                                                            "LIKE",
                                                            "LOCAL",
                                                            "LOWER",
                                                            "MATCH",
                                                            "MAX",
                                                            "MIN",
                                                            "MINUTE",
                                                            "MODULE",
                                                            "MONTH",
                                                            "NAMES",
                                                            "NATIONAL",
                                                            "NATURAL",
                                                            "NCHAR",
                                                            "NEXT",
                                                            "NO",
                                                            "NONE",
                                                            "NOT",
                                                            "NULL",
                                                            "NULLIF",
                                                            "NUMERIC",
                                                            "OCTET_LENGTH",
                                                            "OF",
                                                            "ON",
                                                            "ONLY",
                                                            "OPEN",
                                                            "OPTION",
                                                            "OR",
                                                            "ORDER",
                                                            "OUTER",
                                                            "OUTPUT",
                                                            "OVERLAPS",
                                                            "PAD",
                                                            "PARTIAL",
                                                            "PASCAL",
                                                            "POSITION",
                                                            "PRECISION",
                                                            "PREPARE",
                                                            "PRESERVE",
                                                            "PRIMARY",
                                                            "PRIOR",
                                                            "PRIVILEGES",
                                                            "PROCEDURE",
                                                            "PUBLIC",
                                                            "READ",
                                                            "REAL",
                                                            "REFERENCES",
                                                            "RELATIVE",
                                                            "RESTRICT",
                                                            "REVOKE",
                                                            "RIGHT",
                                                            "ROLLBACK",
                                                            "ROWS",
                                                            "SCHEMA",
                                                            "SCROLL",
                                                            "SECOND",
                                                            "SECTION",
                                                            "SELECT",
                                                            "SESSION",
                                                            "SESSION_USER",
                                                            "SET",
                                                            "SIZE",
                                                            "SMALLINT",
                                                            "SOME",
                                                            "SPACE",
                                                            "SQL",
                                                            "SQLCA",
                                                            "SQLCODE",
                                                            "SQLERROR",
                                                            "SQLSTATE",
                                                            "SQLWARNING",
                                                            "SUBSTRING",
                                                            "SUM",
                                                            "SYSTEM_USER",
                                                            "TABLE",
                                                            "TEMPORARY",
                                                            "THEN",
                                                            "TIME",
                                                            "TIMESTAMP",
                                                            "TIMEZONE_HOUR",
                                                            "TIMEZONE_MINUTE",
                                                            "TO",
                                                            "TRAILING",
                                                            "TRANSACTION",
                                                            "TRANSLATE",
                                                            "TRANSLATION",
                                                            "TRIM",
                                                            "TRUE",
                                                            "UNION",
                                                            "UNIQUE",
                                                            "UNKNOWN",
                                                            "UPDATE",
                                                            "UPPER",
                                                            "USAGE",
                                                            "USER",
                                                            "USING",
                                                            "VALUE",
                                                            "VALUES",
                                                            "VARCHAR",
                                                            "VARYING",
                                                            "VIEW",
                                                            "WHEN",
                                                            "WHENEVER",
                                                            "WHERE",
                                                            "WITH",
                                                            "WORK",
                                                            "WRITE",
                                                            "YEAR",
                                                            "ZONE"};

std::string Upper(std::string text) {
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

bool Blank(const std::string &text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

} // namespace

SqlIdentifier::SqlIdentifier(std::string quote, const std::string &driverKeywords)
    : m_quote(Blank(quote) ? std::string() : std::move(quote)) {
    std::string word;
    for (size_t i = 0; i <= driverKeywords.size(); ++i) {
        const char c = i < driverKeywords.size() ? driverKeywords[i] : ',';
        if (c == ',') {
            if (!word.empty())
                m_driverKeywords.insert(Upper(word));
            word.clear();
        } else if (c != ' ') {
            word += c;
        }
    }
}

bool SqlIdentifier::IsRegular(const std::string &name) {
    if (name.empty() || (name[0] >= '0' && name[0] <= '9'))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

bool SqlIdentifier::IsReserved(const std::string &name) const {
    const std::string upper = Upper(name);
    return std::find(OdbcReserved.begin(), OdbcReserved.end(), upper) != OdbcReserved.end() ||
           m_driverKeywords.count(upper) != 0;
}

std::string SqlIdentifier::Written(const std::string &name) const {
    if (name.empty() || m_quote.empty() || (IsRegular(name) && !IsReserved(name)))
        return name;
    std::string written = m_quote;
    for (size_t i = 0; i < name.size();) {
        if (name.compare(i, m_quote.size(), m_quote) == 0) {
            written += m_quote + m_quote;
            i += m_quote.size();
        } else {
            written += name[i++];
        }
    }
    return written + m_quote;
}

std::string SqlIdentifier::Bare(const std::string &text) const {
    const size_t q = m_quote.size();
    if (q == 0 || text.size() < 2 * q || text.compare(0, q, m_quote) != 0 ||
        text.compare(text.size() - q, q, m_quote) != 0)
        return text;
    const std::string inner = text.substr(q, text.size() - 2 * q);
    std::string bare;
    for (size_t i = 0; i < inner.size();) {
        if (inner.compare(i, 2 * q, m_quote + m_quote) == 0) {
            bare += m_quote;
            i += 2 * q;
        } else {
            bare += inner[i++];
        }
    }
    return bare;
}
