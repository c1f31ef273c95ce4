#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "results/ExportRowStream.h"

// Rows handed from the thread that reads them from the driver to the thread
// that writes them, so that fetching and writing overlap. The reading thread
// runs Feed(); the writing thread reads this stream. Rows travel in blocks of
// copied bytes, and only a few blocks are ever in flight, so memory stays flat
// whatever the size of the result.
class PipedRowStream : public ExportRowStream {
public:
    // A block is handed over once it holds this many bytes or rows.
    static constexpr size_t BlockBytes = size_t(256) << 10;
    static constexpr size_t BlockRows = 4096;
    // Blocks filled but not yet written; the reader waits beyond that.
    static constexpr size_t MaxBlocksInFlight = 4;

    // Takes the column count and titles of `source` now.
    explicit PipedRowStream(const ExportRowStream &source);
    ~PipedRowStream() override;
    PipedRowStream(const PipedRowStream &) = delete;
    PipedRowStream &operator=(const PipedRowStream &) = delete;

    // Reading side: moves every row of `source` into the pipe, then ends it.
    // Returns early, with the rows so far, when the writer has stopped. An
    // exception of `source` ends the pipe for the writer and is rethrown.
    void Feed(ExportRowStream &source);
    // Writing side: no more rows are wanted, so Feed stops.
    void StopReading();
    // Both sides: runs `write`, which reads this stream, on a thread of its own
    // while this thread feeds it the rows of `source`. A writer that returns
    // early stops the feed. Rethrows the feed's exception, else the writer's.
    void FeedWhileWriting(ExportRowStream &source, const std::function<void()> &write);

    int ColumnCount() const override { return static_cast<int>(m_titles.size()); }
    std::string_view Title(int column) const override { return m_titles[column]; }
    // False after the last row, and also when Feed ended on an exception.
    bool Next() override;
    std::string_view Cell(int column) const override;

private:
    struct Block {
        std::string bytes;
        // Where each cell ends in `bytes`, row after row.
        std::vector<size_t> ends;
        size_t rows = 0;
        void Clear() {
            bytes.clear();
            ends.clear();
            rows = 0;
        }
    };

    // Hands `block` to the writer; false when the writer has stopped.
    bool Send(std::unique_ptr<Block> block);
    std::unique_ptr<Block> SpareBlock();
    void End();

    std::vector<std::string> m_titles;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<Block>> m_full;
    std::vector<std::unique_ptr<Block>> m_spare;
    bool m_ended = false;
    bool m_stopped = false;

    // The writer's block and position in it; its own thread's alone.
    std::unique_ptr<Block> m_current;
    size_t m_row = 0;
    size_t m_rowStart = 0;
};
