// Record lines of the synthetic XER files: the output with its SUB bytes, and the one builder
// that makes a record of any table from its description in make_xer_tables.h.
#pragma once

#include "make_xer_tables.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace makexer {

constexpr char kTab = '\t';
constexpr char kSub = '\x1a';
constexpr std::string_view kNoSubOn = "\t\x7f\x1a"; // TAB, DEL of a memo line break, SUB
constexpr std::size_t kNoSub = std::string::npos;

// Buffered output that knows each byte's offset in the file and puts the SUB bytes into the
// lines it is given. Lines are built in its buffer and ended there.
class Writer {
public:
    static constexpr std::size_t kChunk = 8U << 20;

    Writer(std::FILE* file, std::string_view eol, std::vector<std::uint64_t> subs)
        : m_file(file), m_eol(eol), m_subs(std::move(subs)) {
        std::setvbuf(m_file, nullptr, _IONBF, 0);
        m_buf.reserve(kChunk + (1U << 16));
    }

    std::string& buffer() { return m_buf; }
    std::uint64_t offset() const { return m_flushed + m_buf.size(); }
    std::size_t eolSize() const { return m_eol.size(); }
    std::size_t unplacedSubs() const { return m_subs.size() - m_next; }

    // Ends the line that starts at start in the buffer: SUB bytes may go at its index
    // firstSub and after (kNoSub: nowhere), then the line end follows unless it goes on.
    void endLine(std::size_t start, std::size_t firstSub, bool withEol = true) {
        placeSubs(start, firstSub);
        if (withEol)
            m_buf += m_eol;
        if (m_buf.size() >= kChunk)
            flush();
    }
    void flush() {
        std::fwrite(m_buf.data(), 1, m_buf.size(), m_file); // a failure shows in ferror()
        m_flushed += m_buf.size();
        m_buf.clear();
    }

private:
    // A target offset in a line, or a part of it, that may not hold one moves on to the next
    // record; never onto a TAB, a DEL of a memo line break or another SUB.
    void placeSubs(std::size_t start, std::size_t first) {
        const std::uint64_t lineStart = m_flushed + start;
        while (m_next < m_subs.size() && m_subs[m_next] < offset()) {
            if (first == kNoSub || start + first >= m_buf.size())
                return;
            const auto wanted =
                static_cast<std::size_t>(std::max(m_subs[m_next], lineStart + first) - m_flushed);
            std::size_t at = m_buf.find_first_not_of(kNoSubOn, wanted);
            if (at == kNoSub) // then the nearest byte before it
                at = m_buf.find_last_not_of(kNoSubOn, wanted);
            if (at == kNoSub || at < start + first)
                return;
            m_buf[at] = kSub;
            ++m_next;
        }
    }

    std::FILE* m_file;
    std::string_view m_eol;
    std::string m_buf;
    std::uint64_t m_flushed = 0;
    std::vector<std::uint64_t> m_subs; // sorted file offsets
    std::size_t m_next = 0;
};

// The ids a table's records got so far, for the fields that refer to them.
struct IdRange {
    std::string_view table;
    std::uint64_t base = 0;
    std::uint64_t step = 0;
    std::uint64_t count = 0;
};

// Builds record lines in the writer's buffer, drawing every random choice from one generator.
class RecordBuilder {
public:
    RecordBuilder(Writer& out, std::uint64_t seed) : m_out(out), m_buf(out.buffer()), m_rng(seed) {
        makeDates();
    }

    // Raw outputs modulo n: unlike <random>'s distributions, the same on every platform.
    std::uint64_t below(std::uint64_t n) { return m_rng() % n; }
    std::uint64_t between(std::uint64_t lo, std::uint64_t hi) { return lo + below(hi - lo + 1); }
    template <typename List> std::string_view any(const List& list) {
        return list[static_cast<std::size_t>(below(list.size()))];
    }

    // The one builder of records: one value per field, each by its recipe.
    void build(const Table& table, std::uint64_t index, std::uint64_t given) {
        m_buf += "%R";
        for (const Field& field : table.fields) {
            m_buf += kTab;
            if (field.recipe.percent >= 100 || below(100) < field.recipe.percent)
                value(table, field.recipe, index, given);
        }
    }
    // A record line goes out; SUB bytes only after its "%R" tag and TAB.
    void commit(std::size_t start) {
        m_out.endLine(start, 3);
        ++m_ranges.back().count;
    }
    void record(const Table& table, std::uint64_t index, std::uint64_t given = 0) {
        const std::size_t start = m_buf.size();
        build(table, index, given);
        commit(start);
    }
    // Writes the record when it ends at or before limit; false (and nothing written) otherwise.
    bool recordWithin(const Table& table, std::uint64_t index, std::uint64_t limit) {
        const std::size_t start = m_buf.size();
        build(table, index, 0);
        if (m_out.offset() + m_out.eolSize() > limit) {
            m_buf.resize(start);
            return false;
        }
        commit(start);
        return true;
    }
    void plainLine(std::string_view text) {
        const std::size_t start = m_buf.size();
        m_buf += text;
        m_out.endLine(start, kNoSub);
    }
    void heading(const Table& table) {
        std::size_t start = m_buf.size();
        m_buf += "%T\t";
        m_buf += table.name;
        m_out.endLine(start, kNoSub);
        start = m_buf.size();
        m_buf += "%F";
        for (const Field& field : table.fields) {
            m_buf += kTab;
            m_buf += field.name;
        }
        m_out.endLine(start, kNoSub);
        const Recipe& first = table.fields[0].recipe;
        m_ranges.push_back({table.name, first.lo, first.kind == Kind::Id ? first.hi : 0, 0});
    }
    std::uint64_t headingSize(const Table& table) const {
        std::uint64_t size = 5 + table.name.size() + 2 * m_out.eolSize();
        for (const Field& field : table.fields)
            size += 1 + field.name.size();
        return size;
    }

    std::uint64_t countOf(std::string_view table) const {
        const IdRange* range = rangeOf(table);
        return range ? range->count : 0;
    }

protected:
    // Words separated by spaces, about length bytes of them.
    void words(std::uint64_t length) {
        const std::size_t end = m_buf.size() + static_cast<std::size_t>(length);
        do {
            m_buf += any(kWords);
            m_buf += ' ';
        } while (m_buf.size() < end);
        m_buf.pop_back();
    }
    // The id of a random record written so far in the table; none when it has none.
    void putRef(std::string_view table) {
        const IdRange* range = rangeOf(table);
        if (range && range->count > 0)
            put(range->base + range->step * below(range->count));
    }

    Writer& m_out;
    std::string& m_buf;

private:
    // "YYYY-MM-DD HH:MM" dates from 2024 to 2028, made once.
    void makeDates() {
        constexpr std::array<std::uint64_t, 12> days = {31, 28, 31, 30, 31, 30,
                                                        31, 31, 30, 31, 30, 31};
        constexpr std::array<std::string_view, 4> times = {"08:00", "12:00", "13:00", "17:00"};
        char text[40];
        for (int i = 0; i < 4096; ++i) {
            const auto month = below(12);
            std::snprintf(text, sizeof text, "%04u-%02u-%02u %s", unsigned(2024 + below(5)),
                          unsigned(month + 1), unsigned(1 + below(days[month])), any(times).data());
            m_dates.emplace_back(text);
        }
    }

    void put(std::uint64_t value) {
        char digits[24];
        m_buf.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    }
    void putAmount(std::uint64_t hundredths) {
        put(hundredths / 100);
        m_buf += '.';
        m_buf += static_cast<char>('0' + hundredths / 10 % 10);
        m_buf += static_cast<char>('0' + hundredths % 10);
    }
    static std::string_view choice(std::string_view choices, std::uint64_t n) {
        n %= static_cast<std::uint64_t>(std::count(choices.begin(), choices.end(), '|')) + 1;
        std::size_t at = 0;
        for (; n > 0; --n)
            at = choices.find('|', at) + 1;
        return choices.substr(at, choices.find('|', at) - at);
    }
    void sentences(std::uint64_t count) {
        for (std::uint64_t i = 0; i < count; ++i) {
            if (i > 0)
                m_buf += "\x7f\x7f"; // a memo's line break
            m_buf += any(kSentences);
        }
    }
    void putGuid() {
        static constexpr std::string_view kBase64 =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        std::uint64_t bits = m_rng();
        for (int i = 0; i < 22; ++i) {
            if (i == 10)
                bits = m_rng();
            m_buf += kBase64[bits & 63];
            bits >>= 6;
        }
    }
    void putCalendar(std::uint64_t holidays) {
        constexpr std::string_view kDay = "()(      (0||0(s|08:00|f|12:00)())      "
                                          "(0||1(s|13:00|f|17:00)())))";
        m_buf += "(0||CalendarData()(  (0||DaysOfWeek()(    (0||1()())";
        for (char day = '2'; day <= '6'; ++day)
            m_buf.append("    (0||").append(1, day).append(kDay);
        m_buf += "    (0||7()())))  (0||VIEW(ShowTotal|Y)())  (0||Exceptions()(";
        for (std::uint64_t h = 0; h < holidays; ++h) {
            m_buf += "    (0||";
            put(h);
            m_buf += "(d|";
            put(45000 + below(2000));
            m_buf += ")())";
        }
        m_buf += ")))";
    }
    const IdRange* rangeOf(std::string_view table) const {
        for (const IdRange& range : m_ranges)
            if (range.table == table)
                return &range;
        return nullptr;
    }

    // One field's value, made by its recipe.
    void value(const Table& table, const Recipe& r, std::uint64_t index, std::uint64_t given) {
        switch (r.kind) {
        case Kind::Empty: break;
        case Kind::Fixed: m_buf += r.text; break;
        case Kind::Id: put(r.lo + r.hi * index); break;
        case Kind::Seq: put(r.lo * index); break;
        case Kind::Code:
            m_buf += r.text;
            put(r.lo + r.hi * index);
            break;
        case Kind::Cycle: m_buf += choice(r.text, index); break;
        case Kind::Pick: m_buf += choice(r.text, m_rng()); break;
        case Kind::Num: put(between(r.lo, r.hi)); break;
        case Kind::Amount: putAmount(between(r.lo * 100, r.hi * 100 + 99)); break;
        case Kind::Date: m_buf += any(m_dates); break;
        case Kind::Text: words(between(r.lo, r.hi)); break;
        case Kind::Memo: sentences(between(r.lo, r.hi)); break;
        case Kind::Html:
            m_buf += "<HTML><BODY>";
            sentences(between(r.lo, r.hi));
            m_buf += "</BODY></HTML>";
            break;
        case Kind::Person: m_buf += any(kPeople); break;
        case Kind::Guid: putGuid(); break;
        case Kind::Ref: putRef(r.text); break;
        case Kind::Parent:
            if (index > 0)
                put(table.fields[0].recipe.lo + table.fields[0].recipe.hi * below(index));
            break;
        case Kind::Given:
            if (given != 0)
                put(given);
            break;
        case Kind::Calendar: putCalendar(between(r.lo, r.hi)); break;
        }
    }

    std::mt19937_64 m_rng;
    std::vector<std::string> m_dates;
    std::vector<IdRange> m_ranges; // one for each table written, in file order
};

} // namespace makexer
