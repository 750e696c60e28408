// Makes synthetic XER files for the benchmarks, laid out like real P6 exports; the tables are
// described in make_xer_tables.h. The same arguments always give the same bytes on every
// platform: the only generator is std::mt19937_64, whose outputs the standard fixes, and its
// outputs are taken modulo n rather than through <random>'s distributions, which are not fixed.

#include "make_xer_tables.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

using namespace makexer;

constexpr std::string_view kNoSubOn = "\t\x7f\x1a"; // TAB, DEL of a memo line break, SUB
constexpr std::size_t kNoSub = std::string::npos;
constexpr std::string_view kWorkDay =
    "()(      (0||0(s|08:00|f|12:00)())      (0||1(s|13:00|f|17:00)())))";
constexpr U64 kNoLimit = ~U64{0};

constexpr const char* kUsage =
    "Usage: make_xer -o FILE [options]\n"
    "\n"
    "Writes a synthetic XER file that is laid out like a real P6 export, and prints its size\n"
    "and record counts.\n"
    "\n"
    "  -o, --out FILE        the file to write (replaced when it exists)\n"
    "  --size N              total size in bytes; K, M, G are binary (1G = 1 GiB) [100M]\n"
    "  --pobs N              POBS records; 0: no POBS table [20000]\n"
    "  --pobs-share P        POBS records fill about P % of the file's bytes (0 to 60);\n"
    "                        their count follows from the size, and --pobs is ignored\n"
    "  --risktypes N         RISKTYPE records, a tree whose first tenth are roots [250]\n"
    "  --projrisks N         risk records that refer to risk types [1500]\n"
    "  --risk-refs N         distinct RISKTYPE ids that the risk records use [40]\n"
    "  --prorisk             name the risk table PRORISK instead of PROJRISK\n"
    "  --sub N               SUB bytes put into record text at seeded positions [0]\n"
    "  --seed N              seed of the generator [1]\n"
    "  --lf                  LF-only line ends instead of CR LF\n"
    "  --single-line         one single line of the given size without any line end\n"
    "\n"
    "The file has exactly the given size unless its fixed tables alone are larger.\n"
    "The SUB bytes use a generator of their own: a file with --sub N differs from the\n"
    "same file with --sub 0 only in those N bytes.\n";

struct Options {
    std::string out;
    U64 size = 100ULL << 20, pobs = 20000, riskTypes = 250, projRisks = 1500, riskRefs = 40;
    U64 subs = 0, seed = 1, pobsShare = kNoLimit; // kNoLimit: no share, --pobs counts
    bool proRisk = false, lfOnly = false, singleLine = false;
};

// Writes the file's lines into a buffer that goes out in 8 MiB chunks, and puts the SUB bytes
// into the record lines at offsets drawn by a generator of their own.
class Generator {
public:
    Generator(const Options& options, std::FILE* file)
        : m_options(options), m_file(file), m_eol(options.lfOnly ? "\n" : "\r\n"),
          m_rng(options.seed) {
        m_buf.reserve(kChunk + (1U << 16));
        // The %E line at the end never takes a SUB byte.
        const U64 span =
            options.size - (options.singleLine ? 0 : std::min<U64>(options.size, 2 + m_eol.size()));
        std::mt19937_64 subRng(options.seed ^ 0x5ab5ab5ab5ab5ab5ULL);
        for (U64 i = 0; span > 0 && i < options.subs; ++i)
            m_subs.push_back(subRng() % span);
        std::sort(m_subs.begin(), m_subs.end());
        for (int i = 0; i < 4096; ++i) { // "YYYY-MM-DD HH:MM" from 2024 to 2028, made once
            char date[64];
            std::snprintf(date, sizeof date, "%04u-%02u-%02u %.5s", unsigned(2024 + below(5)),
                          unsigned(1 + below(12)), unsigned(1 + below(28)),
                          &"08:0012:0013:0017:00"[5 * below(4)]);
            m_dates.emplace_back(date);
        }
    }

    void run() {
        m_options.singleLine ? singleLine() : tables();
        std::fwrite(m_buf.data(), 1, m_buf.size(), m_file); // a failure shows in ferror()
    }
    std::size_t unplacedSubs() const { return m_subs.size() - m_nextSub; }

    // For the scripts: what the file holds, "NAME: N bytes; P POBS records (S % of the bytes) ...".
    void printSummary() const {
        const char* risks = m_options.proRisk ? "PRORISK" : "PROJRISK";
        const auto n = [this](std::string_view t) { return std::to_string(countOf(t)); };
        std::printf("%s: %s bytes; %s POBS records (%.1f %% of the bytes), %s RISKTYPE, %s %s\n",
                    m_options.out.c_str(), std::to_string(offset()).c_str(), n("POBS").c_str(),
                    offset() ? 100.0 * double(m_pobsBytes) / double(offset()) : 0.0,
                    n("RISKTYPE").c_str(), n(risks).c_str(), risks);
    }

private:
    static constexpr std::size_t kChunk = 8U << 20;

    void tables() {
        plainLine(kHeader);
        for (const Table& table : kSmallTables)
            smallTable(table);
        if (m_options.riskTypes > 0) // RISKTYPE right before the risks
            records(heading(kRiskTypes), m_options.riskTypes);
        if (m_options.projRisks > 0)
            records(heading(kRisks, m_options.proRisk ? "PRORISK" : ""), m_options.projRisks);
        bulk(m_options.size - std::min<U64>(m_options.size, 2 + m_eol.size()));
        plainLine("%E");
        if (offset() > m_options.size)
            std::fputs("make_xer: the fixed tables alone exceed --size; the file is larger\n",
                       stderr);
    }

    // POBS records: either the count asked for, or as many as fill the share of the file's bytes.
    void smallTable(const Table& table) {
        const U64 share = m_options.pobsShare, start = offset();
        if (table.name != "POBS")
            return records(heading(table), table.lo + below(table.hi - table.lo + 1));
        if (share == kNoLimit ? m_options.pobs > 0 : share > 0)
            records(heading(table), share == kNoLimit ? m_options.pobs : kNoLimit,
                    share == kNoLimit ? kNoLimit : start + m_options.size * share / 100);
        m_pobsBytes = offset() - start;
    }

    // The bulk tables take their shares of what is left; the last one's last record, whose memo
    // is words cut to length, ends the records exactly at limit.
    void bulk(U64 limit) {
        constexpr U64 kPadRoom = 64; // the pad record's fixed fields and some letters
        const U64 start = offset(), room = limit > start + kPadRoom ? limit - kPadRoom - start : 0;
        U64 shares = 0;
        for (const Table& table : kBulk)
            records(heading(table), kNoLimit, start + room * (shares += table.lo) / 100);
        Written& last = m_tables.back();
        const std::size_t at = m_buf.size();
        build(last, last.count);
        m_buf.resize(m_buf.rfind('\t') + 1);
        const U64 end = std::max(limit, offset() + m_eol.size() + 1) - m_eol.size();
        words(end - offset() + 1);
        m_buf.resize(std::size_t(end - m_flushed));
        endRecord(last, at);
    }

    // One line without a line end: the header's text, then task records joined by TABs.
    void singleLine() {
        const Written task(kBulk[0], kBulk[0].name);
        m_buf += kHeader;
        for (std::size_t i = 0, start = 0, firstSub = 7;; ++i, firstSub = 0) { // "ERMHDR\t" stays
            m_buf.resize(m_buf.size() - std::size_t(offset() - std::min(offset(), m_options.size)));
            endLine(start, firstSub, false);
            if (offset() == m_options.size)
                return;
            start = m_buf.size();
            build(task, i);
            m_buf.erase(start, 2); // the record's tag goes: its TAB joins it to what came before
        }
    }

    U64 offset() const { return m_flushed + m_buf.size(); }

    // Ends the line that starts at start in the buffer: SUB bytes may go at its index first and
    // after (kNoSub: nowhere), then the line end follows unless the line goes on.
    void endLine(std::size_t start, std::size_t first, bool withEol = true) {
        for (; first != kNoSub && m_nextSub < m_subs.size() && m_subs[m_nextSub] < offset();
             ++m_nextSub) {
            const auto wanted =
                std::size_t(std::max(m_subs[m_nextSub], m_flushed + start + first) - m_flushed);
            std::size_t at = m_buf.find_first_not_of(kNoSubOn, wanted); // not on TAB, DEL, SUB
            at = at == kNoSub ? m_buf.find_last_not_of(kNoSubOn, wanted) : at; // or just before
            if (at == kNoSub || at < start + first)
                break; // the next record takes it
            m_buf[at] = '\x1a';
        }
        if (withEol)
            m_buf += m_eol;
        if (m_buf.size() >= kChunk) {
            std::fwrite(m_buf.data(), 1, m_buf.size(), m_file);
            m_flushed += m_buf.size();
            m_buf.clear();
        }
    }
    void plainLine(std::string_view text) {
        const std::size_t start = m_buf.size();
        m_buf += text;
        endLine(start, kNoSub);
    }
    Written& heading(const Table& table, std::string_view name = {}) {
        Written& written = m_tables.emplace_back(table, name.empty() ? table.name : name);
        plainLine(std::string("%T\t").append(written.name));
        std::string names = "%F";
        for (const Field& field : written.fields)
            names.append(1, '\t').append(field.name);
        plainLine(names);
        return written;
    }
    // Up to count records while they end at or before limit; the one that would not is dropped.
    void records(Written& table, U64 count, U64 limit = kNoLimit) {
        for (U64 i = 0; i < count; ++i) {
            const std::size_t start = m_buf.size();
            build(table, i);
            if (offset() + m_eol.size() > limit)
                return m_buf.resize(start);
            endRecord(table, start);
        }
    }
    void endRecord(Written& table, std::size_t start) {
        endLine(start, 3); // SUB bytes only after the "%R" tag and its TAB
        ++table.count;
    }

    // Raw outputs modulo n: unlike <random>'s distributions, the same on every platform.
    U64 below(U64 n) { return m_rng() % n; }
    U64 between(U64 lo, U64 hi) { return lo + below(hi - lo + 1); }
    template <typename List> std::string_view any(const List& list) {
        return list.size() == 1 ? list[0] : list[std::size_t(below(list.size()))];
    }
    const Written* find(std::string_view name) const {
        const auto it = std::find_if(m_tables.begin(), m_tables.end(),
                                     [name](const Written& table) { return table.name == name; });
        return it == m_tables.end() ? nullptr : &*it;
    }
    U64 countOf(std::string_view name) const { return find(name) ? find(name)->count : 0; }

    void build(const Written& table, U64 index) {
        m_buf += "%R";
        for (const Field& field : table.fields) {
            m_buf += '\t';
            if (field.kind && (!field.sometimes || below(10) < 4))
                value(table, field, index);
        }
    }
    void value(const Written& table, const Field& f, U64 index) {
        const Written* other = f.kind == '>' ? find(f.text) : &table;
        const U64 earlier = f.kind == '>' ? (other ? other->count : 0) : index;
        const U64 refs = m_options.riskRefs;
        switch (f.kind) {
        case '=': m_buf += any(f.choices); break;
        case 'I': put(table.firstId + index); break;
        case 'C': put(1000 + index, table.name.substr(0, 1)); break;
        case 'N': put(below(401)); break;
        case 'A': amount(below(1000000)); break;
        case 'D': m_buf += any(m_dates); break;
        case 'W': words(between(5, 50)); break;
        case 'M': memo(between(1, 5)); break;
        case 'P': m_buf += any(kPeople); break;
        case 'G': guid(); break;
        case 'T': // RISKTYPE's parent: the first tenth are roots
            if (index > 0 && index >= m_options.riskTypes / 10)
                put(table.firstId + below(index));
            break;
        case 'R': // the first risks use every referenced type once, later ones repeat them
            if (refs > 0)
                put(kRiskTypes.firstId +
                    (index < refs ? index : below(refs)) * m_options.riskTypes / refs);
            break;
        case 'K': calendar(); break;
        case '>':
        case 'U':
            if (earlier > 0)
                put(other->firstId + below(earlier));
            break;
        default: break;
        }
    }
    void put(U64 value, std::string_view prefix = {}, int base = 10) {
        char digits[64];
        m_buf.append(prefix).append(digits, std::to_chars(digits, digits + 64, value, base).ptr);
    }
    void amount(U64 cents) { // with two decimals
        put(cents / 100);
        m_buf.append({'.', char('0' + cents / 10 % 10), char('0' + cents % 10)});
    }
    void guid() { // two random numbers in base 36: 24 to 26 letters and digits
        put(m_rng(), {}, 36);
        put(m_rng(), {}, 36);
    }
    // Words separated by spaces, about length bytes of them after prefix.
    void words(U64 length, std::string_view prefix = {}) {
        for (const std::size_t end = m_buf.append(prefix).size() + length; m_buf.size() < end;)
            m_buf.append(any(kWords)).append(1, ' ');
        m_buf.pop_back(); // the last space
    }
    void memo(U64 lines) {
        m_buf += "<HTML><BODY>";
        for (U64 i = 0; i < lines; ++i)
            words(between(20, 70), i ? "\x7f\x7f" : ""); // DEL DEL: a memo's line break
        m_buf += "</BODY></HTML>";
    }
    // P6's calendar data: Monday to Friday 08:00-12:00 and 13:00-17:00, and 10 to 60 holidays.
    void calendar() {
        m_buf += "(0||CalendarData()(  (0||DaysOfWeek()(    (0||1()())";
        for (char day = '2'; day <= '6'; ++day)
            m_buf.append("    (0||").append(1, day).append(kWorkDay);
        m_buf += "    (0||7()())))  (0||VIEW(ShowTotal|Y)())  (0||Exceptions()(";
        for (U64 h = 0, n = between(10, 60); h < n; ++h) {
            put(h, "    (0||");
            put(45000 + below(2000), "(d|");
            m_buf += ")())";
        }
        m_buf += ")))";
    }

    const Options& m_options;
    std::FILE* m_file;
    std::string_view m_eol;
    std::string m_buf;
    U64 m_flushed = 0, m_pobsBytes = 0;
    std::vector<U64> m_subs; // sorted file offsets
    std::size_t m_nextSub = 0;
    std::mt19937_64 m_rng;
    std::vector<std::string> m_dates;
    std::vector<Written> m_tables; // in file order
};

bool parseCount(std::string_view text, U64& value) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

// A size with an optional binary suffix: K, M, G (also KiB, MiB, GiB, KB, MB, GB).
bool parseSize(std::string_view text, U64& value) {
    const std::size_t digits = std::min(text.find_first_not_of("0123456789"), text.size());
    const std::string_view suffix = text.substr(digits), rest = suffix.substr(!suffix.empty());
    const auto unit =
        unsigned(std::string_view("bkmg").find(suffix.empty() ? 'b' : suffix[0] | 0x20));
    if (digits == 0 || !parseCount(text.substr(0, digits), value) || unit > 3 ||
        !(rest.empty() || rest == "B" || rest == "iB") || value > (kNoLimit >> (10 * unit)))
        return false;
    value <<= 10 * unit;
    return true;
}

// Reads the command line into options; false, with a message, when it is wrong.
bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i], value = i + 1 < argc ? argv[i + 1] : "";
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        bool* flag = arg == "--lf"            ? &o.lfOnly
                     : arg == "--single-line" ? &o.singleLine
                     : arg == "--prorisk"     ? &o.proRisk
                                              : nullptr;
        U64* count = arg == "--pobs"         ? &o.pobs
                     : arg == "--risktypes"  ? &o.riskTypes
                     : arg == "--projrisks"  ? &o.projRisks
                     : arg == "--risk-refs"  ? &o.riskRefs
                     : arg == "--sub"        ? &o.subs
                     : arg == "--seed"       ? &o.seed
                     : arg == "--pobs-share" ? &o.pobsShare
                                             : nullptr;
        const bool good =
            flag              ? (*flag = true)
            : count           ? parseCount(value, *count) && (count != &o.pobsShare || *count <= 60)
            : arg == "--size" ? parseSize(value, o.size)
                              : (arg == "-o" || arg == "--out") && !(o.out = value).empty();
        if (!good || (!flag && ++i >= argc)) {
            std::fprintf(stderr, "make_xer: bad argument near '%.*s'\n\n%s", int(arg.size()),
                         arg.data(), kUsage);
            return false;
        }
    }
    const char* wrong = o.out.empty()              ? "no output file (-o FILE)\n\n"
                        : o.riskRefs > o.riskTypes ? "--risk-refs cannot exceed --risktypes\n"
                                                   : nullptr;
    if (wrong)
        std::fprintf(stderr, "make_xer: %s%s", wrong, o.out.empty() ? kUsage : "");
    return !wrong;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options))
        return 2;
    std::FILE* file = std::fopen(options.out.c_str(), "wb");
    if (!file) {
        std::perror(options.out.c_str());
        return 1;
    }
    Generator made(options, file);
    made.run();
    const bool failed = std::ferror(file) != 0;
    if (std::fclose(file) != 0 || failed || made.unplacedSubs() > 0) {
        if (made.unplacedSubs() > 0)
            std::fprintf(stderr, "make_xer: %zu SUB bytes found no record to go into\n",
                         made.unplacedSubs());
        else
            std::perror(options.out.c_str());
        std::remove(options.out.c_str());
        return 1;
    }
    made.printSummary();
    return 0;
}
