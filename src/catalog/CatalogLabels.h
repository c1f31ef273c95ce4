#pragma once

#include <string>
#include <string_view>
#include <vector>

struct AppSettings;

// The label lists of the catalog presentations. Each list is written as
// comma-separated pieces, some chosen by the column-information settings, and
// split into one label per piece.

// One label per piece between commas, the piece after the last comma included.
std::vector<std::string> SplitLabels(std::string_view list);

// The 21 labels of the driver and data source information, in display order.
std::vector<std::string> DriverInfoLabels();
// Tables and procedures: "Catalog"/"Schema" when the driver manager's "ODBC
// Version" is above 2, otherwise (also when unknown) "Qualifier"/"Owner".
std::vector<std::string> CatalogWordingLabels(std::string_view odbcVersion);
// The major number of an "ODBC Version" text: what stands before the first ".",
// read as a decimal number; 0 when there is no ".".
long OdbcMajorVersion(std::string_view odbcVersion);

// Length, Precision (with Scale and Radix) and Nullable as the settings ask.
std::vector<std::string> ColumnLabels(const AppSettings &settings);
std::vector<std::string> ProcedureColumnLabels(const AppSettings &settings);
// Length and Precision (with Scale) as the settings ask; never Radix or Nullable.
std::vector<std::string> SpecialColumnLabels(const AppSettings &settings);

std::vector<std::string> PrivilegeLabels();
std::vector<std::string> StatisticsLabels();
std::vector<std::string> PrimaryKeyLabels();
std::vector<std::string> ForeignKeyLabels();
