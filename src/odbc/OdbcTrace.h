#pragma once

#include <cstdio>
#include <utility>

#include <sql.h>

#include "odbc/DatabaseError.h"

// The one place ODBC calls whose return code matters pass through: it can trace
// them to stderr (a debugging switch, off by default) and turns failures into
// DatabaseError.
class OdbcTrace {
public:
    static void SetEnabled(bool on) noexcept { Enabled() = on; }
    static bool IsEnabled() noexcept { return Enabled(); }

    // Calls again while the driver answers SQL_STILL_EXECUTING, so a driver
    // working asynchronously looks synchronous to the caller.
    template <typename F> static SQLRETURN Call(const char *name, F &&call) {
        SQLRETURN rc;
        do {
            rc = call();
        } while (rc == SQL_STILL_EXECUTING);
        if (Enabled())
            std::fprintf(stderr, "odbc: %s -> %d\n", name, static_cast<int>(rc));
        return rc;
    }

    // Throws unless rc is SQL_SUCCESS or SQL_SUCCESS_WITH_INFO.
    static void Check(SQLRETURN rc, SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt) {
        if (!SQL_SUCCEEDED(rc))
            throw DatabaseError::FromDiagnostics(rc, env, dbc, stmt);
    }
    // A call that must succeed: traced, and a failure thrown with its diagnostics.
    template <typename F>
    static void CallChecked(const char *name, SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, F &&call) {
        Check(Call(name, std::forward<F>(call)), env, dbc, stmt);
    }

private:
    static bool &Enabled() noexcept {
        static bool enabled = false;
        return enabled;
    }
};
