#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Splits a table list into groups that one catalog call each can read by
// pattern: a name prefix ("brindle_t_01" matches every name that starts so),
// or one exact name. Each group holds at most `limit` names, so a driver that
// buffers a whole result (psqlODBC) never holds the columns of the whole
// catalog at once; a list within the limit is one group, the prefix "".
class TableNameGroups {
public:
    struct Group {
        std::string prefix;
        bool exact = false; // the one name `prefix`, not every name it starts
        size_t names = 0;   // how many names of the list it matches
    };

    // `names` in any order, duplicates allowed; `limit` at least 1.
    static std::vector<Group> Split(std::vector<std::string> names, size_t limit);

    // Consecutive names in byte order, for a query that can compare names: from
    // `from` (or the first name there is) up to before `to` (or to the last).
    struct Range {
        std::optional<std::string> from;
        std::optional<std::string> to;
        size_t names = 0;
    };
    // Ranges of at most `limit` names (at least 1) that cover every name.
    static std::vector<Range> SplitRanges(std::vector<std::string> names, size_t limit);

private:
    static void SplitRange(const std::vector<std::string> &names, size_t begin, size_t end,
                           size_t prefixLength, size_t limit, std::vector<Group> &groups);
    // The bytes of the UTF-8 character at `at` (1 for a byte that starts none).
    static size_t CharacterLength(const std::string &name, size_t at);
};
