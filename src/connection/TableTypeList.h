#pragma once

#include <string>

struct AppSettings;

// The table types the table list asks SQLTables for, as a quoted,
// comma-separated list: tables always, then views, system tables and
// synonyms as the settings allow.
std::string TableTypeList(const AppSettings &settings);
