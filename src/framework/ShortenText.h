#pragma once

#include <functional>

#include <QString>

// A cell text fitted to its column.
struct ShortText {
    QString text;
    bool shortened = false;
};

// Fits `text` into `available` pixels, keeping `reserve` pixels free: a text
// that fits (or is empty) stays as it is; otherwise the longest prefix that
// fits with "..." after it, but never less than one character, followed by
// "...". `width` measures a text in the font it will be drawn in; prefix widths
// are taken to grow with their length.
ShortText ShortenText(const QString &text, const std::function<int(const QString &)> &width,
                      int available, int reserve);
