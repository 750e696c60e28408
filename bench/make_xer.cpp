// Makes synthetic XER files for the benchmarks, laid out like real P6 exports; the tables are
// described in make_xer_tables.h. The same arguments always give the same bytes on every
// platform: the only generator is std::mt19937_64, whose outputs the standard fixes, and its
// outputs are taken modulo n rather than through <random>'s distributions, which are not fixed.

#include "make_xer_records.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace makexer;

constexpr std::string_view kHeader = "ERMHDR\t8.0\t2026-11-30\tProject\tadmin\tAdministrator\t"
                                     "dbxDatabaseNoName\tProject Management\tEUR";

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
    std::uint64_t size = 100ULL << 20;
    std::uint64_t pobs = 20000;
    std::optional<std::uint64_t> pobsShare;
    std::uint64_t riskTypes = 250;
    std::uint64_t projRisks = 1500;
    std::uint64_t riskRefs = 40;
    std::uint64_t subs = 0;
    std::uint64_t seed = 1;
    bool proRisk = false;
    bool lfOnly = false;
    bool singleLine = false;
};

// The file's layout, and the code of the tables whose values depend on each other.
class Generator : RecordBuilder {
public:
    Generator(const Options& options, Writer& out)
        : RecordBuilder(out, options.seed), m_options(options) {}

    void run() { m_options.singleLine ? singleLine() : tables(); }
    using RecordBuilder::countOf;
    std::uint64_t pobsBytes() const { return m_pobsBytes; }

private:
    // ---- tables ----
    void tables() {
        plainLine(kHeader);
        for (const Table& table : kFixedTables) {
            if (table.name == "POBS")
                pobs(table);
            else
                smallTable(table);
        }
        riskTypes();
        risks();
        const std::uint64_t tail = 2 + m_out.eolSize(); // the "%E" line
        if (m_options.size > m_out.offset() + tail)
            bulk(m_options.size - tail);
        else
            tooSmall();
        plainLine("%E");
    }

    void smallTable(const Table& table) {
        heading(table);
        for (std::uint64_t i = 0, n = between(table.minCount, table.maxCount); i < n; ++i)
            record(table, i);
    }

    // Either the count asked for, or as many as fill the share of the file's bytes.
    void pobs(const Table& table) {
        const auto share = m_options.pobsShare;
        if (share ? *share == 0 : m_options.pobs == 0)
            return;
        heading(table);
        const std::uint64_t start = m_out.offset();
        const std::uint64_t limit = share ? start + m_options.size * *share / 100
                                          : std::numeric_limits<std::uint64_t>::max();
        const std::size_t root = m_buf.size();
        m_buf += "%R\t100\t\t0\tPOBS_Root\tPerforming Organization_Root\t";
        commit(root);
        for (std::uint64_t i = 1; share || i < m_options.pobs; ++i)
            if (!recordWithin(table, i, limit))
                break;
        m_pobsBytes = m_out.offset() - start;
    }

    std::uint64_t riskTypeId(std::uint64_t index) const {
        return kRiskType[0].recipe.lo + kRiskType[0].recipe.hi * index;
    }

    void riskTypes() {
        if (m_options.riskTypes == 0)
            return;
        heading(kRiskTypeTable);
        const std::uint64_t roots = std::max<std::uint64_t>(1, m_options.riskTypes / 10);
        for (std::uint64_t i = 0; i < m_options.riskTypes; ++i)
            record(kRiskTypeTable, i, i < roots ? 0 : riskTypeId(below(i)));
    }

    // The risk type is data field 7, as in real exports. The first records use every
    // referenced type once, spread over the RISKTYPE table; later ones repeat them.
    void risks() {
        if (m_options.projRisks == 0)
            return;
        Table table = kRiskTable;
        if (m_options.proRisk)
            table.name = "PRORISK";
        heading(table);
        const std::uint64_t refs = m_options.riskRefs;
        for (std::uint64_t i = 0; i < m_options.projRisks; ++i) {
            const std::uint64_t ref = i < refs ? i : (refs ? below(refs) : 0);
            record(table, i, refs ? riskTypeId(ref * m_options.riskTypes / refs) : 0);
        }
    }

    // The bulk tables take their shares of what is left, and a last record pads the file.
    void bulk(std::uint64_t limit) {
        constexpr std::uint64_t kPadRoom = 64; // the pad record's fixed fields and some letters
        std::uint64_t heads = 0;
        for (const BulkShare& share : kBulk)
            heads += headingSize(share.table);
        const std::uint64_t start = m_out.offset();
        if (start + heads + kPadRoom > limit)
            return tooSmall();
        const std::uint64_t budget = limit - kPadRoom - heads - start;
        unsigned shares = 0;
        heads = 0;
        for (const BulkShare& share : kBulk) {
            shares += share.percent;
            heads += headingSize(share.table);
            const std::uint64_t end = start + heads + budget * shares / 100;
            heading(share.table);
            for (std::uint64_t i = 0; recordWithin(share.table, i, end); ++i) {
            }
        }
        pad(limit);
    }

    // A last UDFVALUE record whose text ends the file's records exactly at limit.
    void pad(std::uint64_t limit) {
        const auto room = static_cast<std::size_t>(limit - m_out.offset());
        const std::size_t start = m_buf.size();
        const std::size_t textEnd = start + room - m_out.eolSize() - 1;
        m_buf += "%R\t";
        putRef("UDFTYPE");
        m_buf += kTab;
        putRef("TASK");
        m_buf.append(1, kTab).append(kProj).append("\t\t\t");
        words(textEnd + 1 - m_buf.size());
        m_buf.resize(textEnd);
        m_buf += kTab;
        commit(start);
    }

    static void tooSmall() {
        std::fputs("make_xer: the fixed tables alone exceed --size; the file is larger\n", stderr);
    }

    // One line without a line end: the header's text, then task records joined by TABs.
    void singleLine() {
        const std::uint64_t size = m_options.size;
        std::size_t start = m_buf.size();
        std::size_t firstSub = 7; // "ERMHDR" and its TAB stay whole
        m_buf += kHeader;
        for (std::uint64_t i = 0;; ++i) {
            const bool last = m_out.offset() >= size;
            if (last)
                m_buf.resize(m_buf.size() - static_cast<std::size_t>(m_out.offset() - size));
            m_out.endLine(start, firstSub, false);
            if (last)
                return;
            start = m_buf.size();
            firstSub = 0;
            build(kBulk[0].table, i, 0);
            m_buf.erase(start, 2); // the record's tag goes: its TAB joins it to what came before
        }
    }

    const Options& m_options;
    std::uint64_t m_pobsBytes = 0;
};

bool parseCount(std::string_view text, std::uint64_t& value) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

// A size with an optional binary suffix: K, M, G (also KiB, MiB, GiB, KB, MB, GB).
bool parseSize(std::string_view text, std::uint64_t& value) {
    const std::size_t digits = std::min(text.find_first_not_of("0123456789"), text.size());
    if (digits == 0 || !parseCount(text.substr(0, digits), value))
        return false;
    const std::string_view suffix = text.substr(digits);
    if (suffix.empty())
        return true;
    const auto unit = std::string_view("kmg").find(static_cast<char>(suffix[0] | 0x20));
    const std::string_view rest = suffix.substr(1);
    if (unit == std::string_view::npos || (!rest.empty() && rest != "B" && rest != "iB"))
        return false;
    const auto shift = static_cast<unsigned>(10 * (unit + 1));
    if (value > (std::numeric_limits<std::uint64_t>::max() >> shift))
        return false;
    value <<= shift;
    return true;
}

struct CountOption {
    std::string_view name;
    std::uint64_t Options::*member;
};
constexpr std::array<CountOption, 6> kCountOptions = {{{"--pobs", &Options::pobs},
                                                       {"--risktypes", &Options::riskTypes},
                                                       {"--projrisks", &Options::projRisks},
                                                       {"--risk-refs", &Options::riskRefs},
                                                       {"--sub", &Options::subs},
                                                       {"--seed", &Options::seed}}};

// Takes argv[i] and, when it has one, its value; false when they are wrong.
bool parseArgument(int argc, char** argv, int& i, Options& options) {
    const std::string_view arg = argv[i];
    bool* flag = arg == "--lf"            ? &options.lfOnly
                 : arg == "--single-line" ? &options.singleLine
                 : arg == "--prorisk"     ? &options.proRisk
                                          : nullptr;
    if (flag)
        return *flag = true;
    if (i + 1 >= argc)
        return false;
    const std::string_view value = argv[++i];
    for (const CountOption& option : kCountOptions)
        if (arg == option.name)
            return parseCount(value, options.*option.member);
    if (arg == "--pobs-share") {
        options.pobsShare = 0;
        return parseCount(value, *options.pobsShare) && *options.pobsShare <= 60;
    }
    if (arg == "-o" || arg == "--out") {
        options.out = value;
        return !value.empty();
    }
    return arg == "--size" && parseSize(value, options.size);
}

// 0 on success, 2 on a wrong command line (the message is printed).
int parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (!parseArgument(argc, argv, i, options)) {
            std::fprintf(stderr, "make_xer: bad argument near '%.*s'\n\n%s",
                         static_cast<int>(arg.size()), arg.data(), kUsage);
            return 2;
        }
    }
    if (options.out.empty()) {
        std::fprintf(stderr, "make_xer: no output file (-o FILE)\n\n%s", kUsage);
        return 2;
    }
    if (options.riskRefs > options.riskTypes) {
        std::fputs("make_xer: --risk-refs cannot exceed --risktypes\n", stderr);
        return 2;
    }
    return 0;
}

// The SUB bytes' offsets: uniform over [0, span), sorted, from a generator of their own.
std::vector<std::uint64_t> subTargets(const Options& options, std::uint64_t span) {
    std::vector<std::uint64_t> targets;
    std::mt19937_64 rng(options.seed ^ 0x5ab5ab5ab5ab5ab5ULL);
    for (std::uint64_t i = 0; span > 0 && i < options.subs; ++i)
        targets.push_back(rng() % span);
    std::sort(targets.begin(), targets.end());
    return targets;
}

// For the scripts: what the file holds, "NAME: N bytes; P POBS records (S % of the bytes) ...".
void printSummary(const Options& options, const Generator& made, std::uint64_t size) {
    const char* risks = options.proRisk ? "PRORISK" : "PROJRISK";
    const auto n = [&made](const char* table) { return std::to_string(made.countOf(table)); };
    std::printf("%s: %s bytes; %s POBS records (%.1f %% of the bytes), %s RISKTYPE, %s %s\n",
                options.out.c_str(), std::to_string(size).c_str(), n("POBS").c_str(),
                size ? 100.0 * double(made.pobsBytes()) / double(size) : 0.0, n("RISKTYPE").c_str(),
                n(risks).c_str(), risks);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (int status = parseOptions(argc, argv, options); status != 0)
        return status;
    std::FILE* file = std::fopen(options.out.c_str(), "wb");
    if (!file) {
        std::perror(options.out.c_str());
        return 1;
    }
    const std::string_view eol = options.lfOnly ? "\n" : "\r\n";
    // The %E line at the end never takes a SUB byte.
    const std::uint64_t span =
        options.singleLine ? options.size
                           : options.size - std::min<std::uint64_t>(options.size, 2 + eol.size());
    Writer out(file, eol, subTargets(options, span));
    Generator generator(options, out);
    generator.run();
    out.flush();
    const bool failed = std::ferror(file) != 0;
    if (std::fclose(file) != 0 || failed) {
        std::perror(options.out.c_str());
        std::remove(options.out.c_str());
        return 1;
    }
    if (out.unplacedSubs() > 0) {
        std::fprintf(stderr, "make_xer: %zu SUB bytes found no record to go into\n",
                     out.unplacedSubs());
        std::remove(options.out.c_str());
        return 1;
    }
    printSummary(options, generator, out.offset());
    return 0;
}
