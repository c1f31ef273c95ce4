#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The Syntax Dictionary's entries, built from what a driver answers about
// itself: plain functions of those answers, so any set of answers can be tried
// without a driver.

// Syntax texts with their descriptions, in parallel and in the order added.
struct SyntaxList {
    std::vector<std::string> syntax;
    std::vector<std::string> descriptions;
};

// The driver's answers the lists are built from. A bitmask the driver failed
// to give is 0, a text it failed to give is empty.
struct SyntaxAnswers {
    uint32_t convertFunctions = 0;  // SQL_CONVERT_FUNCTIONS
    uint32_t numericFunctions = 0;  // SQL_NUMERIC_FUNCTIONS
    uint32_t stringFunctions = 0;   // SQL_STRING_FUNCTIONS
    uint32_t systemFunctions = 0;   // SQL_SYSTEM_FUNCTIONS
    uint32_t timeDateFunctions = 0; // SQL_TIMEDATE_FUNCTIONS
    uint32_t subqueries = 0;        // SQL_SUBQUERIES
    uint32_t outerJoins = 0;        // SQL_OJ_CAPABILITIES
    // DATA_TYPE of every row of SQLGetTypeInfo(SQL_ALL_TYPES), in the driver's order.
    std::vector<int32_t> dataTypes;
    std::string procedures;       // SQL_PROCEDURES
    std::string likeEscapeClause; // SQL_LIKE_ESCAPE_CLAUSE
};

namespace SyntaxEntries {

// The five aggregates, then the scalar functions whose bits are set, group by
// group: conversion, numeric, string, system, time and date.
SyntaxList Functions(const SyntaxAnswers &answers);
// The 26 comparison operators, then EXISTS and NOT EXISTS when subqueries may use them.
SyntaxList Operators(const SyntaxAnswers &answers);
// LEFT, RIGHT and FULL outer joins the driver offers, each followed by its
// nested form when outer joins nest.
SyntaxList Joins(const SyntaxAnswers &answers);
// One date, time, timestamp or interval literal per type row of those kinds.
SyntaxList DateTimeLiterals(const SyntaxAnswers &answers);
// The procedure-call escape when SQL_PROCEDURES is "Y", otherwise empty.
std::string ProcedureCallEscape(const SyntaxAnswers &answers);
// The LIKE escape clause when SQL_LIKE_ESCAPE_CLAUSE is "Y", otherwise empty.
std::string LikeEscape(const SyntaxAnswers &answers);

} // namespace SyntaxEntries
