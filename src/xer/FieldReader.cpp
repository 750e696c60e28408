#include "xer/FieldReader.h"

#include "xer/XerLayout.h"

#include <algorithm>
#include <cstring>

namespace zembrel::xer {

void FieldReader::reset(std::size_t first, std::size_t second, std::size_t limit) {
    m_wanted = {first, second};
    m_limit = limit;
    m_values[0].clear();
    m_values[1].clear();
    m_last = std::max(first, second);
    m_tabs = 0;
}

void FieldReader::piece(const char* data, std::size_t size) {
    const char* end = data + size;
    while (data < end && m_tabs <= m_last) {
        const auto* tab =
            static_cast<const char*>(std::memchr(data, kTab, static_cast<std::size_t>(end - data)));
        const char* stop = tab ? tab : end;
        for (std::size_t i = 0; i < 2; ++i) {
            if (m_wanted[i] != kNone && m_wanted[i] == m_tabs && m_values[i].size() <= m_limit) {
                const auto room =
                    m_limit == std::string::npos ? m_limit : m_limit + 1 - m_values[i].size();
                m_values[i].append(data, std::min(room, static_cast<std::size_t>(stop - data)));
            }
        }
        if (!tab)
            break;
        ++m_tabs;
        data = tab + 1;
    }
}

const std::string& FieldReader::field(std::size_t k) const {
    return m_wanted[0] == k ? m_values[0] : m_values[1];
}

void ColumnFinder::reset(std::string_view first, std::string_view second) {
    m_names = {first, second};
    m_found = {0, 0};
    m_current.clear();
    m_tooLong = false;
    m_index = 0;
}

void ColumnFinder::endField() {
    for (std::size_t i = 0; i < 2; ++i) {
        if (m_index > 0 && m_found[i] == 0 && !m_names[i].empty() && !m_tooLong &&
            m_current == m_names[i])
            m_found[i] = m_index;
    }
    m_current.clear();
    m_tooLong = false;
    ++m_index;
}

void ColumnFinder::piece(const char* data, std::size_t size) {
    const std::size_t longest = std::max(m_names[0].size(), m_names[1].size());
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == kTab) {
            endField();
        } else if (!m_tooLong) {
            if (m_current.size() == longest)
                m_tooLong = true;
            else
                m_current.push_back(data[i]);
        }
    }
}

void ColumnFinder::finish() {
    endField();
}

} // namespace zembrel::xer
