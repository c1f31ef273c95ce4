#include "connection/CDriverInfo.h"

#include <sqlext.h>

#include "catalog/recordsets/CTypeInfo.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcConnection.h"

namespace {

// The answer as a text, or empty when the driver failed the call.
std::string TextInfo(const OdbcConnection &connection, SQLUSMALLINT type) {
    bool ok = false;
    std::string text = connection.InfoText(type, &ok);
    return ok ? text : std::string();
}

// A 16-bit answer put through `map`; empty when the driver failed the call,
// so a failure never reads as the value 0.
std::string MappedInfo(const OdbcConnection &connection, SQLUSMALLINT type,
                       std::string (*map)(uint16_t)) {
    bool ok = false;
    const SQLUSMALLINT value = connection.InfoU16(type, &ok);
    return ok ? map(value) : std::string();
}

std::string MappedText(const OdbcConnection &connection, SQLUSMALLINT type,
                       std::string (*map)(const std::string &)) {
    bool ok = false;
    const std::string answer = connection.InfoText(type, &ok);
    return ok ? map(answer) : std::string();
}

} // namespace

CDriverInfo::CDriverInfo(OdbcConnection &connection) {
    if (!connection.IsOpen())
        return;
    m_texts[UserName] = TextInfo(connection, SQL_USER_NAME);
    m_texts[ServerName] = TextInfo(connection, SQL_SERVER_NAME);
    m_texts[DbmsName] = TextInfo(connection, SQL_DBMS_NAME);
    m_texts[DbmsVersion] = TextInfo(connection, SQL_DBMS_VER);
    m_texts[DriverName] = TextInfo(connection, SQL_DRIVER_NAME);
    m_texts[DriverOdbcVersion] = TextInfo(connection, SQL_DRIVER_ODBC_VER);
    m_texts[DriverVersion] = TextInfo(connection, SQL_DRIVER_VER);
    m_texts[OdbcVersion] = TextInfo(connection, SQL_ODBC_VER);
    m_texts[OdbcApiConformance] =
        MappedInfo(connection, SQL_ODBC_API_CONFORMANCE, &ApiConformanceText);
    m_texts[SagCompliant] = MappedInfo(connection, SQL_ODBC_SAG_CLI_CONFORMANCE, &SagText);
    m_texts[OdbcSqlConformance] =
        MappedInfo(connection, SQL_ODBC_SQL_CONFORMANCE, &SqlConformanceText);
    m_texts[OptionalIef] = MappedText(connection, SQL_ODBC_SQL_OPT_IEF, &YesNoSupportedText);
    m_texts[ActiveConnections] = MappedInfo(connection, SQL_ACTIVE_CONNECTIONS, &LimitText);
    m_texts[ActiveStatements] = MappedInfo(connection, SQL_ACTIVE_STATEMENTS, &LimitText);
    m_texts[MultipleResultSets] = MappedText(connection, SQL_MULT_RESULT_SETS, &YesNoSupportedText);
    m_texts[FileUsage] = MappedInfo(connection, SQL_FILE_USAGE, &FileUsageText);
    m_texts[ReadWriteStatus] = MappedText(connection, SQL_DATA_SOURCE_READ_ONLY, &ReadOnlyText);
    m_texts[DataSourceName] = TextInfo(connection, SQL_DATA_SOURCE_NAME);
    m_texts[AccessibleProcedures] =
        MappedText(connection, SQL_ACCESSIBLE_PROCEDURES, &AccessibleText);
    m_texts[AccessibleTables] = MappedText(connection, SQL_ACCESSIBLE_TABLES, &AccessibleText);
    m_texts[DatabaseName] = TextInfo(connection, SQL_DATABASE_NAME);

    m_answers = ReadSyntaxAnswers(connection);
    m_functions = SyntaxEntries::Functions(m_answers);
    m_operators = SyntaxEntries::Operators(m_answers);
    m_joins = SyntaxEntries::Joins(m_answers);
    m_dateTime = SyntaxEntries::DateTimeLiterals(m_answers);
    m_procedureCall = SyntaxEntries::ProcedureCallEscape(m_answers);
    m_likeEscape = SyntaxEntries::LikeEscape(m_answers);
}

SyntaxAnswers CDriverInfo::ReadSyntaxAnswers(OdbcConnection &connection) {
    SyntaxAnswers answers;
    if (!connection.IsOpen())
        return answers;
    answers.convertFunctions = connection.InfoU32(SQL_CONVERT_FUNCTIONS);
    answers.numericFunctions = connection.InfoU32(SQL_NUMERIC_FUNCTIONS);
    answers.stringFunctions = connection.InfoU32(SQL_STRING_FUNCTIONS);
    answers.systemFunctions = connection.InfoU32(SQL_SYSTEM_FUNCTIONS);
    answers.timeDateFunctions = connection.InfoU32(SQL_TIMEDATE_FUNCTIONS);
    answers.subqueries = connection.InfoU32(SQL_SUBQUERIES);
    answers.outerJoins = connection.InfoU32(SQL_OJ_CAPABILITIES);
    try {
        CTypeInfo types(connection);
        if (types.Open(SQL_ALL_TYPES)) {
            for (; !types.IsEOF(); types.MoveNext())
                answers.dataTypes.push_back(types.DataType);
        }
    } catch (const DatabaseError &) {
        // A type list cut short would be a wrong one: none at all.
        answers.dataTypes.clear();
    }
    answers.procedures = TextInfo(connection, SQL_PROCEDURES);
    answers.likeEscapeClause = TextInfo(connection, SQL_LIKE_ESCAPE_CLAUSE);
    return answers;
}

const std::array<const char *, CDriverInfo::InfoCount> &CDriverInfo::Labels() {
    static const std::array<const char *, InfoCount> labels = {
        "User Name",
        "Server Name",
        "DBMS Name",
        "DBMS Version",
        "Driver Name",
        "Driver ODBC Version",
        "Driver Version",
        "ODBC Version",
        "ODBC API Conformance",
        "SAG Compliant",
        "ODBC SQL Conformance",
        "Optional IEF",
        "Active Connections",
        "Active Statements",
        "Multiple Result Sets",
        "File Usage",
        "Read-Write Status",
        "Data Source Name",
        "Accessible Procedures",
        "Accessible Tables",
        "Database Name",
    };
    return labels;
}

std::string CDriverInfo::ApiConformanceText(uint16_t value) {
    switch (value) {
    case 0:
        return "Core";
    case 1:
        return "Level 1";
    case 2:
        return "Level 2";
    default:
        return {};
    }
}

std::string CDriverInfo::SagText(uint16_t value) {
    switch (value) {
    case 0:
        return "No";
    case 1:
        return "Yes";
    default:
        return {};
    }
}

std::string CDriverInfo::SqlConformanceText(uint16_t value) {
    switch (value) {
    case 0:
        return "Minimum";
    case 1:
        return "Core";
    case 2:
        return "Extended";
    default:
        return {};
    }
}

std::string CDriverInfo::YesNoSupportedText(const std::string &answer) {
    if (answer == "Y")
        return "Supported";
    if (answer == "N")
        return "Not Supported";
    return answer;
}

std::string CDriverInfo::LimitText(uint16_t value) {
    if (value == 0)
        return "No Limit";
    return std::to_string(static_cast<int16_t>(value));
}

std::string CDriverInfo::FileUsageText(uint16_t value) {
    switch (value) {
    case 0:
        return "<n/a>, Driver not single-tier";
    case 1:
        return "Files are Tables";
    case 2:
        return "Files are Qualifiers";
    default:
        return {};
    }
}

std::string CDriverInfo::ReadOnlyText(const std::string &answer) {
    if (answer == "Y")
        return "Data source is read-only";
    if (answer == "N")
        return "Data source is read-write";
    return {};
}

std::string CDriverInfo::AccessibleText(const std::string &answer) {
    if (answer == "Y")
        return "Yes";
    if (answer == "N")
        return "No";
    return answer;
}
