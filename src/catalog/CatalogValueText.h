#pragma once

#include <cstdint>
#include <string>

// The texts the catalog presentations show for coded catalog values. A code a
// map does not know is shown through its last entry ("Unknown (%d)"), never
// dropped, so a driver's extension codes stay visible.

// COLUMN_TYPE of a procedure column.
std::string ColumnTypeText(int32_t code);
// TYPE of a statistics row.
std::string StatisticTypeText(int32_t code);
// SCOPE of a special column.
std::string ScopeText(int32_t code);
// PSEUDO_COLUMN of a special column; 0 (unknown) too is shown with its number.
std::string PseudoColumnText(int32_t code);
// UPDATE_RULE and DELETE_RULE of a foreign key.
std::string RuleText(int32_t code);
// PROCEDURE_TYPE of a procedure.
std::string ProcedureTypeText(int32_t code);
// NULLABLE of a column or procedure column.
std::string NullableText(int32_t code);
// NON_UNIQUE of an index column.
std::string NonUniqueText(int32_t code);
// COLLATION of an index column: only an upper-case "A" or "D" is understood.
std::string CollationText(const std::string &collation);
