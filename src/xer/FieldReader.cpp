#include "xer/FieldReader.h"

#include "xer/XerLayout.h"

#include <algorithm>
#include <cstring>

namespace zembrel::xer {

namespace {
IdKey digestKey(Sha256& digest, std::uint64_t length) {
    const auto d = digest.finish();
    IdKey key(1 + d.size() + sizeof length, 'D');
    std::memcpy(key.data() + 1, d.data(), d.size());
    std::memcpy(key.data() + 1 + d.size(), &length, sizeof length);
    return key;
}
} // namespace

IdKey idKey(std::string_view text) {
    if (text.size() <= kShortField)
        return 'T' + std::string(text);
    Sha256 digest;
    digest.add(text.data(), text.size());
    return digestKey(digest, text.size());
}

std::string idText(const IdKey& key) {
    if (key.empty() || key[0] == 'T')
        return key.empty() ? key : key.substr(1);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text = "SHA-256 ";
    for (std::size_t i = 1; i <= 32; ++i) {
        const auto byte = static_cast<unsigned char>(key[i]);
        text += kHex[byte >> 4];
        text += kHex[byte & 15];
    }
    std::uint64_t length = 0;
    std::memcpy(&length, key.data() + 33, sizeof length);
    return text + ", " + std::to_string(length) + " bytes";
}

void IdKeyBuilder::reset() {
    m_text.clear();
    m_digest = Sha256();
    m_length = 0;
}

void IdKeyBuilder::add(const char* data, std::size_t size) {
    m_length += size;
    if (m_length <= kShortField) {
        m_text.append(data, size);
        return;
    }
    if (!m_text.empty()) { // the text has just become long: it goes into the digest
        m_digest.add(m_text.data(), m_text.size());
        m_text.clear();
    }
    m_digest.add(data, size);
}

IdKey IdKeyBuilder::finish() {
    if (m_length <= kShortField)
        return 'T' + m_text;
    return digestKey(m_digest, m_length);
}

void FieldReader::reset(std::size_t first, std::size_t second) {
    m_wanted = {first, second};
    for (auto& b : m_builders)
        b.reset();
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
            if (m_wanted[i] != kNone && m_wanted[i] == m_tabs)
                m_builders[i].add(data, static_cast<std::size_t>(stop - data));
        }
        if (!tab)
            break;
        ++m_tabs;
        data = tab + 1;
    }
}

void FieldReader::finish() {
    for (std::size_t i = 0; i < 2; ++i)
        m_keys[i] = m_builders[i].finish();
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

std::size_t ColumnFinder::column(std::string_view name) const {
    for (std::size_t i = 0; i < 2; ++i)
        if (!name.empty() && m_names[i] == name)
            return m_found[i];
    return 0;
}

std::size_t columnNamed(std::string_view line, std::string_view name) {
    ColumnFinder finder;
    finder.reset(name);
    finder.piece(line.data(), line.size());
    finder.finish();
    return finder.column(name);
}

} // namespace zembrel::xer
