#pragma once

#include "platform/FileSystem.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace zembrel::test {

// A file made as it is read: a head, one line repeated count times, a tail. Files of billions
// of lines cost memory copies, not gigabytes of disk.
struct Generated {
    std::string head, line;
    std::uint64_t count = 0;
    std::string tail;
    std::uint64_t size() const { return head.size() + line.size() * count + tail.size(); }
};

class GeneratedReadFile final : public ReadFile {
public:
    explicit GeneratedReadFile(Generated g) : m_g(std::move(g)) {
        while (m_block.size() < (1u << 20)) // whole lines, so that any phase can be copied at once
            m_block += m_g.line;
    }
    Outcome<std::size_t> read(char* buffer, std::size_t size) override {
        std::size_t n = 0;
        for (std::size_t chunk = 0; n < size && m_offset < m_g.size(); n += chunk) {
            const auto [from, available] = at(m_offset);
            chunk = static_cast<std::size_t>(std::min<std::uint64_t>(available, size - n));
            std::memcpy(buffer + n, from, chunk);
            m_offset += chunk;
        }
        return n;
    }
    Status seek(std::uint64_t offset) override {
        m_offset = offset;
        return {};
    }
    std::uint64_t size() const override { return m_g.size(); }
    std::optional<FileId> id() const override { return FileId{9, 9}; }

private:
    // The bytes from offset on that lie in one piece, and how many.
    std::pair<const char*, std::uint64_t> at(std::uint64_t offset) const {
        const std::uint64_t bodyStart = m_g.head.size();
        const std::uint64_t bodyEnd = bodyStart + m_g.line.size() * m_g.count;
        if (offset < bodyStart)
            return {m_g.head.data() + offset, bodyStart - offset};
        if (offset >= bodyEnd)
            return {m_g.tail.data() + (offset - bodyEnd), m_g.size() - offset};
        const auto phase = static_cast<std::size_t>((offset - bodyStart) % m_g.line.size());
        return {m_block.data() + phase,
                std::min<std::uint64_t>(bodyEnd - offset, m_block.size() - phase)};
    }

    Generated m_g;
    std::string m_block;
    std::uint64_t m_offset = 0;
};

} // namespace zembrel::test
