#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "connection/SyntaxEntries.h"

class OdbcConnection;

// What the driver reports about itself and the data source, read once when
// built and read-only afterwards, and the Syntax Dictionary's entries built
// from it. A connection that is not open leaves every text and list empty.
class CDriverInfo {
public:
    // Positions of the information texts, in the order they are shown.
    enum Info : int {
        UserName,
        ServerName,
        DbmsName,
        DbmsVersion,
        DriverName,
        DriverOdbcVersion,
        DriverVersion,
        OdbcVersion,
        OdbcApiConformance,
        SagCompliant,
        OdbcSqlConformance,
        OptionalIef,
        ActiveConnections,
        ActiveStatements,
        MultipleResultSets,
        FileUsage,
        ReadWriteStatus,
        DataSourceName,
        AccessibleProcedures,
        AccessibleTables,
        DatabaseName,
        InfoCount
    };
    using Texts = std::array<std::string, InfoCount>;

    // Not const: the date/time literals come from a type query on the connection.
    explicit CDriverInfo(OdbcConnection &connection);

    const std::string &Text(Info info) const { return m_texts[info]; }
    const Texts &AllTexts() const noexcept { return m_texts; }
    // The label each text is shown under, by position.
    static const std::array<const char *, InfoCount> &Labels();

    // Value maps from SQLGetInfo answers to the texts shown.
    static std::string ApiConformanceText(uint16_t value);
    static std::string SagText(uint16_t value);
    static std::string SqlConformanceText(uint16_t value);
    // "Y" -> "Supported", "N" -> "Not Supported", anything else as it stands.
    static std::string YesNoSupportedText(const std::string &answer);
    // 0 is "No Limit"; other values read as a signed 16-bit number.
    static std::string LimitText(uint16_t value);
    static std::string FileUsageText(uint16_t value);
    // "Y"/"N" to a sentence; anything else is empty.
    static std::string ReadOnlyText(const std::string &answer);
    // "Y" -> "Yes", "N" -> "No", anything else as it stands.
    static std::string AccessibleText(const std::string &answer);

    // The Syntax Dictionary's entries: parallel syntax and description lists,
    // filtered by what the driver declares it supports.
    const SyntaxList &Functions() const noexcept { return m_functions; }
    const SyntaxList &Operators() const noexcept { return m_operators; }
    const SyntaxList &Joins() const noexcept { return m_joins; }
    const SyntaxList &DateTimeLiterals() const noexcept { return m_dateTime; }
    // The operator texts alone, for the wizards' Operator fields.
    const std::vector<std::string> &OperatorTexts() const noexcept { return m_operators.syntax; }
    // Empty when the driver does not support them.
    const std::string &ProcedureCallEscape() const noexcept { return m_procedureCall; }
    const std::string &LikeEscape() const noexcept { return m_likeEscape; }
    // What the driver answered for the lists above.
    const SyntaxAnswers &Answers() const noexcept { return m_answers; }

    // The driver's answers for the syntax lists; failed calls read as 0 or
    // empty, a failed type query as no types.
    static SyntaxAnswers ReadSyntaxAnswers(OdbcConnection &connection);

private:
    Texts m_texts;
    SyntaxAnswers m_answers;
    SyntaxList m_functions;
    SyntaxList m_operators;
    SyntaxList m_joins;
    SyntaxList m_dateTime;
    std::string m_procedureCall;
    std::string m_likeEscape;
};
