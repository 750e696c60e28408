#include "xer/TableName.h"

#include <algorithm>
#include <cstring>

namespace zembrel::xer {

void TableNameReader::reset() {
    m_state = State::Leading;
    m_kept.clear();
    m_length = 0;
    m_spaces = 0;
}

void TableNameReader::add(const char* data, std::size_t size) {
    const bool wasShort = m_length <= TableName::kKept;
    m_length += size;
    if (m_length <= TableName::kKept) {
        m_kept.append(data, size);
        return;
    }
    if (wasShort) { // only a name that turns out long pays for its digest
        m_digest = Sha256();
        m_digest.add(m_kept.data(), m_kept.size());
    }
    m_digest.add(data, size);
    m_kept.append(data, std::min(size, TableName::kKept - m_kept.size()));
}

void TableNameReader::piece(const char* data, std::size_t size) {
    const char* end = data + size;
    for (; data < end && m_state != State::Name; ++data) {
        const char c = *data;
        switch (m_state) {
        case State::Leading:
            if (c != ' ')
                m_state = c == '%' ? State::Percent : State::Other;
            break;
        case State::Percent: m_state = c == 'T' ? State::Tag : State::Other; break;
        case State::Tag: m_state = c == '\t' ? State::Name : State::Other; break;
        default: return;
        }
    }
    if (m_state != State::Name || data == end)
        return;
    // Spaces count only once a byte other than a space follows them: trailing ones are not part
    // of the name.
    const char* last = end;
    while (last > data && last[-1] == ' ')
        --last;
    if (last == data) {
        m_spaces += static_cast<std::uint64_t>(end - data);
        return;
    }
    static const std::string kSpaces(64, ' ');
    while (m_spaces > 0) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(m_spaces, kSpaces.size()));
        add(kSpaces.data(), n);
        m_spaces -= n;
    }
    add(data, static_cast<std::size_t>(last - data));
    m_spaces = static_cast<std::uint64_t>(end - last);
}

TableName TableNameReader::finish() {
    if (m_length <= TableName::kKept)
        return {'T' + m_kept, m_kept, m_length};
    const auto digest = m_digest.finish();
    IdKey key(1 + digest.size() + sizeof m_length, 'D');
    std::memcpy(key.data() + 1, digest.data(), digest.size());
    std::memcpy(key.data() + 1 + digest.size(), &m_length, sizeof m_length);
    return {std::move(key), m_kept, m_length};
}

bool tableNameOf(std::string_view line, TableName& name) {
    TableNameReader reader;
    reader.piece(line.data(), line.size());
    if (!reader.found())
        return false;
    name = reader.finish();
    return true;
}

} // namespace zembrel::xer
