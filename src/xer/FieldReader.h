#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zembrel::xer {

// Takes up to two data fields of a line handed over in pieces (data field k is the text after
// the k-th TAB), and stops looking once it has passed them.
class FieldReader {
public:
    static constexpr std::size_t kNone = 0;

    // Fields longer than limit keep only their first limit + 1 characters.
    void reset(std::size_t first, std::size_t second = kNone,
               std::size_t limit = std::string::npos);
    void piece(const char* data, std::size_t size);

    // The line holds data field k: it has at least k TABs.
    bool has(std::size_t k) const { return k != kNone && m_tabs >= k; }
    // A TAB follows data field k.
    bool tabAfter(std::size_t k) const { return k != kNone && m_tabs > k; }
    // The text of a wanted field (empty when the line does not hold it).
    const std::string& field(std::size_t k) const;

private:
    std::array<std::size_t, 2> m_wanted{};
    std::array<std::string, 2> m_values;
    std::size_t m_last = 0; // the highest wanted field
    std::size_t m_limit = std::string::npos;
    std::size_t m_tabs = 0;
};

// Finds the columns that a field-names line names, by exact name, in a line handed over in
// pieces. Column k is data field k of the table's records.
class ColumnFinder {
public:
    void reset(std::string_view first, std::string_view second = {});
    void piece(const char* data, std::size_t size);
    // Ends the line; afterwards column(i) is the column of name i, or 0 when none is named so.
    void finish();
    std::size_t column(std::size_t i) const { return m_found[i]; }

private:
    void endField();

    std::array<std::string_view, 2> m_names;
    std::array<std::size_t, 2> m_found{};
    std::string m_current; // the current field's text, while it may still equal a name
    bool m_tooLong = false;
    std::size_t m_index = 0;
};

} // namespace zembrel::xer
