#pragma once

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "TestDataSources.h"

// Points the driver manager's user data sources at a file of our own for the
// life of the object, so tests see a known user DSN and never touch the
// real ~/.odbc.ini.
class UserDataSourceFile {
public:
    static constexpr const char *DsnName = "BrindleUserDsn";
    static constexpr const char *Description = "Brindle test source";
    // What the driver manager lists as the description: the source's driver.
    static constexpr const char *Driver = "SQLite3";

    UserDataSourceFile() {
        if (const char *old = std::getenv("ODBCINI"))
            m_old = old;
        const std::string path = MakeTempDir() + "/odbc.ini";
        std::ofstream(path) << "[" << DsnName << "]\nDescription=" << Description
                            << "\nDriver=" << Driver << "\nDatabase=/nonexistent/x.db\n";
        setenv("ODBCINI", path.c_str(), 1);
    }
    ~UserDataSourceFile() {
        if (m_old)
            setenv("ODBCINI", m_old->c_str(), 1);
        else
            unsetenv("ODBCINI");
    }
    UserDataSourceFile(const UserDataSourceFile &) = delete;
    UserDataSourceFile &operator=(const UserDataSourceFile &) = delete;

private:
    std::optional<std::string> m_old;
};
