#pragma once

#include <string>
#include <vector>

#include <sql.h>

// What the driver manager knows of data sources and drivers, for our own
// data-source dialog. Both lists are read on the shared environment and throw
// DatabaseError when the driver manager fails.
struct DataSourceEntry {
    std::string name;
    // What the driver manager describes the source by: usually its driver's name.
    std::string description;
};

struct DriverEntry {
    std::string name;
    // "KEY=value" texts as the driver manager lists them.
    std::vector<std::string> attributes;
};

// `direction` is SQL_FETCH_FIRST_USER, SQL_FETCH_FIRST_SYSTEM or SQL_FETCH_FIRST.
std::vector<DataSourceEntry> ListDataSources(SQLUSMALLINT direction);
std::vector<DriverEntry> ListDrivers();
