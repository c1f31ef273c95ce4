#include <cstdint>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "results/PipedRowStream.h"

namespace {

// Row `row`'s cell in `column`: lengths vary from empty to larger than a block.
std::string CellText(uint64_t row, int column) {
    if (column == 0)
        return std::to_string(row);
    if (column == 1)
        return row % 7 == 0 ? std::string()
                            : std::string(row % 50, static_cast<char>('a' + row % 26));
    return row == 5000 ? std::string(PipedRowStream::BlockBytes + 1000, 'z') : "x\"y";
}

// `rows` rows of three columns, or without end when `rows` is 0; throws at
// row `failAt` when it is set.
class GeneratedRows : public ExportRowStream {
public:
    GeneratedRows(uint64_t rows, uint64_t failAt = 0) : m_rows(rows), m_failAt(failAt) {}
    int ColumnCount() const override { return 3; }
    std::string_view Title(int column) const override { return m_titles[column]; }
    bool Next() override {
        if (m_rows != 0 && m_read == m_rows)
            return false;
        ++m_read;
        if (m_read == m_failAt)
            throw std::runtime_error("the source failed");
        for (int column = 0; column < 3; ++column)
            m_cells[column] = CellText(m_read, column);
        return true;
    }
    std::string_view Cell(int column) const override { return m_cells[column]; }
    uint64_t Read() const { return m_read; }

private:
    uint64_t m_rows;
    uint64_t m_failAt;
    uint64_t m_read = 0;
    std::string m_titles[3] = {"n", "letters", "tail"};
    std::string m_cells[3];
};

// The export's writer in small: reads the pipe for at most `limit` rows and
// counts the rows whose cells differ from the source's.
struct Reader {
    explicit Reader(PipedRowStream &pipe, uint64_t limit = UINT64_MAX)
        : write([this, &pipe, limit] {
              while (rows < limit && pipe.Next()) {
                  ++rows;
                  for (int column = 0; column < 3; ++column)
                      if (pipe.Cell(column) != CellText(rows, column))
                          ++wrong;
              }
          }) {}
    std::function<void()> write;
    uint64_t rows = 0;
    uint64_t wrong = 0;
};

TEST(PipedRowStreamTest, EveryRowArrivesWholeAcrossBlocks) {
    GeneratedRows source(20000);
    PipedRowStream pipe(source);
    ASSERT_EQ(pipe.ColumnCount(), 3);
    EXPECT_EQ(pipe.Title(1), "letters");
    Reader reader(pipe);
    pipe.FeedWhileWriting(source, reader.write);
    EXPECT_EQ(reader.rows, 20000u);
    EXPECT_EQ(reader.wrong, 0u);
}

TEST(PipedRowStreamTest, AReaderThatStopsStopsTheFeed) {
    // Without end: only the reader's stop ends the feed.
    GeneratedRows source(0);
    PipedRowStream pipe(source);
    Reader reader(pipe, 10);
    pipe.FeedWhileWriting(source, reader.write);
    EXPECT_EQ(reader.rows, 10u);
    EXPECT_EQ(reader.wrong, 0u);
    // No more than the blocks in flight were read ahead.
    EXPECT_LE(source.Read(), (PipedRowStream::MaxBlocksInFlight + 3) * PipedRowStream::BlockRows);
}

TEST(PipedRowStreamTest, ASourceErrorEndsTheRowsAndReachesTheFeeder) {
    GeneratedRows source(20000, 9000);
    PipedRowStream pipe(source);
    Reader reader(pipe);
    EXPECT_THROW(pipe.FeedWhileWriting(source, reader.write), std::runtime_error);
    // Only whole blocks before the error were handed over, all of them intact.
    EXPECT_LT(reader.rows, 9000u);
    EXPECT_EQ(reader.wrong, 0u);
}

} // namespace
