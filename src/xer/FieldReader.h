#pragma once

#include "xer/Sha256.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zembrel::xer {

// A field's value as the purge compares and keeps it: the text itself when it is short, else
// the SHA-256 digest of the text and its length, so that a field of any length costs a few
// dozen bytes. Keys of the two kinds never equal each other.
using IdKey = std::string;
inline constexpr std::size_t kShortField = 256;

IdKey idKey(std::string_view text);
// The key as text for people: the text itself, or "SHA-256 " + hex digest + ", n bytes".
std::string idText(const IdKey& key);

// Builds the IdKey of a text handed over in pieces.
class IdKeyBuilder {
public:
    void reset();
    void add(const char* data, std::size_t size);
    IdKey finish();

private:
    std::string m_text;
    Sha256 m_digest;
    std::uint64_t m_length = 0;
};

// Takes up to two data fields of a line handed over in pieces (data field k is the text after
// the k-th TAB), and stops looking once it has passed them.
class FieldReader {
public:
    static constexpr std::size_t kNone = 0;

    void reset(std::size_t first, std::size_t second = kNone);
    void piece(const char* data, std::size_t size);
    // Ends the line; afterwards key() gives the wanted fields.
    void finish();

    // The line holds data field k: it has at least k TABs.
    bool has(std::size_t k) const { return k != kNone && m_tabs >= k; }
    // A TAB follows data field k.
    bool tabAfter(std::size_t k) const { return k != kNone && m_tabs > k; }
    // The key of wanted field k (that of an empty text when the line does not hold it).
    const IdKey& key(std::size_t k) const { return m_wanted[0] == k ? m_keys[0] : m_keys[1]; }

private:
    std::array<std::size_t, 2> m_wanted{};
    std::array<IdKeyBuilder, 2> m_builders;
    std::array<IdKey, 2> m_keys;
    std::size_t m_last = 0; // the highest wanted field
    std::size_t m_tabs = 0;
};

// Finds the columns that a field-names line names, by exact name, in a line handed over in
// pieces. Column k is data field k of the table's records.
class ColumnFinder {
public:
    void reset(std::string_view first, std::string_view second = {});
    void piece(const char* data, std::size_t size);
    // Ends the line; afterwards column() answers.
    void finish();
    // The column named name (one of those given to reset), or 0 when none is named so.
    std::size_t column(std::string_view name) const;

private:
    void endField();

    std::array<std::string_view, 2> m_names;
    std::array<std::size_t, 2> m_found{};
    std::string m_current; // the current field's text, while it may still equal a name
    bool m_tooLong = false;
    std::size_t m_index = 0;
};

// Column lookup in a whole field-names line.
std::size_t columnNamed(std::string_view line, std::string_view name);

} // namespace zembrel::xer
