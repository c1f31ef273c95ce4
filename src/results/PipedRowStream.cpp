#include "results/PipedRowStream.h"

#include <exception>
#include <thread>
#include <utility>

PipedRowStream::PipedRowStream(const ExportRowStream &source) {
    for (int column = 0; column < source.ColumnCount(); ++column)
        m_titles.emplace_back(source.Title(column));
}

PipedRowStream::~PipedRowStream() = default;

std::unique_ptr<PipedRowStream::Block> PipedRowStream::SpareBlock() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_spare.empty()) {
            std::unique_ptr<Block> block = std::move(m_spare.back());
            m_spare.pop_back();
            block->Clear();
            return block;
        }
    }
    auto block = std::make_unique<Block>();
    block->bytes.reserve(BlockBytes + BlockBytes / 4);
    block->ends.reserve(BlockRows * m_titles.size());
    return block;
}

bool PipedRowStream::Send(std::unique_ptr<Block> block) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stopped || m_full.size() < MaxBlocksInFlight; });
    if (m_stopped)
        return false;
    m_full.push_back(std::move(block));
    m_changed.notify_all();
    return true;
}

void PipedRowStream::End() {
    std::lock_guard lock(m_mutex);
    m_ended = true;
    m_changed.notify_all();
}

void PipedRowStream::Feed(ExportRowStream &source) {
    try {
        std::unique_ptr<Block> block = SpareBlock();
        while (source.Next()) {
            for (size_t column = 0; column < m_titles.size(); ++column) {
                block->bytes.append(source.Cell(static_cast<int>(column)));
                block->ends.push_back(block->bytes.size());
            }
            ++block->rows;
            if (block->rows >= BlockRows || block->bytes.size() >= BlockBytes) {
                if (!Send(std::move(block)))
                    break;
                block = SpareBlock();
            }
        }
        if (block && block->rows > 0)
            Send(std::move(block));
    } catch (...) {
        // The writer sees the end of the rows; the caller hears why.
        End();
        throw;
    }
    End();
}

void PipedRowStream::FeedWhileWriting(ExportRowStream &source, const std::function<void()> &write) {
    std::exception_ptr writeError;
    std::thread writer([&] {
        try {
            write();
        } catch (...) {
            writeError = std::current_exception();
        }
        // A writer that stopped early (a failed write) wants no more rows.
        StopReading();
    });
    try {
        Feed(source);
    } catch (...) {
        writer.join();
        throw;
    }
    writer.join();
    if (writeError)
        std::rethrow_exception(writeError);
}

void PipedRowStream::StopReading() {
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    m_changed.notify_all();
}

bool PipedRowStream::Next() {
    if (m_current && m_row + 1 < m_current->rows) {
        ++m_row;
        m_rowStart += m_titles.size();
        return true;
    }
    std::unique_lock lock(m_mutex);
    if (m_current) {
        m_spare.push_back(std::move(m_current));
        m_changed.notify_all();
    }
    m_changed.wait(lock, [this] { return !m_full.empty() || m_ended || m_stopped; });
    if (m_full.empty())
        return false;
    m_current = std::move(m_full.front());
    m_full.pop_front();
    m_changed.notify_all();
    m_row = 0;
    m_rowStart = 0;
    return true;
}

std::string_view PipedRowStream::Cell(int column) const {
    const size_t index = m_rowStart + static_cast<size_t>(column);
    const size_t start = index == 0 ? 0 : m_current->ends[index - 1];
    return std::string_view(m_current->bytes).substr(start, m_current->ends[index] - start);
}
