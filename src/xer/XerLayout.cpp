#include "xer/XerLayout.h"

namespace zembrel::xer {

namespace {
std::string_view trimSpaces(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

bool isTableText(std::string_view trimmed, std::string_view name) {
    return trimmed.size() == name.size() + 3 && trimmed.starts_with("%T\t") &&
           trimmed.substr(3) == name;
}
} // namespace

bool isTableLine(std::string_view line, std::string_view name) {
    return isTableText(trimSpaces(line), name);
}

std::string_view dataField(std::string_view line, std::size_t k) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < k; ++i) {
        const auto tab = line.find(kTab, start);
        if (tab == std::string_view::npos)
            return {};
        start = tab + 1;
    }
    const auto tab = line.find(kTab, start);
    return line.substr(start, tab == std::string_view::npos ? line.npos : tab - start);
}

void LineHead::piece(const char* data, std::size_t size) {
    std::size_t i = 0;
    while (m_tagLength < 2 && i < size)
        m_tag[m_tagLength++] = data[i++];
    // A table line starts, after any spaces, with "%T": any other first character settles it.
    if (m_state == State::Leading && m_tagLength >= 1 && m_tag[0] != ' ' &&
        (m_tag[0] != '%' || (m_tagLength == 2 && m_tag[1] != 'T')))
        m_state = State::Dead;
    for (i = 0; i < size && m_state != State::Dead; ++i) {
        const char c = data[i];
        if (c == ' ') {
            ++(m_state == State::Body ? m_pendingSpaces : m_leadingSpaces);
            continue;
        }
        if (m_bodyLength + m_pendingSpaces + 1 > kCapacity) {
            m_state = State::Dead;
            break;
        }
        for (; m_pendingSpaces > 0; --m_pendingSpaces)
            m_body[m_bodyLength++] = ' ';
        m_body[m_bodyLength++] = c;
        m_state = State::Body;
    }
}

bool LineHead::isTableText(std::string_view name) const {
    return xer::isTableText(text(), name);
}

} // namespace zembrel::xer
