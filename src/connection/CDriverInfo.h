#pragma once

#include <array>
#include <cstdint>
#include <string>

class OdbcConnection;

// What the driver reports about itself and the data source, read once when
// built and read-only afterwards. A connection that is not open leaves every
// text empty.
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

    explicit CDriverInfo(const OdbcConnection &connection);

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

    // The Syntax Dictionary's entry lists and escape texts join here; they are
    // filled right after the information texts, from the same connection.

private:
    Texts m_texts;
};
