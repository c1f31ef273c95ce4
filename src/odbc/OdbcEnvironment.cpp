#include "odbc/OdbcEnvironment.h"

#include <sqlext.h>

#include <mutex>

#include "odbc/DatabaseError.h"

namespace {
// Connections are made on their workers' threads, several at a time.
std::mutex g_environmentMutex;
std::weak_ptr<OdbcEnvironment> g_environment;
} // namespace

OdbcEnvironment::OdbcEnvironment() {
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env);
    if (!SQL_SUCCEEDED(rc))
        throw DatabaseError::ConnectionLayer(1011);
    rc = SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(rc)) {
        DatabaseError error = DatabaseError::FromDiagnostics(rc, m_env, nullptr, nullptr);
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
        throw error;
    }
}

OdbcEnvironment::~OdbcEnvironment() {
    if (m_env != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
}

std::shared_ptr<OdbcEnvironment> OdbcEnvironment::Acquire() {
    std::lock_guard lock(g_environmentMutex);
    if (auto env = g_environment.lock())
        return env;
    std::shared_ptr<OdbcEnvironment> env(new OdbcEnvironment());
    g_environment = env;
    return env;
}

bool OdbcEnvironment::IsAllocated() {
    std::lock_guard lock(g_environmentMutex);
    return !g_environment.expired();
}
