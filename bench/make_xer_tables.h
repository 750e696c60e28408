// The tables that make_xer writes, as plain data: each field's name and a small recipe for its
// values. One generic builder in make_xer.cpp turns a description into record lines; only the
// tables whose values depend on each other (POBS, RISKTYPE, the risks) get code of their own.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace makexer {

// clang-format off
enum class Kind : std::uint8_t {
    Empty, Fixed, Id, Seq, Code, Cycle, Pick, Num, Amount, Date, Text, Memo, Html, Person, Guid,
    Ref, Parent, Given, Calendar
};
// clang-format on

struct Recipe {
    Kind kind = Kind::Empty;
    std::string_view text{};
    std::uint64_t lo = 0;
    std::uint64_t hi = 0;
    unsigned percent = 100; // chance that the field is filled at all; else it stays empty
};

struct Field {
    std::string_view name;
    Recipe recipe{}; // none: always empty
};

struct Table {
    std::string_view name;
    std::span<const Field> fields;
    std::uint64_t minCount = 0; // records of the tables before the bulk, which fills by size
    std::uint64_t maxCount = 0;
};

using U = std::uint64_t;
using Sv = std::string_view;
// clang-format off
// The text as it stands.
constexpr Recipe fixed(Sv t, unsigned pct = 100) { return {Kind::Fixed, t, 0, 0, pct}; }
// base + step * the record's index; index * step; prefix, then base + step * index.
constexpr Recipe id(U base, U step = 1) { return {Kind::Id, {}, base, step}; }
constexpr Recipe seq(U step = 1) { return {Kind::Seq, {}, step}; }
constexpr Recipe code(Sv prefix, U base, U step = 1) { return {Kind::Code, prefix, base, step}; }
// "a|b|c": the record index's choice in turn; a random one.
constexpr Recipe cycle(Sv choices) { return {Kind::Cycle, choices}; }
constexpr Recipe pick(Sv choices, unsigned pct = 100) { return {Kind::Pick, choices, 0, 0, pct}; }
// A number in [lo, hi]; a decimal with two places in [lo, hi + 0.99]; "YYYY-MM-DD HH:MM".
constexpr Recipe num(U lo, U hi, unsigned pct = 100) { return {Kind::Num, {}, lo, hi, pct}; }
constexpr Recipe amount(U lo, U hi, unsigned pct = 100) { return {Kind::Amount, {}, lo, hi, pct}; }
constexpr Recipe date(unsigned pct = 100) { return {Kind::Date, {}, 0, 0, pct}; }
// Words, some in Windows-1252, up to a length of lo to hi bytes.
constexpr Recipe text(U lo, U hi, unsigned pct = 100) { return {Kind::Text, {}, lo, hi, pct}; }
// lo to hi sentences with DEL DEL line breaks between them; the same inside <HTML><BODY>.
constexpr Recipe memo(U lo, U hi, unsigned pct = 100) { return {Kind::Memo, {}, lo, hi, pct}; }
constexpr Recipe html(U lo, U hi) { return {Kind::Html, {}, lo, hi}; }
// A user or person name, many with accented letters; 22 base-64 characters.
constexpr Recipe person(unsigned pct = 100) { return {Kind::Person, {}, 0, 0, pct}; }
constexpr Recipe guid(unsigned pct = 100) { return {Kind::Guid, {}, 0, 0, pct}; }
// The id of a random record written so far in the named table; of an earlier record of the same
// table (the first record's stays empty); a value the table's own code gives (empty when none).
constexpr Recipe ref(Sv table, unsigned pct = 100) { return {Kind::Ref, table, 0, 0, pct}; }
constexpr Recipe parent() { return {Kind::Parent}; }
constexpr Recipe given() { return {Kind::Given}; }
// P6 calendar data with lo to hi holidays.
constexpr Recipe calendar(U lo, U hi) { return {Kind::Calendar, {}, lo, hi}; }
// clang-format on

// Words of names and descriptions; some in Windows-1252 (accents, the euro sign, typographic
// quotes and dashes) as exports from European sites hold them. Octal escapes, unlike hex ones,
// cannot swallow the letters after them.
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

constexpr std::string_view kProj = "4680";

// clang-format off
constexpr Field kCurrType[] = {{"curr_id", id(1)}, {"decimal_digit_cnt", cycle("2|2|2|0")},
    {"curr_symbol", cycle("$|\200|\243|\245")}, {"decimal_symbol", cycle(".|,|.|.")},
    {"digit_group_symbol", cycle(",|.|,|,")}, {"pos_curr_fmt_type", cycle("#1.1|1.1 #|#1.1|#1.1")},
    {"neg_curr_fmt_type", cycle("(#1.1)|-1.1 #|-#1.1|-#1.1")},
    {"curr_type", cycle("US Dollar|Euro|Pound Sterling|Yen")},
    {"curr_short_name", cycle("USD|EUR|GBP|JPY")}, {"group_digit_cnt", fixed("3")},
    {"base_exch_rate", cycle("1|0.92|0.79|151.2")}};
constexpr Field kObs[] = {{"obs_id", id(540)}, {"parent_obs_id", parent()}, {"guid", guid()},
    {"seq_num", seq(10)}, {"obs_name", text(5, 30)},
    {"obs_descr", fixed("<HTML><BODY></BODY></HTML>")}};
constexpr Field kPobs[] = {{"pobs_id", id(100)}, {"pobs_parent_id", parent()},
    {"seq_num", num(0, 490)}, {"pobs_name", text(4, 30)}, {"pobs_descr", text(10, 60, 40)},
    {"pobs_manager", person(30)}};
constexpr Field kRoles[] = {{"role_id", id(3100)}, {"parent_role_id"}, {"seq_num", seq()},
    {"role_name", text(5, 25)}, {"role_short_name", code("R", 1)}, {"pobs_id"},
    {"def_cost_qty_link_flag", fixed("Y")}, {"cost_qty_type", fixed("QT_Hour")},
    {"role_descr", memo(1, 2, 50)}, {"last_checksum"}};
constexpr Field kProject[] = {{"proj_id", fixed(kProj)}, {"fy_start_month_num", fixed("1")},
    {"rsrc_self_add_flag", fixed("Y")}, {"allow_complete_flag", fixed("Y")},
    {"rsrc_multi_assign_flag", fixed("Y")}, {"checkout_flag", fixed("N")},
    {"project_flag", fixed("Y")}, {"step_complete_flag", fixed("N")},
    {"cost_qty_recalc_flag", fixed("N")}, {"batch_sum_flag", fixed("Y")},
    {"name_sep_char", fixed(".")}, {"def_complete_pct_type", fixed("CP_Drtn")},
    {"proj_short_name", fixed("PLAN-2026")}, {"acct_id"}, {"orig_proj_id"}, {"source_proj_id"},
    {"base_type_id"}, {"clndr_id", fixed("6690")}, {"sum_base_proj_id"},
    {"task_code_base", fixed("1000")}, {"task_code_step", fixed("10")},
    {"priority_num", fixed("10")}, {"wbs_max_sum_level", fixed("2")},
    {"strgy_priority_num", fixed("500")}, {"last_checksum"}, {"critical_drtn_hr_cnt", fixed("0")},
    {"def_cost_per_qty", fixed("0.00")}, {"last_recalc_date", date()},
    {"plan_start_date", date()}, {"plan_end_date", date()}, {"scd_end_date", date()},
    {"add_date", date()}, {"last_tasksum_date", date()}, {"fcst_start_date"},
    {"def_duration_type", fixed("DT_FixedDUR2")}, {"task_code_prefix", fixed("A")},
    {"guid", guid()}, {"def_qty_type", fixed("QT_Hour")}, {"add_by_name", fixed("admin")},
    {"web_local_root_path"}, {"proj_url"}, {"def_rate_type", fixed("COST_PER_QTY")}};
constexpr Field kCalendar[] = {{"clndr_id", id(6690)}, {"default_flag", cycle("Y|N|N|N|N|N|N|N")},
    {"clndr_name", text(8, 30)}, {"proj_id", cycle("||||4680|4680|4680|4680")},
    {"base_clndr_id"}, {"last_chng_date", date()},
    {"clndr_type", cycle("CA_Base|CA_Base|CA_Base|CA_Base|CA_Project")},
    {"day_hr_cnt", fixed("8")}, {"week_hr_cnt", fixed("40")}, {"month_hr_cnt", fixed("172")},
    {"year_hr_cnt", fixed("2000")}, {"rsrc_private", fixed("N")}, {"clndr_data", calendar(10, 60)}};
constexpr Field kSchedOptions[] = {{"schedoptions_id", fixed("13245")}, {"proj_id", fixed(kProj)},
    {"sched_outer_depend_type", fixed("SD_Both")}, {"sched_open_critical_flag", fixed("N")},
    {"sched_lag_early_start_flag", fixed("Y")}, {"sched_retained_logic", fixed("Y")},
    {"sched_setplantocurrent", fixed("N")}, {"sched_progress_override", fixed("N")},
    {"sched_calendar_on_relationship_lag", fixed("rcal_Predecessor")},
    {"sched_use_expect_end_flag", fixed("N")}, {"sched_float_type", fixed("FT_FF")},
    {"sched_use_project_end_date_for_float", fixed("N")},
    {"enable_multiple_longest_path_calc", fixed("N")},
    {"limit_multiple_longest_path_calc", fixed("N")}, {"max_multiple_longest_path", fixed("10")},
    {"key_activity_for_multiple_longest_paths"},
    {"LevelPriorityList", fixed("priority_type,ASC")}};
constexpr Field kProjWbs[] = {{"wbs_id", id(26186)}, {"proj_id", fixed(kProj)},
    {"obs_id", ref("OBS")}, {"seq_num", seq(10)}, {"est_wt", fixed("1")},
    {"proj_node_flag", fixed("N")}, {"sum_data_flag", fixed("N")},
    {"status_code", fixed("WS_Open")},
    {"wbs_short_name", code("W", 0)}, {"wbs_name", text(5, 50)}, {"phase_id"},
    {"parent_wbs_id", parent()}, {"ev_user_pct", fixed("6")}, {"ev_etc_user_value", fixed("0.88")},
    {"orig_cost", fixed("0.00")}, {"indep_remain_total_cost", fixed("0.00")},
    {"ann_dscnt_rate_pct"}, {"dscnt_period_type"}, {"indep_remain_work_qty"},
    {"anticip_start_date"}, {"anticip_end_date"}, {"ev_compute_type", fixed("EC_Cmp_pct")},
    {"ev_etc_compute_type", fixed("EE_Rem_hr")}, {"guid", guid()}, {"tmpl_guid"},
    {"plan_open_state"}};
constexpr Field kRsrc[] = {{"rsrc_id", id(10552)}, {"parent_rsrc_id", parent()},
    {"clndr_id", ref("CALENDAR")}, {"role_id", ref("ROLES", 40)}, {"shift_id"}, {"user_id"},
    {"pobs_id"}, {"guid", guid()}, {"rsrc_seq_num", seq()},
    {"email_addr", fixed("site.office@example.com", 30)}, {"employee_code"}, {"office_phone"},
    {"other_phone"}, {"rsrc_name", person()}, {"rsrc_short_name", code("R", 0)},
    {"rsrc_title_name", text(5, 20, 50)}, {"def_qty_per_hr", fixed("1")},
    {"cost_qty_type", fixed("QT_Hour")}, {"ot_factor"}, {"active_flag", fixed("Y")},
    {"auto_compute_act_flag", fixed("Y")}, {"def_cost_qty_link_flag", fixed("Y")},
    {"ot_flag", fixed("N")}, {"curr_id", ref("CURRTYPE")}, {"unit_id"},
    {"rsrc_type", pick("RT_Labor|RT_Labor|RT_Equip|RT_Mat")}, {"location_id"},
    {"rsrc_notes", memo(1, 3, 25)}, {"load_tasks_flag"}, {"level_flag"}, {"last_checksum"}};
constexpr Field kActvType[] = {{"actv_code_type_id", id(700)}, {"actv_short_len", fixed("10")},
    {"seq_num", seq()}, {"actv_code_type", text(4, 20)}, {"proj_id", fixed(kProj)}, {"wbs_id"},
    {"actv_code_type_scope", fixed("AS_Project")}};
constexpr Field kActvCode[] = {{"actv_code_id", id(8000)}, {"parent_actv_code_id"},
    {"actv_code_type_id", ref("ACTVTYPE")}, {"actv_code_name", text(5, 30)},
    {"short_name", code("C", 0)}, {"seq_num", seq()}, {"color", fixed("0")},
    {"total_assignments", num(0, 500)}};
constexpr Field kUdfType[] = {{"udf_type_id", id(58700)},
    {"table_name", cycle("TASK|TASK|TASK|PROJWBS")}, {"udf_type_name", code("user_field_", 58700)},
    {"udf_type_label", code("#User-Text_", 0)},
    {"logical_data_type", cycle("FT_TEXT|FT_FLOAT_2_DECIMALS|FT_START_DATE")},
    {"super_flag", fixed("N")}, {"indicator_expression"}, {"summary_indicator_expression"},
    {"export_flag"}};
// Their ids and references come from their own code.
constexpr Field kRiskType[] = {{"risk_type_id", id(2001, 3)}, {"seq_num", seq()},
    {"risk_type", text(5, 30)}, {"parent_risk_type_id", given()}};
constexpr Field kRisk[] = {{"risk_id", id(77000)}, {"risk_code", code("RSK-", 1000)},
    {"proj_id", fixed(kProj)}, {"add_date", date()},
    {"status_code", pick("RS_Open|RS_Open|RS_Closed")},
    {"risk_name", text(10, 50)}, {"risk_type_id", given()}, {"rsrc_id", ref("RSRC", 50)},
    {"risk_desc", memo(1, 4)}};
// The bulk.
constexpr Field kTask[] = {{"task_id", id(1060000)}, {"proj_id", fixed(kProj)},
    {"wbs_id", ref("PROJWBS")}, {"clndr_id", ref("CALENDAR")}, {"phys_complete_pct", num(0, 100)},
    {"rev_fdbk_flag", fixed("N")}, {"est_wt", fixed("1")}, {"lock_plan_flag", fixed("N")},
    {"auto_compute_act_flag", fixed("N")}, {"complete_pct_type", pick("CP_Drtn|CP_Phys|CP_Units")},
    {"task_type", pick("TT_Task|TT_Task|TT_Rsrc|TT_Mile|TT_LOE")},
    {"duration_type", pick("DT_FixedDUR2|DT_FixedDrtn|DT_FixedQty")},
    {"status_code", pick("TK_NotStart|TK_Active|TK_Complete")}, {"task_code", code("A", 1000, 10)},
    {"task_name", text(8, 60)}, {"rsrc_id", ref("RSRC", 20)}, {"total_float_hr_cnt", num(0, 300)},
    {"free_float_hr_cnt", num(0, 100)}, {"remain_drtn_hr_cnt", num(0, 400)},
    {"act_work_qty", fixed("0")}, {"remain_work_qty", amount(0, 1000)},
    {"target_work_qty", amount(0, 1000)}, {"target_drtn_hr_cnt", num(0, 400)},
    {"target_equip_qty", fixed("0")}, {"act_equip_qty", fixed("0")},
    {"remain_equip_qty", fixed("0")}, {"cstr_date", date(10)}, {"act_start_date", date(60)},
    {"act_end_date", date(30)}, {"late_start_date", date(70)}, {"late_end_date", date(70)},
    {"expect_end_date"}, {"early_start_date", date(70)}, {"early_end_date", date(70)},
    {"restart_date", date(60)}, {"reend_date", date(60)}, {"target_start_date", date()},
    {"target_end_date", date()}, {"rem_late_start_date", date(50)},
    {"rem_late_end_date", date(50)}, {"cstr_type", pick("CS_MSO|CS_MEO|CS_ALAP", 10)},
    {"priority_type", fixed("PT_Normal")}, {"suspend_date"}, {"resume_date"}, {"float_path"},
    {"float_path_order"}, {"guid", guid()}, {"tmpl_guid", guid(30)}, {"cstr_date2"},
    {"cstr_type2"}, {"driving_path_flag", pick("N|N|N|N|Y")}, {"act_this_per_work_qty", fixed("0")},
    {"act_this_per_equip_qty", fixed("0")}, {"external_early_start_date"},
    {"external_late_end_date"}, {"create_date", date()}, {"update_date", date()},
    {"create_user", person()}, {"update_user", person()}, {"location_id"}};
constexpr Field kTaskMemo[] = {{"memo_id", id(4762000)}, {"task_id", ref("TASK")},
    {"memo_type_id", num(798, 800)}, {"proj_id", fixed(kProj)}, {"task_memo", html(1, 5)}};
constexpr Field kTaskPred[] = {{"task_pred_id", id(4700000)}, {"task_id", ref("TASK")},
    {"pred_task_id", ref("TASK")}, {"proj_id", fixed(kProj)}, {"pred_proj_id", fixed(kProj)},
    {"pred_type", pick("PR_FS|PR_FS|PR_FS|PR_SS|PR_FF|PR_SF")}, {"lag_hr_cnt", num(0, 80)},
    {"comments", text(10, 70, 40)}, {"float_path"}, {"aref", date()}, {"arls", date()}};
constexpr Field kTaskRsrc[] = {{"taskrsrc_id", id(890000)}, {"task_id", ref("TASK")},
    {"proj_id", fixed(kProj)}, {"cost_qty_link_flag", fixed("Y")}, {"role_id", ref("ROLES", 30)},
    {"acct_id"}, {"rsrc_id", ref("RSRC")}, {"pobs_id"}, {"skill_level"},
    {"remain_qty", amount(0, 1000)}, {"target_qty", amount(0, 1000)},
    {"remain_qty_per_hr", amount(0, 9)}, {"target_lag_drtn_hr_cnt", fixed("0")},
    {"target_qty_per_hr", amount(0, 9)}, {"act_ot_qty", fixed("0")},
    {"act_reg_qty", amount(0, 500, 40)}, {"relag_drtn_hr_cnt", fixed("0")}, {"ot_factor"},
    {"cost_per_qty", amount(20, 200)}, {"target_cost", amount(0, 99999)},
    {"act_reg_cost", amount(0, 49999, 40)}, {"act_ot_cost", fixed("0")},
    {"remain_cost", amount(0, 99999)}, {"act_start_date", date(30)}, {"act_end_date", date(15)},
    {"restart_date", date(30)}, {"reend_date", date(30)}, {"target_start_date", date()},
    {"target_end_date", date()}, {"rem_late_start_date", date(30)},
    {"rem_late_end_date", date(30)}, {"rollup_dates_flag", fixed("Y")}, {"target_crv"},
    {"remain_crv"}, {"actual_crv"}, {"ts_pend_act_end_flag", fixed("N")}, {"guid", guid()},
    {"rate_type", fixed("COST_PER_QTY")}, {"act_this_per_cost", fixed("0")},
    {"act_this_per_qty", fixed("0")}, {"curv_id"},
    {"rsrc_type", pick("RT_Labor|RT_Labor|RT_Equip|RT_Mat")},
    {"cost_per_qty_source_type", fixed("ST_Rsrc")}, {"create_user", person()},
    {"create_date", date()}, {"has_rsrchours", pick("Y|N")}, {"taskrsrc_sum_id"}};
constexpr Field kUdfValue[] = {{"udf_type_id", ref("UDFTYPE")}, {"fk_id", ref("TASK")},
    {"proj_id", fixed(kProj)}, {"udf_date", date(33)}, {"udf_number", amount(0, 9999, 33)},
    {"udf_text", text(20, 120, 70)}, {"udf_code_id"}};
// clang-format on

// The small tables in file order, POBS right after OBS (its records come from its own code);
// RISKTYPE and the risks follow them.
// clang-format off
constexpr std::array<Table, 12> kFixedTables = {{{"CURRTYPE", kCurrType, 4, 4}, {"OBS", kObs, 6, 6},
    {"POBS", kPobs}, {"ROLES", kRoles, 12, 12}, {"PROJECT", kProject, 1, 1},
    {"CALENDAR", kCalendar, 8, 8}, {"SCHEDOPTIONS", kSchedOptions, 1, 1},
    {"PROJWBS", kProjWbs, 300, 600}, {"RSRC", kRsrc, 80, 80}, {"ACTVTYPE", kActvType, 4, 4},
    {"ACTVCODE", kActvCode, 60, 60}, {"UDFTYPE", kUdfType, 12, 12}}};
constexpr Table kRiskTypeTable{"RISKTYPE", kRiskType};
constexpr Table kRiskTable{"PROJRISK", kRisk}; // or PRORISK, by the command line

struct BulkShare {
    Table table;
    unsigned percent; // of the bulk's bytes
};
// The last one also takes the record that pads the file to its size.
constexpr std::array<BulkShare, 5> kBulk = {{{{"TASK", kTask}, 25}, {{"TASKMEMO", kTaskMemo}, 10},
    {{"TASKPRED", kTaskPred}, 25}, {{"TASKRSRC", kTaskRsrc}, 28}, {{"UDFVALUE", kUdfValue}, 12}}};
// clang-format on

} // namespace makexer
