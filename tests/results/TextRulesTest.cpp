#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <gtest/gtest.h>

#include "GridFixture.h"
#include "framework/GridCellDelegate.h"
#include "framework/ShortenText.h"
#include "results/GridModel.h"
#include "results/QuotedIdentifier.h"

namespace {

TEST(ShortenTextTest, KeepsTheLongestPrefixThatFitsWithTheReserve) {
    const QFontMetrics metrics(GridFixture::TestFont());
    const auto width = [&](const QString &text) { return metrics.horizontalAdvance(text); };
    const int c = width(QStringLiteral("x"));
    ASSERT_EQ(width(QStringLiteral("abcdef")), 6 * c) << "the test font is not fixed-pitch";

    struct Case {
        const char *text;
        int available;
        int reserve;
        const char *expected;
    };
    const Case cases[] = {
        {"abcdef", 6 * c + 4, 4, "abcdef"},   // exactly fits with the label reserve
        {"abcdef", 6 * c + 3, 4, "ab..."},    // one pixel short: "ab" + "..." is 5c
        {"abcdef", 6 * c + 12, 12, "abcdef"}, // the cell reserve
        {"abcdef", 6 * c + 11, 12, "ab..."},
        {"abcdef", 5 * c + 12, 12, "ab..."}, // "abc..." would need 6c
        {"abcdefgh", 6 * c + 4, 4, "abc..."},
        {"abcdef", 0, 4, "a..."}, // never less than one character
        {"a", 0, 12, "a..."},
        {"", 0, 12, ""},              // empty stays empty
        {"a&b", 3 * c + 4, 4, "a&b"}, // "&" is a character like any other
    };
    for (const Case &test : cases) {
        const ShortText shown =
            ShortenText(QString::fromUtf8(test.text), width, test.available, test.reserve);
        EXPECT_EQ(shown.text.toStdString(), test.expected)
            << test.text << " in " << test.available << " reserve " << test.reserve;
        EXPECT_EQ(shown.shortened, std::string(test.text) != test.expected) << test.text;
    }
}

TEST(ShortenTextTest, NeverSplitsACharacterOutsideTheBasicPlane) {
    // 20 pixels a character whatever its UTF-16 length, 2 a dot; half a pair
    // would be nothing to see, so it would always seem to fit.
    const auto width = [](const QString &text) {
        int pixels = 0;
        for (char32_t character : text.toUcs4())
            pixels += character == U'.' ? 2 : character == 0xFFFD ? 0 : 20;
        return pixels;
    };
    // Three G clefs, each a surrogate pair.
    const QString text = QString::fromUtf8("\xF0\x9D\x84\x9E\xF0\x9D\x84\x9E\xF0\x9D\x84\x9E");
    const ShortText shown = ShortenText(text, width, 55, 0);
    EXPECT_EQ(shown.text, text.left(4) + QStringLiteral("..."));
}

TEST(QuotedIdentifierTest, QuotesWithTheDriversCharacterAndDoublesIt) {
    struct Case {
        const char *name;
        const char *quote;
        const char *expected;
    };
    const Case cases[] = {
        {"order_items", "\"", "\"order_items\""},
        {"odd\"name", "\"", "\"odd\"\"name\""},
        {"\"\"", "\"", "\"\"\"\"\"\""},
        {"My Table", "`", "`My Table`"},
        {"a`b", "`", "`a``b`"},
        {"a]b", "\"", "\"a]b\""},
        {"order_items", " ", "order_items"}, // the driver does not quote
        {"order_items", "", "order_items"},  // the driver could not say
    };
    for (const Case &test : cases)
        EXPECT_EQ(QuotedIdentifier(test.name, test.quote), test.expected) << test.name;
}

TEST(CompareTextTest, FoldsOnlyAsciiLettersAndComparesBytesUnsigned) {
    EXPECT_EQ(GridModel::CompareText("abc", "ABC"), 0);
    EXPECT_LT(GridModel::CompareText("a", "B"), 0);
    EXPECT_LT(GridModel::CompareText("ab", "abc"), 0);
    // Bytes above 127 come after every ASCII byte, and are not case-folded.
    EXPECT_LT(GridModel::CompareText("z", "\xC3\xA9"), 0);
    EXPECT_NE(GridModel::CompareText("\xC3\xA9", "\xC3\x89"), 0);
    EXPECT_GT(GridModel::CompareText("b", "A"), 0);
}

// Where the first dark pixel of a delegate-drawn cell is.
int FirstInkColumn(const GridCellDelegate &delegate, QStandardItemModel &model, int column,
                   int cellWidth) {
    QImage image(cellWidth, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.font = GridFixture::TestFont();
    option.fontMetrics = QFontMetrics(option.font);
    option.rect = QRect(0, 0, cellWidth, 20);
    option.palette.setColor(QPalette::Text, Qt::black);
    delegate.paint(&painter, option, model.index(0, column));
    painter.end();
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128)
                return x;
    return -1;
}

TEST(GridCellDelegateTest, ShortenedTextsAreDrawnLeftAlignedEvenInARightAlignedColumn) {
    GridCellDelegate delegate;
    QStandardItemModel model(1, 2);
    model.setData(model.index(0, 0), QStringLiteral("label"));
    model.setData(model.index(0, 1), QStringLiteral("ab"));
    model.setData(model.index(0, 1), QVariant::fromValue(Qt::Alignment(Qt::AlignRight)),
                  Qt::TextAlignmentRole);

    // Fits: drawn at the right, 6 pixels inside.
    EXPECT_GT(FirstInkColumn(delegate, model, 1, 200), 150);
    // Too wide: a prefix with "..." from 6 pixels inside the left edge.
    model.setData(model.index(0, 1), QString(60, QLatin1Char('W')));
    const int shortened = FirstInkColumn(delegate, model, 1, 200);
    EXPECT_GE(shortened, 6);
    EXPECT_LT(shortened, 12);
    // The label starts 2 pixels inside.
    const int label = FirstInkColumn(delegate, model, 0, 200);
    EXPECT_GE(label, 2);
    EXPECT_LT(label, 6);
}

} // namespace
