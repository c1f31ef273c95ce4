#include "framework/ShortenText.h"

#include <vector>

ShortText ShortenText(const QString &text, const std::function<int(const QString &)> &width,
                      int available, int reserve) {
    if (text.isEmpty() || width(text) + reserve <= available)
        return {text, false};

    // Where each character starts, so a surrogate pair is never split.
    std::vector<qsizetype> starts;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!text.at(i).isLowSurrogate() || i == 0 || !text.at(i - 1).isHighSurrogate())
            starts.push_back(i);
    const int characters = static_cast<int>(starts.size());
    auto prefix = [&](int count) {
        return count >= characters ? text : text.left(starts[static_cast<size_t>(count)]);
    };

    const QString dots = QStringLiteral("...");
    const int room = available - reserve - width(dots);
    auto fits = [&](int count) { return width(prefix(count)) <= room; };

    // The longest prefix of 1 .. characters - 1 that fits; one character when none does.
    int low = 1;
    int high = characters - 1;
    int kept = 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        if (fits(middle)) {
            kept = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return {prefix(kept) + dots, true};
}
