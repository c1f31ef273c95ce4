#include "catalog/CatalogLabels.h"

#include <cerrno>
#include <cstdlib>

#include "framework/AppSettings.h"

std::vector<std::string> SplitLabels(std::string_view list) {
    std::vector<std::string> labels;
    size_t start = 0;
    for (;;) {
        const size_t comma = list.find(',', start);
        if (comma == std::string_view::npos) {
            labels.emplace_back(list.substr(start));
            return labels;
        }
        labels.emplace_back(list.substr(start, comma - start));
        start = comma + 1;
    }
}

std::vector<std::string> DriverInfoLabels() {
    return SplitLabels(std::string("User Name,Server Name,DBMS Name,DBMS Version,") +
                       "Driver Name,Driver ODBC Version,Driver Version,ODBC Version," +
                       "ODBC API Conformance,SAG Compliant,ODBC SQL Conformance," +
                       "Optional IEF,Active Connections,Active Statements," +
                       "Multiple Result Sets,File Usage,Read-Write Status," +
                       "Data Source Name,Accessible Procedures," +
                       "Accessible Tables,Database Name");
}

long OdbcMajorVersion(std::string_view odbcVersion) {
    const size_t dot = odbcVersion.find('.');
    if (dot == std::string_view::npos)
        return 0;
    const std::string major(odbcVersion.substr(0, dot));
    errno = 0;
    const long value = std::strtol(major.c_str(), nullptr, 10);
    return errno == ERANGE ? 0 : value;
}

std::vector<std::string> CatalogWordingLabels(std::string_view odbcVersion) {
    if (OdbcMajorVersion(odbcVersion) > 2)
        return SplitLabels("Name,Type,Catalog,Schema,Remarks");
    return SplitLabels("Name,Type,Qualifier,Owner,Remarks");
}

namespace {

std::string OptionalLabels(const AppSettings &settings, const char *precisionPieces,
                           bool nullable) {
    std::string list;
    if (settings.Length)
        list += ",Length";
    if (settings.Precision)
        list += precisionPieces;
    if (nullable && settings.Nullability)
        list += ",Nullable";
    return list;
}

} // namespace

std::vector<std::string> ColumnLabels(const AppSettings &settings) {
    return SplitLabels("Name,Type" + OptionalLabels(settings, ",Precision,Scale,Radix", true) +
                       ",Remarks");
}

std::vector<std::string> ProcedureColumnLabels(const AppSettings &settings) {
    return SplitLabels("Name,Data,Type" + OptionalLabels(settings, ",Precision,Scale,Radix", true) +
                       ",Remarks");
}

std::vector<std::string> SpecialColumnLabels(const AppSettings &settings) {
    return SplitLabels("Name,Type" + OptionalLabels(settings, ",Precision,Scale", false) +
                       ",Return,Scope,Pseudo");
}

std::vector<std::string> PrivilegeLabels() {
    return SplitLabels("Name,Privilege,Grantable,Grantor,Grantee");
}

std::vector<std::string> StatisticsLabels() {
    return SplitLabels(std::string("Type,Table Name,Table Catalog,Table Schema,") +
                       "Index Name,Index Qualifier,Non Unique,Index Sequence," +
                       "Column Name,Collation,Cardinality,Pages,Filter Condition");
}

std::vector<std::string> PrimaryKeyLabels() { return SplitLabels("PK Column,PK Name,Sequence"); }

std::vector<std::string> ForeignKeyLabels() {
    return SplitLabels("FK Column,FK Name,Sequence,Update,Delete,PK Table,PK Column,PK Name");
}
