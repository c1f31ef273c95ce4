#include "connection/SyntaxEntries.h"

#include <string_view>

#include <sqlext.h>

// Numeric ranges in descriptions, as UTF-8 like every text on screen.
#define EN_DASH "\xE2\x80\x93"

namespace {

struct Entry {
    uint32_t bit;
    const char *syntax;
    const char *description;
};

// Shared by the five aggregates.
#define AGGREGATE_OPERANDS                                                                         \
    " Operands in expr can include the name of a table field, a constant, or a function (which "   \
    "can be either intrinsic or user-defined but not one of the other SQL aggregate functions)."

const Entry kAggregates[] = {
    {0, "AVG(expr)",
     "Calculates the arithmetic mean of a set of values contained in a specified field on a "
     "query." AGGREGATE_OPERANDS},
    {0, "COUNT(expr)",
     "Calculates the number of records returned by a query, counting the records in which expr "
     "is not null." AGGREGATE_OPERANDS},
    {0, "MAX(expr)",
     "Calculates the largest of a set of values contained in a specified field on a "
     "query." AGGREGATE_OPERANDS},
    {0, "MIN(expr)",
     "Calculates the smallest of a set of values contained in a specified field on a "
     "query." AGGREGATE_OPERANDS},
    {0, "SUM(expr)",
     "Calculates the sum of a set of values contained in a specified field on a "
     "query." AGGREGATE_OPERANDS},
};

const Entry kConvertFunctions[] = {
    {SQL_FN_CVT_CONVERT, "{fn CONVERT(value_exp, data_type)}",
     "Returns the value specified by value_exp converted to the specified data_type."},
};

const Entry kNumericFunctions[] = {
    {SQL_FN_NUM_ABS, "{fn ABS(numeric_exp)}", "Returns the absolute value of numeric_exp."},
    {SQL_FN_NUM_ACOS, "{fn ACOS(float_exp)}",
     "Returns the arccosine of float_exp as an angle, expressed in radians."},
    {SQL_FN_NUM_ASIN, "{fn ASIN(float_exp)}",
     "Returns the arcsine of float_exp as an angle, expressed in radians."},
    {SQL_FN_NUM_ATAN, "{fn ATAN(float_exp)}",
     "Returns the arctangent of float_exp as an angle, expressed in radians."},
    {SQL_FN_NUM_ATAN2, "{fn ATAN2(float_exp1, float_exp2)}",
     "Returns the arctangent of the x and y coordinates given by float_exp1 and float_exp2 as an "
     "angle, expressed in radians."},
    {SQL_FN_NUM_CEILING, "{fn CEILING(numeric_exp)}",
     "Returns the smallest integer greater than or equal to numeric_exp."},
    {SQL_FN_NUM_COS, "{fn COS(float_exp)}",
     "Returns the cosine of float_exp, where float_exp is an angle expressed in radians."},
    {SQL_FN_NUM_COT, "{fn COT(float_exp)}",
     "Returns the cotangent of float_exp, where float_exp is an angle expressed in radians."},
    {SQL_FN_NUM_DEGREES, "{fn DEGREES(numeric_exp)}",
     "Returns the number of degrees in the angle of numeric_exp radians."},
    {SQL_FN_NUM_EXP, "{fn EXP(float_exp)}",
     "Returns the exponential value of float_exp, that is e raised to the power of float_exp."},
    {SQL_FN_NUM_FLOOR, "{fn FLOOR(numeric_exp)}",
     "Returns the largest integer less than or equal to numeric_exp."},
    {SQL_FN_NUM_LOG, "{fn LOG(float_exp)}", "Returns the natural logarithm of float_exp."},
    {SQL_FN_NUM_LOG10, "{fn LOG10(float_exp)}", "Returns the base 10 logarithm of float_exp."},
    {SQL_FN_NUM_MOD, "{fn MOD(integer_exp1, integer_exp2)}",
     "Returns the remainder (modulus) of integer_exp1 divided by integer_exp2."},
    {SQL_FN_NUM_PI, "{fn PI( )}", "Returns the constant value of pi as a floating point value."},
    {SQL_FN_NUM_POWER, "{fn POWER(numeric_exp, integer_exp)}",
     "Returns the value of numeric_exp raised to the power of integer_exp."},
    {SQL_FN_NUM_RADIANS, "{fn RADIANS(numeric_exp)}",
     "Returns the number of radians in the angle of numeric_exp degrees."},
    {SQL_FN_NUM_RAND, "{fn RAND([integer_exp])}",
     "Returns a random floating point value, using integer_exp as the optional seed value."},
    {SQL_FN_NUM_ROUND, "{fn ROUND(numeric_exp, integer_exp)}",
     "Returns numeric_exp rounded to integer_exp places right of the decimal point, or left of "
     "it when integer_exp is negative."},
    {SQL_FN_NUM_SIGN, "{fn SIGN(numeric_exp)}",
     "Returns the sign of numeric_exp: -1 when it is negative, 0 when it is zero and 1 when it "
     "is positive."},
    {SQL_FN_NUM_SIN, "{fn SIN(float_exp)}",
     "Returns the sine of float_exp, where float_exp is an angle expressed in radians."},
    {SQL_FN_NUM_SQRT, "{fn SQRT(float_exp)}", "Returns the square root of float_exp."},
    {SQL_FN_NUM_TAN, "{fn TAN(float_exp)}",
     "Returns the tangent of float_exp, where float_exp is an angle expressed in radians."},
    {SQL_FN_NUM_TRUNCATE, "{fn TRUNCATE(numeric_exp, integer_exp)}",
     "Returns numeric_exp truncated to integer_exp places right of the decimal point, or left of "
     "it when integer_exp is negative."},
};

const Entry kStringFunctions[] = {
    {SQL_FN_STR_ASCII, "{fn ASCII(string_exp)}",
     "Returns the ASCII code of the leftmost character of string_exp as an integer."},
    {SQL_FN_STR_CHAR, "{fn CHAR(code)}",
     "Returns the character whose ASCII code is code, an integer in the range 0" EN_DASH "255."},
    {SQL_FN_STR_CONCAT, "{fn CONCAT(string_exp1, string_exp2)}",
     "Returns the character string made of string_exp1 followed by string_exp2."},
    {SQL_FN_STR_DIFFERENCE, "{fn DIFFERENCE(string_exp1, string_exp2)}",
     "Returns an integer that tells how far apart the SOUNDEX values of string_exp1 and "
     "string_exp2 are."},
    {SQL_FN_STR_INSERT, "{fn INSERT(string_exp1, start,length, string_exp2)}",
     "Returns string_exp1 with length characters from position start removed and string_exp2 "
     "inserted in their place."},
    {SQL_FN_STR_LCASE, "{fn LCASE(string_exp)}",
     "Returns string_exp with all uppercase characters converted to lowercase."},
    {SQL_FN_STR_LEFT, "{fn LEFT(string_exp, count)}",
     "Returns the leftmost count characters of string_exp."},
    {SQL_FN_STR_LENGTH, "{fn LENGTH(string_exp)}",
     "Returns the number of characters in string_exp, not counting trailing blanks."},
    {SQL_FN_STR_LOCATE, "{fn LOCATE(string_exp1, string_exp2, start)}",
     "Returns the position of the first occurrence of string_exp1 in string_exp2, searching "
     "from character position start."},
    {SQL_FN_STR_LOCATE_2, "{fn LOCATE(string_exp1, string_exp2)}",
     "Returns the position of the first occurrence of string_exp1 in string_exp2, searching "
     "from its first character."},
    {SQL_FN_STR_LTRIM, "{fn LTRIM(string_exp)}",
     "Returns string_exp with its leading blanks removed."},
    {SQL_FN_STR_REPEAT, "{fn REPEAT(string_exp, count)}",
     "Returns the character string made of string_exp repeated count times."},
    {SQL_FN_STR_REPLACE, "{fn REPLACE(string_exp1, string_exp2, string_exp3)}",
     "Returns string_exp1 with every occurrence of string_exp2 replaced by string_exp3."},
    {SQL_FN_STR_RIGHT, "{fn RIGHT(string_exp, count)}",
     "Returns the rightmost count characters of string_exp."},
    {SQL_FN_STR_RTRIM, "{fn RTRIM(string_exp)}",
     "Returns string_exp with its trailing blanks removed."},
    {SQL_FN_STR_SOUNDEX, "{fn SOUNDEX(string_exp)}",
     "Returns a code, in the data source's own form, that represents the sound of the words in "
     "string_exp."},
    {SQL_FN_STR_SPACE, "{fn SPACE(count)}", "Returns a character string of count blanks."},
    {SQL_FN_STR_SUBSTRING, "{fn SUBSTRING(string_exp, start, length)}",
     "Returns the length characters of string_exp that begin at character position start."},
    {SQL_FN_STR_UCASE, "{fn UCASE(string_exp)}",
     "Returns string_exp with all lowercase characters converted to uppercase."},
};

const Entry kSystemFunctions[] = {
    {SQL_FN_SYS_DBNAME, "{fn DATABASE()}",
     "Returns the name of the database the connection is using."},
    {SQL_FN_SYS_IFNULL, "{fn IFNULL(exp, value)}",
     "Returns value when exp is null, and exp otherwise."},
    {SQL_FN_SYS_USERNAME, "{fn USER()}",
     "Returns the user name in the database, which may differ from the login name."},
};

const Entry kTimeDateFunctions[] = {
    {SQL_FN_TD_CURDATE, "{fn CURDATE( )}", "Returns the current date."},
    {SQL_FN_TD_CURTIME, "{fn CURTIME( )}", "Returns the current local time."},
    {SQL_FN_TD_DAYNAME, "{fn DAYNAME(date_exp)}",
     "Returns the name of the day of the week of date_exp, in the data source's own words."},
    {SQL_FN_TD_DAYOFMONTH, "{fn DAYOFMONTH(date_exp)}",
     "Returns the day of the month of date_exp as an integer in the range 1" EN_DASH "31."},
    {SQL_FN_TD_DAYOFWEEK, "{fn DAYOFWEEK(date_exp)}",
     "Returns the day of the week of date_exp as an integer in the range 1" EN_DASH
     "7, where 1 is Sunday."},
    {SQL_FN_TD_DAYOFYEAR, "{fn DAYOFYEAR(date_exp)}",
     "Returns the day of the year of date_exp as an integer in the range 1" EN_DASH "366."},
    {SQL_FN_TD_HOUR, "{fn HOUR(time_exp)}",
     "Returns the hour of time_exp as an integer in the range 0" EN_DASH "23."},
    {SQL_FN_TD_MINUTE, "{fn MINUTE(time_exp)}",
     "Returns the minute of time_exp as an integer in the range 0" EN_DASH "59."},
    {SQL_FN_TD_MONTH, "{fn MONTH(date_exp)}",
     "Returns the month of date_exp as an integer in the range 1" EN_DASH "12."},
    {SQL_FN_TD_MONTHNAME, "{fn MONTHNAME(date_exp)}",
     "Returns the name of the month of date_exp, in the data source's own words."},
    {SQL_FN_TD_NOW, "{fn NOW( )}", "Returns the current date and time as a timestamp."},
    {SQL_FN_TD_QUARTER, "{fn QUARTER(date_exp)}",
     "Returns the quarter of the year of date_exp as an integer in the range 1" EN_DASH
     "4, where 1 is January to March."},
    {SQL_FN_TD_SECOND, "{fn SECOND(time_exp)}",
     "Returns the second of time_exp as an integer in the range 0" EN_DASH "59."},
    {SQL_FN_TD_TIMESTAMPADD, "{fn TIMESTAMPADD(interval, integer_exp, timestamp_exp)}",
     "Returns the timestamp that lies integer_exp intervals of the kind interval after "
     "timestamp_exp."},
    {SQL_FN_TD_TIMESTAMPDIFF, "{fn TIMESTAMPDIFF(interval, timestamp_exp1, timestamp_exp2)}",
     "Returns the number of intervals of the kind interval by which timestamp_exp2 is later "
     "than timestamp_exp1."},
    {SQL_FN_TD_WEEK, "{fn WEEK(date_exp)}",
     "Returns the week of the year of date_exp as an integer in the range 1" EN_DASH "53."},
    {SQL_FN_TD_YEAR, "{fn YEAR(date_exp)}", "Returns the year of date_exp as an integer."},
};

const char *const kOperators[] = {
    "=",           "<>",    ">",        "<",       ">=",          "<=",     "= ANY",
    "<> ANY",      "> ANY", "< ANY",    ">= ANY",  "<= ANY",      "= ALL",  "<> ALL",
    "> ALL",       "< ALL", ">= ALL",   "<= ALL",  "IN",          "NOT IN", "BETWEEN",
    "NOT BETWEEN", "LIKE",  "NOT LIKE", "IS NULL", "IS NOT NULL",
};

// Only these operators are described; every other one has an empty description.
struct Description {
    const char *syntax;
    const char *description;
};
const Description kOperatorDescriptions[] = {
    {"IN", "Determines whether the value of an expression is equal to any of several values in a "
           "specified list."},
    {"NOT IN", "Determines whether the value of an expression is not equal to any of several "
               "values in a specified list."},
    {"BETWEEN",
     "Determines whether the value of an expression falls within a specified range of values."},
    {"NOT BETWEEN",
     "Determines whether the value of an expression lies outside a specified range of values."},
    {"LIKE", "Compares a string expression to a pattern in an SQL expression."},
    {"NOT LIKE", "Compares a string expression to a pattern in an SQL expression and evaluate the "
                 "opposite condition."},
};

struct Join {
    uint32_t bit;
    const char *plain;
    const char *description;
    const char *nested;
};
const Join kJoins[] = {
    {SQL_OJ_LEFT, "{oj table-name LEFT OUTER JOIN table-name ON search-condition}",
     "Left outer joins include all of the records from the first (left) of two tables, even if "
     "there are no matching values for records in the second (right) table.",
     "{oj table-name LEFT OUTER JOIN outer-join ON search-condition}"},
    {SQL_OJ_RIGHT, "{oj table-name RIGHT OUTER JOIN table-name ON search-condition}",
     "Right outer joins include all of the records from the second (right) of two tables, even "
     "if there are no matching values for records in the first (left) table.",
     "{oj table-name RIGHT OUTER JOIN outer-join ON search-condition}"},
    {SQL_OJ_FULL, "{oj table-name FULL OUTER JOIN table-name ON search-condition}",
     "Full outer joins.", "{oj table-name FULL OUTER JOIN outer-join ON search-condition}"},
};
const char kNestedJoin[] = "Nested outer joins.";

// ODBC 2 and ODBC 3 codes of the same kind of type give the same literal.
struct Literal {
    int32_t dataType;
    int32_t odbc3DataType;
    const char *syntax;
    const char *description;
};
const Literal kLiterals[] = {
    {SQL_DATE, SQL_TYPE_DATE, "{d 'yyyy-mm-dd'}", "The escape sequence for date literals."},
    {SQL_TIME, SQL_TYPE_TIME, "{t 'hh:mm:ss'}", "The escape sequence for time literals."},
    {SQL_TIMESTAMP, SQL_TYPE_TIMESTAMP, "{ts 'yyyy-mm-dd hh:mm:ss'}",
     "The escape sequence for timestamp literals."},
    // The interval types, SQL_INTERVAL_YEAR (101) to SQL_INTERVAL_MINUTE_TO_SECOND (113).
    {101, 101, "{INTERVAL [-|+] 'year_value' YEAR[(interval_prec)]}",
     "Specifies an interval of year_value years. The interval leading precision is "
     "interval_prec."},
    {102, 102, "{INTERVAL [-|+] 'month_value' MONTH[(interval_prec)]}",
     "Specifies an interval of month_value months. The interval leading precision is "
     "interval_prec."},
    {103, 103, "{INTERVAL [-|+] 'day_value' DAY[(interval_prec)]}",
     "Specifies an interval of day_value days. The interval leading precision is "
     "interval_prec."},
    {104, 104, "{INTERVAL [-|+] 'hour_value' HOUR[(interval_prec)]}",
     "Specifies an interval of hour_value hours. The interval leading precision is "
     "interval_prec."},
    {105, 105, "{INTERVAL [-|+] 'minute_value' MINUTE[(interval_prec)]}",
     "Specifies an interval of minute_value minutes. The interval leading precision is "
     "interval_prec."},
    {106, 106, "{INTERVAL [-|+] 'second_value' SECOND[(interval_prec1[, interval_prec2])]}",
     "Specifies an interval of second_value seconds. The interval leading precision is "
     "interval_prec1 and the seconds precision is interval_prec2."},
    {107, 107,
     "{INTERVAL [-|+] 'year_value1-month_value' YEAR[(interval_prec1)] TO "
     "MONTH[(interval_prec2)]}",
     "Specifies an interval of year_value1 years and month_value months."},
    {108, 108,
     "{INTERVAL [-|+] 'day_value hour_value' DAY[(interval_prec1)] TO HOUR[(interval_prec2)]}",
     "Specifies an interval of day_value1 days and hour_value hours."},
    {109, 109,
     "{INTERVAL [-|+] 'day_value hour_value:minute_value' DAY[(interval_prec1)] TO "
     "MINUTE[(interval_prec2)]}",
     "Specifies an interval of day_value days, hour_value hours, and minute_value minutes."},
    {110, 110,
     "{INTERVAL [-|+] 'day_value hour_value:minute_value:second_value' DAY[(interval_prec1)] TO "
     "SECOND[(interval_prec2[, interval_prec3])]}",
     "Specifies an interval of day_value days, hour_value hours, minute_value minutes, and "
     "second_value seconds."},
    {111, 111,
     "{INTERVAL [-|+] 'hour_value:minute_value' HOUR[(interval_prec1)] TO "
     "MINUTE[(interval_prec2)]}",
     "Specifies an interval of hour_value hours and minute_value minutes."},
    {112, 112,
     "{INTERVAL [-|+] 'hour_value:minute_value:second_value' HOUR[(interval_prec1)] TO "
     "SECOND[(interval_prec2[, interval_prec3])]}",
     "Specifies an interval of hour_value hours, minute_value minutes, and second_value "
     "seconds."},
    {113, 113,
     "{INTERVAL [-|+] 'minute_value:second_value' MINUTE[(interval_prec1)] TO "
     "SECOND[(interval_prec2[, interval_prec3])]}",
     "Specifies an interval of minute_value minutes and second_value seconds."},
};

void Add(SyntaxList &list, const char *syntax, const char *description) {
    list.syntax.emplace_back(syntax);
    list.descriptions.emplace_back(description);
}

template <size_t N> void AddSupported(SyntaxList &list, const Entry (&group)[N], uint32_t mask) {
    for (const Entry &entry : group) {
        if (mask & entry.bit)
            Add(list, entry.syntax, entry.description);
    }
}

} // namespace

namespace SyntaxEntries {

SyntaxList Functions(const SyntaxAnswers &answers) {
    SyntaxList list;
    for (const Entry &entry : kAggregates)
        Add(list, entry.syntax, entry.description);
    AddSupported(list, kConvertFunctions, answers.convertFunctions);
    AddSupported(list, kNumericFunctions, answers.numericFunctions);
    AddSupported(list, kStringFunctions, answers.stringFunctions);
    AddSupported(list, kSystemFunctions, answers.systemFunctions);
    AddSupported(list, kTimeDateFunctions, answers.timeDateFunctions);
    return list;
}

SyntaxList Operators(const SyntaxAnswers &answers) {
    SyntaxList list;
    for (const char *op : kOperators) {
        const char *description = "";
        for (const Description &described : kOperatorDescriptions) {
            if (std::string_view(op) == described.syntax)
                description = described.description;
        }
        Add(list, op, description);
    }
    if (answers.subqueries & SQL_SQ_EXISTS) {
        Add(list, "EXISTS", "");
        Add(list, "NOT EXISTS", "");
    }
    return list;
}

SyntaxList Joins(const SyntaxAnswers &answers) {
    SyntaxList list;
    const bool nested = answers.outerJoins & SQL_OJ_NESTED;
    for (const Join &join : kJoins) {
        if (!(answers.outerJoins & join.bit))
            continue;
        Add(list, join.plain, join.description);
        if (nested)
            Add(list, join.nested, kNestedJoin);
    }
    return list;
}

SyntaxList DateTimeLiterals(const SyntaxAnswers &answers) {
    SyntaxList list;
    for (const int32_t dataType : answers.dataTypes) {
        for (const Literal &literal : kLiterals) {
            if (dataType == literal.dataType || dataType == literal.odbc3DataType)
                Add(list, literal.syntax, literal.description);
        }
    }
    return list;
}

std::string ProcedureCallEscape(const SyntaxAnswers &answers) {
    return answers.procedures == "Y" ? "{[?=]call procedure-name[([parameter][,[parameter]]...)]}"
                                     : std::string();
}

std::string LikeEscape(const SyntaxAnswers &answers) {
    return answers.likeEscapeClause == "Y" ? "{escape 'escape-character'}" : std::string();
}

} // namespace SyntaxEntries
