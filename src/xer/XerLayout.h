#pragma once

#include <cstddef>
#include <string_view>

namespace zembrel::xer {

inline constexpr char kTab = '\t';

// The tags the system looks for: a line's first two characters as they stand.
enum class Tag : unsigned char { Other, Table, Record, End };

inline Tag tagOf(std::string_view firstTwo) {
    if (firstTwo.size() < 2 || firstTwo[0] != '%')
        return Tag::Other;
    switch (firstTwo[1]) {
    case 'T': return Tag::Table;
    case 'R': return Tag::Record;
    case 'E': return Tag::End;
    default: return Tag::Other;
    }
}

// True for the tags that end a table: "%T" and "%E".
inline bool endsTable(Tag tag) {
    return tag == Tag::Table || tag == Tag::End;
}

// True when line, without its leading and trailing spaces (code 32 only), is "%T" TAB name.
bool isTableLine(std::string_view line, std::string_view name);

// Data field k (k from 1) of a record line: the text after the k-th TAB up to the next TAB, or
// to the line's end. Empty when the line has fewer than k TABs.
std::string_view dataField(std::string_view line, std::size_t k);

// Looks at a line handed over in pieces and keeps only what the layout needs of it: its tag
// and, when the line could be a table line, its text without surrounding spaces (short: the
// longest table line of interest is a dozen characters). Memory stays fixed for any line.
class LineHead {
public:
    static constexpr std::size_t kCapacity = 24;

    void reset() {
        m_tagLength = 0;
        m_state = State::Leading;
        m_bodyLength = 0;
        m_leadingSpaces = 0;
        m_pendingSpaces = 0;
    }
    void piece(const char* data, std::size_t size);
    // A whole line in one call, right after reset(): a record line is settled by its tag.
    void whole(const char* data, std::size_t size) {
        if (size >= 2 && data[0] == '%' && data[1] != 'T') {
            m_tag[0] = '%';
            m_tag[1] = data[1];
            m_tagLength = 2;
            m_state = State::Dead;
            return;
        }
        piece(data, size);
    }

    Tag tag() const { return tagOf(std::string_view(m_tag, m_tagLength)); }
    bool isTableLine(std::string_view name) const { return maybeTableLine() && isTableText(name); }
    // False once the line can no longer be a table line of any name.
    bool maybeTableLine() const { return m_state != State::Dead; }
    // While maybeTableLine(): the line's text so far is this many spaces, then text(), then
    // trailingSpaces() spaces; a held-back line is written again from these.
    std::size_t leadingSpaces() const { return m_leadingSpaces; }
    std::string_view text() const { return {m_body, m_bodyLength}; }
    std::size_t trailingSpaces() const { return m_pendingSpaces; }

private:
    enum class State : unsigned char { Leading, Body, Dead };
    bool isTableText(std::string_view name) const;

    char m_tag[2] = {};
    std::size_t m_tagLength = 0;
    State m_state = State::Leading;
    char m_body[kCapacity] = {};
    std::size_t m_bodyLength = 0;
    std::size_t m_leadingSpaces = 0;
    std::size_t m_pendingSpaces = 0; // spaces after the body's last non-space character
};

} // namespace zembrel::xer
