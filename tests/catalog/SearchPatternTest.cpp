#include <gtest/gtest.h>

#include "catalog/recordsets/SearchPattern.h"

TEST(SearchPatternTest, EscapesWildcardsAndTheEscapeItself) {
    struct Case {
        const char *name;
        const char *escape;
        const char *expected;
    };
    const Case cases[] = {
        {"order_items", "\\", "order\\_items"},
        {"100%_off", "\\", "100\\%\\_off"},
        {"back\\slash", "\\", "back\\\\slash"},
        {"\\_", "\\", "\\\\\\_"},
        {"customers", "\\", "customers"},
        {"", "\\", ""},
        // A driver without an escape gets the name as it is.
        {"order_items", "", "order_items"},
        // An escape of more than one character is matched whole.
        {"a_b^c^^d", "^^", "a^^_b^c^^^^d"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EscapeSearchPattern(c.name, c.escape), c.expected) << c.name;
}
