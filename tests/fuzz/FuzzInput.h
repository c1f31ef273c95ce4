#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Draws choices from a fuzzer's bytes, front to back; once they run out every
// draw is 0 or empty, so any input decodes to something.
class FuzzInput {
public:
    explicit FuzzInput(std::string_view data) : m_data(data) {}

    bool Empty() const { return m_data.empty(); }

    uint8_t Byte() {
        if (m_data.empty())
            return 0;
        const auto byte = static_cast<uint8_t>(m_data.front());
        m_data.remove_prefix(1);
        return byte;
    }

    // 0 to count - 1.
    size_t Below(size_t count) { return count == 0 ? 0 : Byte() % count; }

    // Up to `longest` bytes, the length drawn first.
    std::string Bytes(size_t longest) {
        const size_t wanted = Below(longest + 1); // draws a byte: before the size is read
        const size_t length = std::min(wanted, m_data.size());
        std::string bytes(m_data.substr(0, length));
        m_data.remove_prefix(length);
        return bytes;
    }

private:
    std::string_view m_data;
};
