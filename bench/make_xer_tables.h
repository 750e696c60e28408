// The tables that make_xer writes, as data: a table's fields are one string, parsed once when the
// table begins. Each field is its name, then ":" and a letter that makes its values (lower case:
// in about 40 % of the records, else the field stays empty), or "=" and a text ("a|b": one of
// them at random), or ">" and the table of which it takes a random id; a bare name stays empty.
//   I  the record's id: the table's first id + the record's index
//   C  a code: the table's initial, then 1000 + the index   N  a number from 0 to 400
//   A  an amount from 0.00 to 9999.99                       D  a date "YYYY-MM-DD HH:MM"
//   W  words, 5 to 50 bytes of them    P  a person's name   G  a GUID    K  P6 calendar data
//   M  1 to 5 lines of words inside <HTML><BODY>, DEL DEL (a memo's line break) between them
//   U  the id of an earlier record of the same table (none in the first record)
//   T  the same for RISKTYPE, whose first tenth are roots
//   R  a RISKTYPE id, one of --risk-refs spread over the table; the first risks use each once
#pragma once

#include <array>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

namespace makexer {

using U64 = std::uint64_t;

constexpr std::string_view kHeader = "ERMHDR\t8.0\t2026-11-30\tProject\tadmin\tAdministrator\t"
                                     "dbxDatabaseNoName\tProject Management\tEUR";

struct Table {
    std::string_view name;
    U64 firstId;
    unsigned lo, hi; // small tables: lo to hi records; bulk tables: lo % of the bulk's bytes
    std::string_view fields;
};

// Words of names and texts, some in Windows-1252 (accents, the euro sign, typographic quotes and
// dashes) as exports from European sites hold them. Octal escapes, unlike hex ones, cannot
// swallow the letters after them.
// clang-format off
constexpr std::array<std::string_view, 36> kWords = {"Excavation", "Foundation", "Concrete",
    "Formwork", "Rebar", "Steel", "Roof", "Facade", "Level", "Zone", "North", "HVAC", "Electrical",
    "Plumbing", "Install", "Test", "Commissioning", "Procure", "Review", "Pour", "Slab", "Column",
    "Drywall", "Handover", "B\351ton", "Fa\347ade", "\311tanch\351it\351", "Ma\347onnerie",
    "Pr\374fung", "Stra\337e", "Ger\374st", "\200", "Se\361al", "\234uvre", "\223Phase\224", "\226"};
constexpr std::array<std::string_view, 6> kPeople = {"Ren\351 Dupont", "J\374rgen M\374ller",
    "Ana Mar\355a Pe\361a", "Bj\366rn Larsen", "admin", "planner1"};

// The small tables in file order, POBS right after OBS.
constexpr std::array<Table, 7> kSmallTables = {{
    {"CURRTYPE", 1, 1, 1, "curr_id:I decimal_digit_cnt=2 curr_symbol=\200 decimal_symbol=, "
        "digit_group_symbol=. curr_type=Euro curr_short_name=EUR base_exch_rate=1"},
    {"OBS", 540, 6, 6, "obs_id:I parent_obs_id:U guid:G seq_num:N obs_name:W "
        "obs_descr=<HTML><BODY></BODY></HTML>"},
    {"POBS", 100, 0, 0, "pobs_id:I pobs_parent_id:U seq_num:N pobs_name:W pobs_descr:w "
        "pobs_manager:p"},
    {"PROJECT", 4680, 1, 1, "proj_id:I fy_start_month_num=1 project_flag=Y name_sep_char=. "
        "proj_short_name=PLAN-2026 clndr_id=6690 last_recalc_date:D plan_start_date:D "
        "plan_end_date:D def_duration_type=DT_FixedDUR2 task_code_prefix=A guid:G"},
    {"CALENDAR", 6690, 8, 8, "clndr_id:I default_flag=N clndr_name:W proj_id=4680 base_clndr_id "
        "last_chng_date:D clndr_type=CA_Base|CA_Project day_hr_cnt=8 week_hr_cnt=40 "
        "rsrc_private=N clndr_data:K"},
    {"PROJWBS", 26186, 300, 600, "wbs_id:I proj_id=4680 obs_id>OBS seq_num:N est_wt=1 "
        "proj_node_flag=N status_code=WS_Open wbs_short_name:C wbs_name:W parent_wbs_id:U "
        "ev_compute_type=EC_Cmp_pct guid:G"},
    {"RSRC", 10552, 80, 80, "rsrc_id:I parent_rsrc_id:U clndr_id>CALENDAR guid:G rsrc_seq_num:N "
        "rsrc_name:P rsrc_short_name:C rsrc_title_name:w def_qty_per_hr=1 active_flag=Y "
        "curr_id>CURRTYPE rsrc_type=RT_Labor|RT_Labor|RT_Equip|RT_Mat rsrc_notes:m"}}};

// RISKTYPE right before the risks, whose risk type is data field 7 as in real exports.
constexpr Table kRiskTypes = {"RISKTYPE", 2001, 0, 0,
    "risk_type_id:I seq_num:N risk_type:W parent_risk_type_id:T"};
constexpr Table kRisks = {"PROJRISK", 77000, 0, 0, "risk_id:I risk_code:C proj_id=4680 "
    "add_date:D status_code=RS_Open|RS_Open|RS_Closed risk_name:W risk_type_id:R rsrc_id>RSRC "
    "risk_desc:M"};

// The bulk, in file order; the last field of the last table is memo text, which the last record
// cuts to the length that ends the file at its size.
constexpr std::array<Table, 4> kBulk = {{
    {"TASK", 1060000, 34, 0, "task_id:I proj_id=4680 wbs_id>PROJWBS clndr_id>CALENDAR "
        "phys_complete_pct:N rev_fdbk_flag=N lock_plan_flag=N complete_pct_type=CP_Drtn|CP_Phys "
        "task_type=TT_Task|TT_Task|TT_Rsrc|TT_Mile duration_type=DT_FixedDUR2|DT_FixedDrtn "
        "status_code=TK_NotStart|TK_Active|TK_Complete task_code:C task_name:W rsrc_id>RSRC "
        "total_float_hr_cnt:N remain_drtn_hr_cnt:N remain_work_qty:A act_start_date:d "
        "act_end_date:d early_start_date:d early_end_date:d target_start_date:D "
        "target_end_date:D guid:G update_date:D update_user:P"},
    {"TASKPRED", 4700000, 22, 0, "task_pred_id:I task_id>TASK pred_task_id>TASK "
        "proj_id=4680 pred_proj_id=4680 pred_type=PR_FS|PR_FS|PR_FS|PR_SS|PR_FF "
        "lag_hr_cnt:N comments:w float_path aref:D arls:D"},
    {"TASKRSRC", 890000, 28, 0, "taskrsrc_id:I task_id>TASK proj_id=4680 rsrc_id>RSRC "
        "remain_qty:A target_qty:A act_reg_qty:a cost_per_qty:A target_cost:A act_reg_cost:a "
        "remain_cost:A act_start_date:d target_start_date:D target_end_date:D "
        "rsrc_type=RT_Labor|RT_Labor|RT_Equip|RT_Mat guid:G create_user:P"},
    {"TASKMEMO", 4762000, 16, 0, "memo_id:I task_id>TASK memo_type_id=798|799 proj_id=4680 "
        "task_memo:M"}}};
// clang-format on

inline std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t at = 0, end = 0; end != std::string_view::npos; at = end + 1) {
        end = text.find(separator, at);
        parts.push_back(text.substr(at, end - at));
    }
    return parts;
}

// One field of a table's description.
struct Field {
    std::string_view name, text; // text: after "=" or ">"
    std::vector<std::string_view> choices;
    char kind = 0; // a recipe's letter in upper case, '=' or '>'; 0: always empty
    bool sometimes = false;

    explicit Field(std::string_view spec) : name(spec.substr(0, spec.find_first_of(":=>"))) {
        if (name.size() == spec.size())
            return;
        text = spec.substr(name.size() + 1);
        kind = spec[name.size()] == ':' ? text[0] : spec[name.size()];
        sometimes = kind >= 'a' && kind <= 'z';
        kind = sometimes ? char(kind - 'a' + 'A') : kind;
        choices = split(text, '|');
    }
};

// A table as it is written: its fields, its first id and how many records it got so far.
struct Written {
    std::string_view name;
    U64 firstId, count = 0;
    std::vector<Field> fields;

    Written(const Table& table, std::string_view tableName)
        : name(tableName), firstId(table.firstId) {
        for (std::string_view field : split(table.fields, ' '))
            fields.emplace_back(field);
    }
};

} // namespace makexer
