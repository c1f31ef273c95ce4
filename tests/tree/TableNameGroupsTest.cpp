#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalog/TableNameGroups.h"

namespace {

// Groups as "prefix*" (every name starting so) or "=name", with their counts.
std::vector<std::string> Described(const std::vector<std::string> &names, size_t limit) {
    std::vector<std::string> out;
    for (const TableNameGroups::Group &group : TableNameGroups::Split(names, limit))
        out.push_back((group.exact ? "=" + group.prefix : group.prefix + "*") + " " +
                      std::to_string(group.names));
    return out;
}

TEST(TableNameGroups, SplitsByPrefixIntoGroupsWithinTheLimit) {
    struct Case {
        std::vector<std::string> names;
        size_t limit;
        std::vector<std::string> groups;
    };
    const Case cases[] = {
        {{}, 3, {}},
        // Within the limit: one call for everything.
        {{"b", "a", "c"}, 3, {"* 3"}},
        {{"t1", "t2", "t3", "u1"}, 3, {"t* 3", "u* 1"}},
        // A name that is another's prefix gets a call of its own.
        {{"t", "t1", "t2", "t3"}, 2, {"=t 1", "t1* 1", "t2* 1", "t3* 1"}},
        {{"ab", "abc", "abd", "x"}, 3, {"a* 3", "x* 1"}},
        // Duplicates count once; the order given does not matter.
        {{"t2", "t1", "t2", "t1"}, 1, {"t1* 1", "t2* 1"}},
        // Long shared prefixes split where the names part.
        {{"tree_0001", "tree_0002", "tree_0101", "tree_0102"}, 2, {"tree_00* 2", "tree_01* 2"}},
        // A prefix never ends inside a UTF-8 character.
        {{"\xc3\xa4x", "\xc3\xa4y", "\xc3\xb6", "a"}, 3, {"a* 1", "\xc3\xa4* 2", "\xc3\xb6* 1"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Described(c.names, c.limit), c.groups) << c.names.size() << " names";
}

TEST(TableNameGroups, EveryNameIsInExactlyOneGroup) {
    std::vector<std::string> names;
    for (int i = 0; i < 2500; ++i)
        names.push_back("brindle_tree_" + std::to_string(100000 + i * 7));
    names.push_back("brindle_tree_1");
    const auto groups = TableNameGroups::Split(names, 100);
    size_t total = 0;
    for (const TableNameGroups::Group &group : groups) {
        EXPECT_LE(group.names, 100u);
        total += group.names;
    }
    EXPECT_EQ(total, names.size());
    for (const std::string &name : names) {
        int matches = 0;
        for (const TableNameGroups::Group &group : groups)
            matches += group.exact ? name == group.prefix : name.rfind(group.prefix, 0) == 0;
        EXPECT_EQ(matches, 1) << name;
    }
}

// Ranges in byte order: "\xc3\xa4" (UTF-8) sorts after every ASCII name.
TEST(TableNameGroups, RangesCoverEveryNameOnceInByteOrder) {
    const auto ranges = TableNameGroups::SplitRanges({"b", "\xc3\xa4", "a", "B", "b", "c"}, 2);
    std::vector<std::string> described;
    for (const TableNameGroups::Range &range : ranges)
        described.push_back(range.from.value_or("-") + ".." + range.to.value_or("-") + " " +
                            std::to_string(range.names));
    EXPECT_EQ(described, (std::vector<std::string>{"-..b 2", "b..\xc3\xa4 2", "\xc3\xa4..- 1"}));
    EXPECT_EQ(TableNameGroups::SplitRanges({}, 2).size(), 0u);
}

} // namespace
