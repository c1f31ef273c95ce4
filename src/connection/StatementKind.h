#pragma once

#include <string>
#include <string_view>

// What a statement is, judged by the first characters of its left-trimmed text.
enum class StatementKind {
    Empty,   // nothing but white space
    Query,   // SELECT, {CALL, {?=CALL: its rows go to the result grid
    Comment, // REM, --: ignored
    Script,  // @: a script file to run
    Other,   // executed directly
};

// The text without its leading blanks, tabs, CR, LF, VT and FF; the rest is untouched.
std::string_view LeftTrimmed(std::string_view text);
// Classifies a text (trimmed or not). Prefixes compare without letter case.
StatementKind ClassifyStatement(std::string_view text);
