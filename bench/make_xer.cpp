// Makes synthetic XER files for the benchmarks.
//
// The files look like real P6 exports: an ERMHDR header line, tables of "%T" / "%F" / "%R" lines
// with CR LF line ends, "%E" at the end, Windows-1252 text, DEL DEL line breaks in memo fields,
// POBS right after OBS, RISKTYPE right before PROJRISK, and the bulk of the bytes in task-like
// tables whose lines vary in length the way real ones do. The size, the counts of the tables
// that matter and the damage (SUB bytes) are chosen on the command line; the same arguments
// always give the same bytes.

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr char kTab = '\t';
constexpr char kSub = '\x1a';
constexpr char kDel = '\x7f';
constexpr std::string_view kMemoBreak = "\x7f\x7f";

constexpr const char* kUsage =
    "Usage: make_xer -o FILE [options]\n"
    "\n"
    "Writes a synthetic XER file that is laid out like a real P6 export.\n"
    "\n"
    "  -o, --out FILE        the file to write (replaced when it exists)\n"
    "  --size N              total size in bytes; K, M, G are binary (1G = 1 GiB) [100M]\n"
    "  --pobs N              POBS records [20000]\n"
    "  --risktypes N         RISKTYPE records [250]\n"
    "  --projrisks N         PROJRISK records [1500]\n"
    "  --risk-refs N         distinct RISKTYPE ids that the PROJRISK records use [40]\n"
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
    std::uint64_t riskTypes = 250;
    std::uint64_t projRisks = 1500;
    std::uint64_t riskRefs = 40;
    std::uint64_t subs = 0;
    std::uint64_t seed = 1;
    bool lfOnly = false;
    bool singleLine = false;
};

// xoshiro256** seeded through splitmix64: fast, and the same sequence on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) {
        for (auto& s : m_state) {
            seed += 0x9e3779b97f4a7c15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            s = z ^ (z >> 31);
        }
    }
    std::uint64_t next() {
        const std::uint64_t result = rotl(m_state[1] * 5, 7) * 9;
        const std::uint64_t t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = rotl(m_state[3], 45);
        return result;
    }
    // A number in [0, n); n > 0.
    std::uint64_t below(std::uint64_t n) { return next() % n; }
    std::uint64_t between(std::uint64_t lo, std::uint64_t hi) { return lo + below(hi - lo + 1); }
    bool chance(unsigned percent) { return below(100) < percent; }
    template <typename T, std::size_t N> const T& pick(const std::array<T, N>& items) {
        return items[static_cast<std::size_t>(below(N))];
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::array<std::uint64_t, 4> m_state{};
};

// Large buffered writes straight to the file: stdio's own buffer is switched off.
class Output {
public:
    static constexpr std::size_t kChunk = 8U << 20;

    explicit Output(std::FILE* file) : m_file(file), m_buffer(kChunk) {
        std::setvbuf(m_file, nullptr, _IONBF, 0);
    }
    void write(const char* data, std::size_t size) {
        m_offset += size;
        if (m_used + size > m_buffer.size()) {
            flush();
            if (size >= m_buffer.size()) {
                put(data, size);
                return;
            }
        }
        std::memcpy(m_buffer.data() + m_used, data, size);
        m_used += size;
    }
    void flush() {
        put(m_buffer.data(), m_used);
        m_used = 0;
    }
    std::uint64_t offset() const { return m_offset; }
    bool failed() const { return m_failed; }

private:
    void put(const char* data, std::size_t size) {
        if (size > 0 && std::fwrite(data, 1, size, m_file) != size)
            m_failed = true;
    }

    std::FILE* m_file;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    std::uint64_t m_offset = 0;
    bool m_failed = false;
};

// How a finished line is written and where SUB bytes may go into it.
enum class LineKind {
    Other,  // header, table and field-names lines: no SUB byte goes there
    Record, // a record line: SUB bytes only after its "%R" tag and TAB
    Piece,  // part of the one line of a single-line file: no line end follows
};

// Collects one line at a time, puts the SUB bytes that fall into it and writes it.
class LineSink {
public:
    LineSink(Output& out, std::string_view eol, std::vector<std::uint64_t> subTargets)
        : m_out(out), m_eol(eol), m_targets(std::move(subTargets)) {
        m_line.reserve(1 << 16);
    }

    std::string& line() { return m_line; }
    std::uint64_t offset() const { return m_out.offset(); }
    std::size_t eolSize() const { return m_eol.size(); }
    // The size that the current line takes in the file.
    std::uint64_t pendingSize(LineKind kind) const {
        return m_line.size() + (kind == LineKind::Piece ? 0 : m_eol.size());
    }

    void emit(LineKind kind) {
        placeSubs(kind);
        m_out.write(m_line.data(), m_line.size());
        if (kind != LineKind::Piece)
            m_out.write(m_eol.data(), m_eol.size());
        m_line.clear();
    }

    std::size_t unplacedSubs() const { return m_targets.size() - m_nextTarget; }

private:
    static bool canHoldSub(char c) { return c != kTab && c != kDel && c != kSub; }

    // A target offset inside a line that may not hold one moves on to the next record.
    void placeSubs(LineKind kind) {
        const std::uint64_t start = m_out.offset();
        const std::uint64_t end = start + m_line.size();
        const std::size_t first = kind == LineKind::Record ? 3 : 0;
        while (m_nextTarget < m_targets.size() && m_targets[m_nextTarget] < end) {
            if (kind == LineKind::Other || m_line.size() <= first)
                return;
            const auto wanted = static_cast<std::size_t>(
                std::max<std::uint64_t>(m_targets[m_nextTarget], start + first) - start);
            const std::size_t at = findSlot(wanted, first);
            if (at == std::string::npos)
                return;
            m_line[at] = kSub;
            ++m_nextTarget;
        }
    }

    std::size_t findSlot(std::size_t wanted, std::size_t first) const {
        for (std::size_t i = wanted; i < m_line.size(); ++i)
            if (canHoldSub(m_line[i]))
                return i;
        for (std::size_t i = wanted; i-- > first;)
            if (canHoldSub(m_line[i]))
                return i;
        return std::string::npos;
    }

    Output& m_out;
    std::string_view m_eol;
    std::string m_line;
    std::vector<std::uint64_t> m_targets; // sorted file offsets
    std::size_t m_nextTarget = 0;
};

// Words of task names, descriptions and memos; some in Windows-1252 (accents, the euro sign,
// typographic quotes and dashes), as exports from European sites hold them. Those bytes are
// written as octal escapes, which, unlike hex ones, cannot swallow the letters after them.
constexpr std::array<std::string_view, 72> kWords = {
    "Excavation",    "Foundation",    "Concrete",      "Formwork",   "Rebar",
    "Steel",         "Erection",      "Roof",          "Facade",     "Level",
    "Zone",          "Block",         "North",         "South",      "East",
    "West",          "HVAC",          "Electrical",    "Plumbing",   "Install",
    "Test",          "Commissioning", "Procure",       "Submittal",  "Review",
    "Approve",       "Pour",          "Slab",          "Column",     "Beam",
    "Wall",          "Ceiling",       "Drywall",       "Paint",      "Tiles",
    "Elevator",      "Fire",          "Alarm",         "Sprinkler",  "Piping",
    "Cable",         "Tray",          "Lighting",      "Handover",   "Snagging",
    "Survey",        "Backfill",      "Waterproofing", "Insulation", "Glazing",
    "B\351ton",      "Fa\347ade",     "R\351ception",  "Coffrage",   "\311tanch\351it\351",
    "Ma\347onnerie", "Pr\374fung",    "Stra\337e",     "Gro\337e",   "Ger\374st",
    "\200",          "Se\361al",      "C\364t\351",    "\234uvre",   "Niveau",
    "Dalle",         "\223Phase\224", "\226",          "Andaime",    "Cl\364ture",
    "Lev\351",       "Sch\344den"};

constexpr std::array<std::string_view, 10> kPeople = {"Ren\351 Dupont",
                                                      "Fran\347ois Martin",
                                                      "J\374rgen M\374ller",
                                                      "Ana Mar\355a Pe\361a",
                                                      "Zo\353 Smith",
                                                      "Bj\366rn Larsen",
                                                      "admin",
                                                      "planner1",
                                                      "S\351bastien Roy",
                                                      "Mar\355a Jos\351 L\363pez"};

constexpr std::array<std::string_view, 12> kSentences = {
    "Awaiting approval of the shop drawings from the consultant.",
    "Crane availability confirmed for the week of the pour.",
    "Le b\351ton doit \352tre coul\351 avant l'arriv\351e du gel.",
    "Material delivery delayed by the supplier; see letter ref. 2026/114.",
    "Co\373t estim\351 : 12 500 \200 HT, \223sous r\351serve\224 de validation.",
    "Inspection passed without comments.",
    "Die Pr\374fung der Bewehrung erfolgt durch den Pr\374fingenieur.",
    "Night shift needed to recover two days of float.",
    "Subcontractor to mobilise \226 access through gate 3 only.",
    "Revised sequence agreed in the coordination meeting.",
    "Risk of rework if the survey points are not re-checked.",
    "Se requiere se\361alizaci\363n adicional en la zona norte."};

// "YYYY-MM-DD HH:MM" dates from 2024 to 2028, made once.
std::vector<std::string> makeDates(Random& rng) {
    std::vector<std::string> dates;
    dates.reserve(4096);
    constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    constexpr std::array<std::string_view, 4> times = {"08:00", "12:00", "13:00", "17:00"};
    char text[32];
    for (int i = 0; i < 4096; ++i) {
        const auto month = static_cast<std::size_t>(rng.below(12));
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %s", 2024 + static_cast<int>(rng.below(5)),
                      static_cast<int>(month) + 1,
                      1 + static_cast<int>(rng.below(static_cast<std::uint64_t>(days[month]))),
                      rng.pick(times).data());
        dates.emplace_back(text);
    }
    return dates;
}

struct TableDef {
    std::string_view name;
    std::string_view fields; // space separated, as written to the field-names line
};

constexpr TableDef kCurrType{"CURRTYPE",
                             "curr_id decimal_digit_cnt curr_symbol decimal_symbol "
                             "digit_group_symbol pos_curr_fmt_type neg_curr_fmt_type curr_type "
                             "curr_short_name group_digit_cnt base_exch_rate"};
constexpr TableDef kObs{"OBS", "obs_id parent_obs_id guid seq_num obs_name obs_descr"};
constexpr TableDef kPobs{"POBS",
                         "pobs_id pobs_parent_id seq_num pobs_name pobs_descr pobs_manager"};
constexpr TableDef kRoles{"ROLES", "role_id parent_role_id seq_num role_name role_short_name "
                                   "pobs_id def_cost_qty_link_flag cost_qty_type role_descr "
                                   "last_checksum"};
constexpr TableDef kProject{
    "PROJECT",
    "proj_id fy_start_month_num rsrc_self_add_flag allow_complete_flag rsrc_multi_assign_flag "
    "checkout_flag project_flag step_complete_flag cost_qty_recalc_flag batch_sum_flag "
    "name_sep_char def_complete_pct_type proj_short_name acct_id orig_proj_id source_proj_id "
    "base_type_id clndr_id sum_base_proj_id task_code_base task_code_step priority_num "
    "wbs_max_sum_level strgy_priority_num last_checksum critical_drtn_hr_cnt def_cost_per_qty "
    "last_recalc_date plan_start_date plan_end_date scd_end_date add_date last_tasksum_date "
    "fcst_start_date def_duration_type task_code_prefix guid def_qty_type add_by_name "
    "web_local_root_path proj_url def_rate_type"};
constexpr TableDef kCalendar{"CALENDAR", "clndr_id default_flag clndr_name proj_id base_clndr_id "
                                         "last_chng_date clndr_type day_hr_cnt week_hr_cnt "
                                         "month_hr_cnt year_hr_cnt rsrc_private clndr_data"};
constexpr TableDef kSchedOptions{
    "SCHEDOPTIONS",
    "schedoptions_id proj_id sched_outer_depend_type sched_open_critical_flag "
    "sched_lag_early_start_flag sched_retained_logic sched_setplantocurrent "
    "sched_progress_override sched_calendar_on_relationship_lag sched_use_expect_end_flag "
    "sched_float_type sched_use_project_end_date_for_float enable_multiple_longest_path_calc "
    "limit_multiple_longest_path_calc max_multiple_longest_path "
    "key_activity_for_multiple_longest_paths LevelPriorityList"};
constexpr TableDef kProjWbs{
    "PROJWBS",
    "wbs_id proj_id obs_id seq_num est_wt proj_node_flag sum_data_flag status_code "
    "wbs_short_name wbs_name phase_id parent_wbs_id ev_user_pct ev_etc_user_value orig_cost "
    "indep_remain_total_cost ann_dscnt_rate_pct dscnt_period_type indep_remain_work_qty "
    "anticip_start_date anticip_end_date ev_compute_type ev_etc_compute_type guid tmpl_guid "
    "plan_open_state"};
constexpr TableDef kRsrc{
    "RSRC",
    "rsrc_id parent_rsrc_id clndr_id role_id shift_id user_id pobs_id guid rsrc_seq_num "
    "email_addr employee_code office_phone other_phone rsrc_name rsrc_short_name "
    "rsrc_title_name def_qty_per_hr cost_qty_type ot_factor active_flag auto_compute_act_flag "
    "def_cost_qty_link_flag ot_flag curr_id unit_id rsrc_type location_id rsrc_notes "
    "load_tasks_flag level_flag last_checksum"};
constexpr TableDef kActvType{"ACTVTYPE", "actv_code_type_id actv_short_len seq_num "
                                         "actv_code_type proj_id wbs_id actv_code_type_scope"};
constexpr TableDef kActvCode{"ACTVCODE", "actv_code_id parent_actv_code_id actv_code_type_id "
                                         "actv_code_name short_name seq_num color "
                                         "total_assignments"};
constexpr TableDef kUdfType{"UDFTYPE", "udf_type_id table_name udf_type_name udf_type_label "
                                       "logical_data_type super_flag indicator_expression "
                                       "summary_indicator_expression export_flag"};
constexpr TableDef kRiskType{"RISKTYPE", "risk_type_id seq_num risk_type parent_risk_type_id"};
constexpr TableDef kProjRisk{"PROJRISK", "risk_id risk_code proj_id add_date status_code "
                                         "risk_name risk_type_id rsrc_id risk_desc"};
constexpr TableDef kTask{
    "TASK",
    "task_id proj_id wbs_id clndr_id phys_complete_pct rev_fdbk_flag est_wt lock_plan_flag "
    "auto_compute_act_flag complete_pct_type task_type duration_type status_code task_code "
    "task_name rsrc_id total_float_hr_cnt free_float_hr_cnt remain_drtn_hr_cnt act_work_qty "
    "remain_work_qty target_work_qty target_drtn_hr_cnt target_equip_qty act_equip_qty "
    "remain_equip_qty cstr_date act_start_date act_end_date late_start_date late_end_date "
    "expect_end_date early_start_date early_end_date restart_date reend_date target_start_date "
    "target_end_date rem_late_start_date rem_late_end_date cstr_type priority_type "
    "suspend_date resume_date float_path float_path_order guid tmpl_guid cstr_date2 "
    "cstr_type2 driving_path_flag act_this_per_work_qty act_this_per_equip_qty "
    "external_early_start_date external_late_end_date create_date update_date create_user "
    "update_user location_id"};
constexpr TableDef kTaskMemo{"TASKMEMO", "memo_id task_id memo_type_id proj_id task_memo"};
constexpr TableDef kTaskPred{"TASKPRED", "task_pred_id task_id pred_task_id proj_id "
                                         "pred_proj_id pred_type lag_hr_cnt comments "
                                         "float_path aref arls"};
constexpr TableDef kTaskRsrc{
    "TASKRSRC", "taskrsrc_id task_id proj_id cost_qty_link_flag role_id acct_id rsrc_id pobs_id "
                "skill_level remain_qty target_qty remain_qty_per_hr target_lag_drtn_hr_cnt "
                "target_qty_per_hr act_ot_qty act_reg_qty relag_drtn_hr_cnt ot_factor cost_per_qty "
                "target_cost act_reg_cost act_ot_cost remain_cost act_start_date act_end_date "
                "restart_date reend_date target_start_date target_end_date rem_late_start_date "
                "rem_late_end_date rollup_dates_flag target_crv remain_crv actual_crv "
                "ts_pend_act_end_flag guid rate_type act_this_per_cost act_this_per_qty curv_id "
                "rsrc_type cost_per_qty_source_type create_user create_date has_rsrchours "
                "taskrsrc_sum_id"};
constexpr TableDef kUdfValue{"UDFVALUE", "udf_type_id fk_id proj_id udf_date udf_number "
                                         "udf_text udf_code_id"};

std::size_t fieldCount(const TableDef& table) {
    return static_cast<std::size_t>(std::count(table.fields.begin(), table.fields.end(), ' ')) + 1;
}

class Generator {
public:
    Generator(const Options& options, LineSink& sink)
        : m_options(options), m_sink(sink), m_line(sink.line()), m_rng(options.seed),
          m_dates(makeDates(m_rng)) {}

    void run() {
        if (m_options.singleLine)
            singleLine();
        else
            tables();
    }

private:
    static constexpr std::uint64_t kProjId = 4680;
    static constexpr std::uint64_t kFirstTaskId = 106000;
    static constexpr std::uint64_t kFirstRiskTypeId = 2001;

    // ---- fields of the record being built ----
    void begin() { m_line.assign("%R"); }
    void text(std::string_view value) {
        m_line += kTab;
        m_line += value;
    }
    void empty(int count = 1) { m_line.append(static_cast<std::size_t>(count), kTab); }
    void number(std::uint64_t value) {
        char digits[24];
        const auto r = std::to_chars(digits, digits + sizeof digits, value);
        m_line += kTab;
        m_line.append(digits, r.ptr);
    }
    // A decimal with the given number of places, as P6 writes quantities and costs.
    void decimal(std::uint64_t hundredths, int places = 2) {
        number(hundredths / 100);
        m_line += '.';
        char digits[4] = {static_cast<char>('0' + (hundredths / 10) % 10),
                          static_cast<char>('0' + hundredths % 10), '0', '0'};
        m_line.append(digits, static_cast<std::size_t>(places));
    }
    void date() { text(m_dates[static_cast<std::size_t>(m_rng.below(m_dates.size()))]); }
    void maybeDate(unsigned percent) {
        if (m_rng.chance(percent))
            date();
        else
            empty();
    }
    void guid() {
        static constexpr char kBase64[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        m_line += kTab;
        std::uint64_t bits = m_rng.next();
        for (int i = 0; i < 22; ++i) {
            if (i == 10)
                bits = m_rng.next();
            m_line += kBase64[bits & 63];
            bits >>= 6;
        }
    }
    void appendWords(std::uint64_t lo, std::uint64_t hi) {
        const auto n = m_rng.between(lo, hi);
        for (std::uint64_t i = 0; i < n; ++i) {
            if (i > 0)
                m_line += ' ';
            m_line += m_rng.pick(kWords);
        }
    }
    void words(std::uint64_t lo, std::uint64_t hi) {
        m_line += kTab;
        appendWords(lo, hi);
    }
    // Memo text: sentences whose line breaks are stored as DEL DEL.
    void memo(std::uint64_t lo, std::uint64_t hi) {
        m_line += kTab;
        const auto n = m_rng.between(lo, hi);
        for (std::uint64_t i = 0; i < n; ++i) {
            if (i > 0)
                m_line += kMemoBreak;
            m_line += m_rng.pick(kSentences);
        }
    }

    // ---- lines ----
    void tableLines(const TableDef& table) {
        m_line.assign("%T\t");
        m_line += table.name;
        m_sink.emit(LineKind::Other);
        m_line.assign("%F");
        for (std::size_t at = 0; at < table.fields.size();) {
            auto space = table.fields.find(' ', at);
            if (space == std::string_view::npos)
                space = table.fields.size();
            text(table.fields.substr(at, space - at));
            at = space + 1;
        }
        m_sink.emit(LineKind::Other);
        m_current = &table;
        m_checked = false;
    }
    // Every record of a table has as many fields as its field-names line names.
    void checkFields() {
        if (m_checked)
            return;
        const auto tabs = static_cast<std::size_t>(std::count(m_line.begin(), m_line.end(), kTab));
        if (tabs != fieldCount(*m_current)) {
            std::fprintf(stderr, "make_xer: %.*s record has %zu fields, not %zu\n",
                         static_cast<int>(m_current->name.size()), m_current->name.data(), tabs,
                         fieldCount(*m_current));
            std::abort();
        }
        m_checked = true;
    }
    void record() {
        checkFields();
        m_sink.emit(LineKind::Record);
    }
    // Writes the record built when it ends at or before limit; false (and nothing written)
    // otherwise.
    bool recordWithin(std::uint64_t limit) {
        if (m_sink.offset() + m_sink.pendingSize(LineKind::Record) > limit)
            return false;
        record();
        return true;
    }

    void header() {
        m_line.assign("ERMHDR\t8.0\t2026-11-30\tProject\tadmin\tAdministrator\tdbxDatabaseNoName"
                      "\tProject Management\tEUR");
        m_sink.emit(LineKind::Other);
    }

    // ---- the small tables before the bulk ----
    void currencies() {
        tableLines(kCurrType);
        constexpr std::array<std::string_view, 4> rows = {
            "%R\t1\t2\t$\t.\t,\t#1.1\t(#1.1)\tUS Dollar\tUSD\t3\t1",
            "%R\t2\t2\t\x80\t,\t.\t1.1 #\t-1.1 #\tEuro\tEUR\t3\t0.92",
            "%R\t3\t2\t\xa3\t.\t,\t#1.1\t-#1.1\tPound Sterling\tGBP\t3\t0.79",
            "%R\t4\t0\t\xa5\t.\t,\t#1.1\t-#1.1\tYen\tJPY\t3\t151.2"};
        for (auto row : rows) {
            m_line.assign(row);
            record();
        }
    }

    void obs() {
        tableLines(kObs);
        for (std::uint64_t i = 0; i < 6; ++i) {
            begin();
            number(540 + i);
            if (i == 0)
                empty();
            else
                number(540);
            guid();
            number(i * 10);
            words(1, 3);
            text("<HTML><BODY></BODY></HTML>");
            record();
        }
    }

    void pobs() {
        if (m_options.pobs == 0)
            return;
        tableLines(kPobs);
        for (std::uint64_t i = 0; i < m_options.pobs; ++i) {
            begin();
            number(100 + i);
            if (i == 0) {
                empty();
                number(0);
                text("POBS_Root");
                text("Performing Organization_Root");
                empty();
            } else {
                number(100 + m_rng.below(i));
                number(m_rng.below(50) * 10);
                words(1, 3);
                if (m_rng.chance(40))
                    words(2, 8);
                else
                    empty();
                if (m_rng.chance(30))
                    text(m_rng.pick(kPeople));
                else
                    empty();
            }
            record();
        }
    }

    void roles() {
        tableLines(kRoles);
        for (std::uint64_t i = 0; i < 12; ++i) {
            begin();
            number(3100 + i);
            empty();
            number(i);
            words(1, 2);
            text("R");
            m_line += static_cast<char>('A' + i);
            empty();
            text("Y");
            text("QT_Hour");
            if (m_rng.chance(50))
                memo(1, 2);
            else
                empty();
            empty();
            record();
        }
    }

    void project() {
        tableLines(kProject);
        begin();
        number(kProjId);
        number(1);
        for (auto f : {"Y", "Y", "Y", "N", "Y", "N", "N", "Y", ".", "CP_Drtn"})
            text(f);
        text("PLAN-2026");
        empty(4);
        number(6690);
        empty();
        number(1000);
        number(10);
        number(10);
        number(2);
        number(500);
        empty();
        number(0);
        text("0.00");
        for (int i = 0; i < 6; ++i)
            date();
        empty();
        text("DT_FixedDUR2");
        text("A");
        guid();
        text("QT_Hour");
        text("admin");
        empty(2);
        text("COST_PER_QTY");
        record();
    }

    void calendars() {
        tableLines(kCalendar);
        for (std::uint64_t i = 0; i < 8; ++i) {
            begin();
            number(6690 + i);
            text(i == 0 ? "Y" : "N");
            words(2, 4);
            if (i < 4)
                empty();
            else
                number(kProjId);
            empty();
            date();
            text(i < 4 ? "CA_Base" : "CA_Project");
            for (auto f : {"8", "40", "172", "2000", "N"})
                text(f);
            m_line += "\t(0||CalendarData()(  (0||DaysOfWeek()(";
            for (int day = 1; day <= 7; ++day) {
                m_line += "    (0||";
                m_line += static_cast<char>('0' + day);
                m_line += day == 1 || day == 7 ? "()())"
                                               : "()(      (0||0(s|08:00|f|12:00)())      "
                                                 "(0||1(s|13:00|f|17:00)())))";
            }
            m_line += "))  (0||VIEW(ShowTotal|Y)())  (0||Exceptions()(";
            const auto holidays = m_rng.between(10, 60);
            for (std::uint64_t h = 0; h < holidays; ++h) {
                m_line += "    (0||";
                m_line += std::to_string(h);
                m_line += "(d|";
                m_line += std::to_string(45000 + m_rng.below(2000));
                m_line += ")())";
            }
            m_line += ")))";
            record();
        }
    }

    void schedOptions() {
        tableLines(kSchedOptions);
        m_line.assign("%R\t13245\t4680\tSD_Both\tN\tY\tY\tN\tN\trcal_Predecessor\tN\tFT_FF"
                      "\tN\tN\tN\t10\t\tpriority_type,ASC");
        record();
    }

    void wbs() {
        tableLines(kProjWbs);
        m_wbsCount = 300 + m_rng.below(300);
        for (std::uint64_t i = 0; i < m_wbsCount; ++i) {
            begin();
            number(26186 + i);
            number(kProjId);
            number(540);
            number(i * 10);
            number(1);
            text(i == 0 ? "Y" : "N");
            text("N");
            text("WS_Open");
            text("W");
            m_line += std::to_string(i);
            words(1, 5);
            empty();
            if (i == 0)
                number(3063);
            else
                number(26186 + m_rng.below(i));
            number(6);
            text("0.88");
            text("0.00");
            text("0.00");
            empty(5);
            text("EC_Cmp_pct");
            text("EE_Rem_hr");
            guid();
            empty(2);
            record();
        }
    }

    void resources() {
        tableLines(kRsrc);
        for (std::uint64_t i = 0; i < 80; ++i) {
            begin();
            number(10552 + i);
            if (i == 0)
                empty();
            else
                number(10552);
            number(6690);
            empty(4);
            guid();
            number(100 + i);
            if (m_rng.chance(30))
                text("site.office@example.com");
            else
                empty();
            empty(3);
            words(1, 3);
            text("R");
            m_line += std::to_string(i);
            empty();
            text("1");
            text("QT_Hour");
            empty();
            for (auto f : {"Y", "Y", "Y", "N"})
                text(f);
            number(2);
            empty();
            text(m_rng.chance(50) ? "RT_Labor" : "RT_Equip");
            empty();
            if (m_rng.chance(25))
                memo(1, 3);
            else
                empty();
            empty(3);
            record();
        }
    }

    void activityCodes() {
        tableLines(kActvType);
        for (std::uint64_t i = 0; i < 4; ++i) {
            m_line.assign("%R\t");
            m_line += std::to_string(700 + i);
            m_line += "\t10\t";
            m_line += std::to_string(i);
            words(1, 2);
            m_line += "\t4680\t\tAS_Project";
            record();
        }
        tableLines(kActvCode);
        for (std::uint64_t i = 0; i < 60; ++i) {
            begin();
            number(8000 + i);
            empty();
            number(700 + i % 4);
            words(1, 3);
            text("C");
            m_line += std::to_string(i);
            number(i);
            text("0");
            number(m_rng.below(500));
            record();
        }
    }

    void udfTypes() {
        tableLines(kUdfType);
        for (std::uint64_t i = 0; i < 12; ++i) {
            begin();
            number(58700 + i);
            text(i < 8 ? "TASK" : "PROJWBS");
            text("user_field_");
            m_line += std::to_string(58700 + i);
            text("#User-Text_");
            m_line += std::to_string(i);
            text(i % 3 == 0 ? "FT_TEXT" : (i % 3 == 1 ? "FT_FLOAT_2_DECIMALS" : "FT_START_DATE"));
            text("N");
            empty(2);
            empty();
            record();
        }
    }

    std::uint64_t riskTypeId(std::uint64_t index) const { return kFirstRiskTypeId + index * 3; }

    void riskTypes() {
        if (m_options.riskTypes == 0)
            return;
        tableLines(kRiskType);
        const std::uint64_t roots = std::max<std::uint64_t>(1, m_options.riskTypes / 10);
        for (std::uint64_t i = 0; i < m_options.riskTypes; ++i) {
            begin();
            number(riskTypeId(i));
            number(i);
            words(1, 3);
            if (i < roots)
                empty();
            else
                number(riskTypeId(m_rng.below(i)));
            record();
        }
    }

    void projectRisks() {
        if (m_options.projRisks == 0)
            return;
        tableLines(kProjRisk);
        for (std::uint64_t i = 0; i < m_options.projRisks; ++i) {
            begin();
            number(77000 + i);
            text("RSK-");
            m_line += std::to_string(1000 + i);
            number(kProjId);
            date();
            text(m_rng.chance(70) ? "RS_Open" : "RS_Closed");
            words(2, 6);
            if (m_options.riskRefs == 0) {
                empty();
            } else {
                // The first records use every referenced type once; later ones repeat them.
                const std::uint64_t ref =
                    i < m_options.riskRefs ? i : m_rng.below(m_options.riskRefs);
                number(riskTypeId(ref * m_options.riskTypes / m_options.riskRefs));
            }
            if (m_rng.chance(50))
                number(10552 + m_rng.below(80));
            else
                empty();
            memo(1, 4);
            record();
        }
    }

    // ---- the bulk ----
    std::uint64_t anyTask() {
        return kFirstTaskId + m_rng.below(std::max<std::uint64_t>(1, m_tasks));
    }

    void task() {
        const std::uint64_t id = kFirstTaskId + m_tasks;
        const auto state = m_rng.below(10); // 0-3 not started, 4-6 active, 7-9 complete
        begin();
        number(id);
        number(kProjId);
        number(26186 + m_rng.below(m_wbsCount));
        number(6690 + m_rng.below(4));
        number(state < 4 ? 0 : (state < 7 ? m_rng.below(100) : 100));
        text("N");
        text("1");
        text("N");
        text("N");
        static constexpr std::array<std::string_view, 3> pct = {"CP_Drtn", "CP_Phys", "CP_Units"};
        static constexpr std::array<std::string_view, 4> type = {"TT_Task", "TT_Rsrc", "TT_Mile",
                                                                 "TT_LOE"};
        static constexpr std::array<std::string_view, 3> drtn = {"DT_FixedDUR2", "DT_FixedDrtn",
                                                                 "DT_FixedQty"};
        text(m_rng.pick(pct));
        text(m_rng.pick(type));
        text(m_rng.pick(drtn));
        text(state < 4 ? "TK_NotStart" : (state < 7 ? "TK_Active" : "TK_Complete"));
        text("A");
        m_line += std::to_string(1000 + m_tasks * 10);
        words(1, 8);
        if (m_rng.chance(20))
            number(10552 + m_rng.below(80));
        else
            empty();
        const auto hours = m_rng.below(400);
        number(m_rng.below(300));
        number(m_rng.below(100));
        number(state >= 7 ? 0 : hours);
        number(0);
        decimal(m_rng.below(100000));
        decimal(m_rng.below(100000));
        number(hours);
        number(0);
        number(0);
        number(0);
        maybeDate(10);                   // cstr_date
        maybeDate(state >= 4 ? 100 : 0); // act_start_date
        maybeDate(state >= 7 ? 100 : 0); // act_end_date
        for (int i = 0; i < 2; ++i)      // late start and end
            maybeDate(state >= 7 ? 0 : 100);
        empty();                    // expect_end_date
        for (int i = 0; i < 2; ++i) // early start and end
            maybeDate(state >= 7 ? 0 : 100);
        for (int i = 0; i < 2; ++i) // restart and reend
            maybeDate(state >= 7 ? 0 : 90);
        date(); // target start and end
        date();
        for (int i = 0; i < 2; ++i) // remaining late start and end
            maybeDate(state >= 7 ? 0 : 80);
        if (m_rng.chance(10))
            text("CS_MSO");
        else
            empty();
        text("PT_Normal");
        empty(4);
        guid();
        if (m_rng.chance(30))
            guid();
        else
            empty();
        empty(2);
        text(m_rng.chance(10) ? "Y" : "N");
        number(0);
        number(0);
        empty(2);
        date();
        date();
        text(m_rng.pick(kPeople));
        text(m_rng.pick(kPeople));
        empty();
        ++m_tasks;
    }

    void taskMemo() {
        begin();
        number(4762000 + m_memos++);
        number(anyTask());
        number(798 + m_rng.below(3));
        number(kProjId);
        if (m_rng.chance(50)) {
            m_line += "\t<HTML><BODY><P>";
            appendWords(5, 40);
            m_line += "</P></BODY></HTML>";
        } else {
            memo(1, 8);
        }
    }

    void taskPred() {
        begin();
        number(470000 + m_preds++);
        number(anyTask());
        number(anyTask());
        number(kProjId);
        number(kProjId);
        static constexpr std::array<std::string_view, 4> types = {"PR_FS", "PR_SS", "PR_FF",
                                                                  "PR_SF"};
        text(m_rng.pick(types));
        number(m_rng.chance(70) ? 0 : m_rng.below(80));
        if (m_rng.chance(5))
            words(2, 6);
        else
            empty();
        empty();
        date();
        date();
    }

    void taskRsrc() {
        begin();
        number(89000 + m_assignments++);
        number(anyTask());
        number(kProjId);
        text("Y");
        empty(2);
        number(10552 + m_rng.below(80));
        empty(2);
        const auto qty = m_rng.below(100000);
        decimal(qty);
        decimal(qty);
        decimal(m_rng.below(1000), 2);
        number(0);
        decimal(m_rng.below(1000), 2);
        number(0);
        number(0);
        number(0);
        empty();
        decimal(m_rng.below(20000));
        decimal(m_rng.below(10000000));
        text("0.00");
        text("0.00");
        decimal(m_rng.below(10000000));
        maybeDate(40);
        maybeDate(20);
        for (int i = 0; i < 6; ++i)
            date();
        text("Y");
        empty(3);
        text("N");
        guid();
        text("COST_PER_QTY");
        text("0.00");
        number(0);
        empty();
        text(m_rng.chance(60) ? "RT_Labor" : "RT_Equip");
        text("ST_Rsrc");
        text(m_rng.pick(kPeople));
        date();
        empty(2);
    }

    void udfValue() {
        begin();
        const auto type = m_rng.below(12);
        number(58700 + type);
        number(anyTask());
        number(kProjId);
        if (type % 3 == 2)
            date();
        else
            empty();
        if (type % 3 == 1)
            decimal(m_rng.below(1000000));
        else
            empty();
        if (type % 3 == 0)
            words(1, 6);
        else
            empty();
        empty();
    }

    // The last record: a UDFVALUE text that fills the file up to limit exactly.
    void padRecord(std::uint64_t limit) {
        begin();
        number(58700);
        number(anyTask());
        number(kProjId);
        empty(2);
        m_line += kTab;
        const auto want = static_cast<std::size_t>(limit - m_sink.offset()) - m_sink.eolSize() - 1;
        while (m_line.size() < want) {
            m_line += m_rng.pick(kWords);
            m_line += ' ';
        }
        m_line.resize(want);
        m_line += kTab;
        record();
    }

    struct BulkTable {
        const TableDef* table;
        void (Generator::*make)();
        unsigned percent; // share of the bulk's bytes
    };

    void bulk(std::uint64_t limit) {
        static constexpr std::array<BulkTable, 5> tables = {{
            {&kTask, &Generator::task, 38},
            {&kTaskMemo, &Generator::taskMemo, 5},
            {&kTaskPred, &Generator::taskPred, 22},
            {&kTaskRsrc, &Generator::taskRsrc, 20},
            {&kUdfValue, &Generator::udfValue, 15},
        }};
        // Room for the pad record: its fixed fields and a few letters.
        constexpr std::uint64_t kPadRoom = 64;
        std::uint64_t tableHeads = 0;
        for (const auto& t : tables)
            tableHeads += 8 + t.table->name.size() + t.table->fields.size() + 2 * m_sink.eolSize();
        if (m_sink.offset() + tableHeads + kPadRoom > limit) {
            tooSmall();
            return;
        }
        const std::uint64_t start = m_sink.offset();
        const std::uint64_t budget = limit - start;
        unsigned shares = 0;
        for (std::size_t i = 0; i < tables.size(); ++i) {
            const auto& t = tables[i];
            shares += t.percent;
            const bool last = i + 1 == tables.size();
            const std::uint64_t end = last ? limit - kPadRoom : start + budget * shares / 100;
            tableLines(*t.table);
            for (;;) {
                (this->*t.make)();
                if (!recordWithin(end))
                    break;
            }
        }
        m_line.clear();
        padRecord(limit);
    }

    static void tooSmall() {
        std::fputs("make_xer: the fixed tables alone exceed --size; the file is larger than "
                   "asked\n",
                   stderr);
    }

    void tables() {
        const std::uint64_t tail = 2 + m_sink.eolSize();
        header();
        currencies();
        obs();
        pobs();
        roles();
        project();
        calendars();
        schedOptions();
        wbs();
        resources();
        activityCodes();
        udfTypes();
        riskTypes();
        projectRisks();
        if (m_options.size > m_sink.offset() + tail)
            bulk(m_options.size - tail);
        else
            tooSmall();
        m_line.assign("%E");
        m_sink.emit(LineKind::Other);
    }

    // One line without a line end: the header's text, then task records joined by TABs.
    void singleLine() {
        const std::uint64_t size = m_options.size;
        m_line.assign("ERMHDR\t8.0\t2026-11-30\tProject\tadmin\tAdministrator\tdbxDatabaseNoName"
                      "\tProject Management\tEUR");
        m_wbsCount = 500;
        while (m_sink.offset() < size) {
            const std::uint64_t room = size - m_sink.offset();
            if (m_line.size() > room)
                m_line.resize(static_cast<std::size_t>(room));
            m_sink.emit(LineKind::Piece);
            task();
            m_line.erase(0, 2); // the record's tag goes: its TAB joins it to what came before
        }
        m_line.clear();
    }

    const Options& m_options;
    LineSink& m_sink;
    std::string& m_line;
    Random m_rng;
    std::vector<std::string> m_dates;
    const TableDef* m_current = nullptr;
    bool m_checked = false;
    std::uint64_t m_wbsCount = 1;
    std::uint64_t m_tasks = 0;
    std::uint64_t m_memos = 0;
    std::uint64_t m_preds = 0;
    std::uint64_t m_assignments = 0;
};

bool parseCount(std::string_view text, std::uint64_t& value) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

// A size with an optional binary suffix: K, M, G (also KiB, MiB, GiB, KB, MB, GB).
bool parseSize(std::string_view text, std::uint64_t& value) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits == 0 || !parseCount(text.substr(0, digits), value))
        return false;
    std::string_view suffix = text.substr(digits);
    if (suffix.empty())
        return true;
    unsigned shift = 0;
    switch (suffix[0]) {
    case 'K':
    case 'k': shift = 10; break;
    case 'M':
    case 'm': shift = 20; break;
    case 'G':
    case 'g': shift = 30; break;
    default: return false;
    }
    suffix.remove_prefix(1);
    if (!suffix.empty() && suffix != "B" && suffix != "iB")
        return false;
    if (value > (std::numeric_limits<std::uint64_t>::max() >> shift))
        return false;
    value <<= shift;
    return true;
}

// 0 on success, 2 on a wrong command line (the message is printed).
int parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&](std::string_view& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        std::string_view v;
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (arg == "--lf") {
            options.lfOnly = true;
        } else if (arg == "--single-line") {
            options.singleLine = true;
        } else if (arg == "-o" || arg == "--out") {
            ok = value(v);
            options.out = v;
        } else if (arg == "--size") {
            ok = value(v) && parseSize(v, options.size);
        } else if (arg == "--pobs") {
            ok = value(v) && parseCount(v, options.pobs);
        } else if (arg == "--risktypes") {
            ok = value(v) && parseCount(v, options.riskTypes);
        } else if (arg == "--projrisks") {
            ok = value(v) && parseCount(v, options.projRisks);
        } else if (arg == "--risk-refs") {
            ok = value(v) && parseCount(v, options.riskRefs);
        } else if (arg == "--sub") {
            ok = value(v) && parseCount(v, options.subs);
        } else if (arg == "--seed") {
            ok = value(v) && parseCount(v, options.seed);
        } else {
            ok = false;
        }
        if (!ok) {
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
    if (options.subs == 0 || span == 0)
        return targets;
    Random rng(options.seed ^ 0x5ab5ab5ab5ab5ab5ULL);
    targets.reserve(static_cast<std::size_t>(options.subs));
    for (std::uint64_t i = 0; i < options.subs; ++i)
        targets.push_back(rng.below(span));
    std::sort(targets.begin(), targets.end());
    return targets;
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
    Output out(file);
    LineSink sink(out, eol, subTargets(options, span));
    Generator(options, sink).run();
    out.flush();
    const bool closed = std::fclose(file) == 0;
    if (out.failed() || !closed) {
        std::perror(options.out.c_str());
        std::remove(options.out.c_str());
        return 1;
    }
    if (sink.unplacedSubs() > 0) {
        std::fprintf(stderr, "make_xer: %zu SUB bytes found no record to go into\n",
                     sink.unplacedSubs());
        std::remove(options.out.c_str());
        return 1;
    }
    return 0;
}
