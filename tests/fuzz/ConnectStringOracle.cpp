#include "ConnectStringOracle.h"

#include <vector>

#include "ConnectStringSample.h"
#include "console/ConsoleBanner.h"
#include "odbc/ConnectString.h"

namespace {

// The elements, in order, are the whole string less the ";" between them, and
// a ";" stays inside an element only behind a brace that opens its value.
std::string CheckElementsJoinBack(std::string_view text) {
    const std::vector<std::string> elements = ConnectString::Elements(text);
    size_t at = 0;
    for (const std::string &element : elements) {
        while (at < text.size() && text[at] == ';')
            ++at;
        if (element.empty() || text.substr(at, element.size()) != element)
            return "an element that is not the next piece of the string: " + element;
        at += element.size();
        if (at < text.size() && text[at] != ';')
            return "an element that does not end at a \";\": " + element;
        const size_t equals = element.find('=');
        if (element.find(';') != std::string::npos &&
            (equals == std::string::npos || element[equals + 1] != '{'))
            return "a \";\" kept without a brace opening the value: " + element;
    }
    while (at < text.size() && text[at] == ';')
        ++at;
    if (at != text.size())
        return "text left over after the last element";
    return {};
}

// Masking changes password values only, and leaves the elements where they were.
std::string CheckMaskKeepsElements(std::string_view text) {
    std::vector<std::string> expected;
    for (const std::string &element : ConnectString::Elements(text)) {
        const size_t equals = element.find('=');
        if (ConnectString::IsPasswordElement(element) && equals != std::string::npos)
            expected.push_back(element.substr(0, equals + 1) + ConnectString::PasswordMask);
        else
            expected.push_back(element);
    }
    if (ConnectString::Elements(ConnectString::MaskPassword(std::string(text))) != expected)
        return "masking moved or changed more than password values";
    return {};
}

std::string CheckSample(std::string_view data) {
    const ConnectStringSample sample = ConnectStringSample::From(data);
    if (ConnectString::Elements(sample.text) != sample.elements)
        return "split differently from how it was built: " + sample.text;
    if (ConnectString::MaskPassword(sample.text).find(ConnectStringSample::PasswordMark) !=
        std::string::npos)
        return "a password survived the mask: " + sample.text;
    if (ConsoleBanner::ConnectListing(sample.text).find(ConnectStringSample::PasswordMark) !=
        std::string::npos)
        return "a password reached the console's listing: " + sample.text;
    return {};
}

} // namespace

std::string ConnectStringOracle::Check(std::string_view data) {
    for (auto check : {CheckElementsJoinBack, CheckMaskKeepsElements, CheckSample}) {
        std::string failure = check(data);
        if (!failure.empty())
            return failure;
    }
    return {};
}
