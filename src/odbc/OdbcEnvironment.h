#pragma once

#include <memory>

#include <sql.h>

// The one ODBC environment of the process. Connections share it through
// Acquire(); it is freed when the last holder lets go.
class OdbcEnvironment {
public:
    ~OdbcEnvironment();
    OdbcEnvironment(const OdbcEnvironment &) = delete;
    OdbcEnvironment &operator=(const OdbcEnvironment &) = delete;

    // Throws DatabaseError when the driver manager cannot allocate it.
    static std::shared_ptr<OdbcEnvironment> Acquire();
    // True while some connection still holds the environment.
    static bool IsAllocated();

    SQLHENV Handle() const noexcept { return m_env; }

private:
    OdbcEnvironment();
    SQLHENV m_env = SQL_NULL_HENV;
};
