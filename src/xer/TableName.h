#pragma once

#include "xer/FieldReader.h"
#include "xer/Sha256.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zembrel::xer {

// The name a table line gives its table: the line, without its leading and trailing spaces, is
// "%T" TAB name (the rule by which the survey finds POBS, read the other way round).
struct TableName {
    // Real table names are a dozen letters; what a census keeps of many odd ones stays small.
    static constexpr std::size_t kKept = 64;

    IdKey key;                // tells names apart: the name, or its digest and length when long
    std::string kept;         // the name, or its first kKept bytes
    std::uint64_t length = 0; // the name's length in bytes
};

// Reads the table name of a line handed over in pieces, in memory that stays fixed however long
// the line: a table line of any length is found, and names longer than kKept bytes are told
// apart by digest. Every other line is settled within its first few bytes.
class TableNameReader {
public:
    void reset();
    void piece(const char* data, std::size_t size);
    // After the whole line: whether it is a table line, and its name.
    bool found() const { return m_state == State::Name; }
    TableName finish();

private:
    enum class State : std::uint8_t { Leading, Percent, Tag, Name, Other };
    void add(const char* data, std::size_t size);

    State m_state = State::Leading;
    Sha256 m_digest; // of a name longer than kKept bytes
    std::string m_kept;
    std::uint64_t m_length = 0;
    std::uint64_t m_spaces = 0; // spaces after the name's last other byte so far
};

// The table name of a whole line, when it is a table line.
bool tableNameOf(std::string_view line, TableName& name);

} // namespace zembrel::xer
