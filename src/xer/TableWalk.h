#pragma once

#include "xer/XerLayout.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace zembrel::xer {

// Follows the tables a pass looks for through the file's lines, one table at a time. A table
// line opens a table; the line after it is the table's field-names line; a line tagged "%T" or
// "%E" ends the table and belongs to what follows. That ending line is examined as a table line
// again only for the tables that the walk was told may follow directly (the survey looks for
// RISKTYPE right after POBS, and for nothing else).
//
// The walk does not judge the file's last line: a pass that needs to (the survey's broken
// tables, the purge's line at which a walk stops) asks line.last() itself.
class TableWalk {
public:
    enum class Role : std::uint8_t { Outside, TableLine, FieldNames, Member, Ending };
    static constexpr std::size_t kMaxTables = 3;

    explicit TableWalk(std::initializer_list<std::string_view> tables) {
        for (auto name : tables)
            m_names[m_count++] = name;
    }

    // After table `ended` ends, its ending line may open table `next`.
    void mayFollow(std::size_t ended, std::size_t next) {
        m_follows[ended] |= static_cast<std::uint8_t>(1u << next);
    }

    bool outside() const { return m_table == kNone; }
    // The next line is the field-names line of the open table.
    bool fieldNamesNext() const { return m_table != kNone && m_fieldNames; }
    // The table the walk is in; after an Ending step, the table it ended.
    std::size_t table() const { return m_table == kNone ? m_ended : m_table; }

    template <typename Line> Role step(const Line& line) {
        if (m_table == kNone)
            return open(line, kAll) ? Role::TableLine : Role::Outside;
        if (endsTable(line.tag())) {
            m_ended = m_table;
            m_table = kNone;
            return open(line, m_follows[m_ended]) ? Role::TableLine : Role::Ending;
        }
        if (m_fieldNames) {
            m_fieldNames = false;
            return Role::FieldNames;
        }
        return Role::Member;
    }

private:
    static constexpr std::size_t kNone = kMaxTables;
    static constexpr std::uint8_t kAll = 0xff;

    template <typename Line> bool open(const Line& line, std::uint8_t which) {
        if (which == 0 || line.plain())
            return false;
        for (std::size_t i = 0; i < m_count; ++i) {
            if ((static_cast<unsigned>(which) >> i & 1u) && line.isTableLine(m_names[i])) {
                m_table = i;
                m_fieldNames = true;
                return true;
            }
        }
        return false;
    }

    std::array<std::string_view, kMaxTables> m_names{};
    std::array<std::uint8_t, kMaxTables> m_follows{};
    std::size_t m_count = 0;
    std::size_t m_table = kNone;
    std::size_t m_ended = kNone;
    bool m_fieldNames = false;
};

} // namespace zembrel::xer
