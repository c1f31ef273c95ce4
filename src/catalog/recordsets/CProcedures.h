#pragma once

#include <cstdint>
#include <string>

#include "odbc/Recordset.h"

// Rows of SQLProcedures. The parameter and result-set counts (columns 4 to 6)
// are not bound: drivers rarely know them.
class CProcedures : public Recordset {
public:
    enum Field {
        FieldProcedureQualifier,
        FieldProcedureOwner,
        FieldProcedureName,
        FieldRemarks,
        FieldProcedureType,
    };

    explicit CProcedures(OdbcConnection &connection);

    // Null arguments restrict nothing. False when the driver lacks SQLProcedures
    // or no statement could be had.
    bool Open(const char *qualifier, const char *owner, const char *procedureName,
              OpenType type = OpenType::Snapshot);

    std::string ProcedureQualifier;
    std::string ProcedureOwner;
    std::string ProcedureName;
    std::string Remarks;
    int32_t ProcedureType = 0;
};
