#include "catalog/TableNameGroups.h"

#include <algorithm>
#include <string_view>

std::vector<TableNameGroups::Group> TableNameGroups::Split(std::vector<std::string> names,
                                                           size_t limit) {
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::vector<Group> groups;
    if (!names.empty())
        SplitRange(names, 0, names.size(), 0, std::max<size_t>(limit, 1), groups);
    return groups;
}

std::vector<TableNameGroups::Range> TableNameGroups::SplitRanges(std::vector<std::string> names,
                                                                 size_t limit) {
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    limit = std::max<size_t>(limit, 1);
    std::vector<Range> ranges;
    for (size_t at = 0; at < names.size(); at += limit) {
        const size_t stop = std::min(names.size(), at + limit);
        Range range;
        // The first range starts at the start, the last ends at the end, so
        // together they leave no name out.
        if (at > 0)
            range.from = names[at];
        if (stop < names.size())
            range.to = names[stop];
        range.names = stop - at;
        ranges.push_back(std::move(range));
    }
    return ranges;
}

void TableNameGroups::SplitRange(const std::vector<std::string> &names, size_t begin, size_t end,
                                 size_t prefixLength, size_t limit, std::vector<Group> &groups) {
    // Every name in [begin, end) starts with the same prefixLength bytes.
    const std::string prefix = names[begin].substr(0, prefixLength);
    if (end - begin <= limit) {
        groups.push_back({prefix, false, end - begin});
        return;
    }
    size_t at = begin;
    // The name that is the prefix itself sorts first: its own group, as a
    // longer prefix would not match it.
    if (names[at].size() == prefixLength)
        groups.push_back({names[at++], true, 1});
    // The rest by their next character: each step makes the prefix longer, and
    // the names are unique, so the split ends. A prefix never ends inside a
    // UTF-8 character, which a server would refuse as a pattern.
    while (at < end) {
        const size_t length = CharacterLength(names[at], prefixLength);
        const std::string_view next = std::string_view(names[at]).substr(prefixLength, length);
        size_t stop = at;
        while (stop < end && std::string_view(names[stop]).substr(prefixLength, length) == next)
            ++stop;
        SplitRange(names, at, stop, prefixLength + length, limit, groups);
        at = stop;
    }
}

size_t TableNameGroups::CharacterLength(const std::string &name, size_t at) {
    const auto lead = static_cast<unsigned char>(name[at]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(length, name.size() - at);
}
