// Every text the survey and the purge show, letter for letter (typos included), made from the
// values of their notices; and the window's way of showing them.
#include "shell/NoticeText.h"
#include "fakes/FakeUi.h"
#include "shell/WindowOperations.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

using xer::Notice;
using xer::NoticeKind;

// A notice of the kind about the same files and failure, with what set changes.
Notice notice(NoticeKind kind, const std::function<void(Notice&)>& set = nullptr) {
    Notice n;
    n.kind = kind;
    n.path = "C:\\JOBS\\PLAN.XER";
    n.newFile = "C:\\JOBS\\PLAN-POBS.XER";
    n.newName = "Plan-POBS.xer";
    n.failure = makeFailure(failure::PermissionDenied);
    if (set)
        set(n);
    return n;
}

TEST(NoticeTextTest, EveryTextLetterForLetter) {
    const auto counts = [](std::int64_t pobs, std::int64_t riskTypes, bool created = true) {
        return [=](Notice& n) {
            n.pobs = pobs;
            n.riskTypes = riskTypes;
            n.created = created;
        };
    };
    const std::string broken = "ERROR: The file is broken and should not be used.\r\n";
    const struct {
        Notice notice;
        std::string box; // empty: no box
        MessageIcon icon;
        std::string label; // empty: the label stays
    } cases[] = {
        {notice(NoticeKind::NotSpecified), "File not specified.", MessageIcon::None, ""},
        {notice(NoticeKind::NotFound), "ERROR! File not found.", MessageIcon::Exclamation, ""},
        {notice(NoticeKind::Opening), "", MessageIcon::None, "Opening XER file C:\\JOBS\\PLAN.XER"},
        {notice(NoticeKind::Reconditioning), "", MessageIcon::None,
         "The XER file is corrupted and needs to be reconditioned.  Please wait while this "
         "process proceeds (this can take several minutes)."},
        {notice(NoticeKind::Repaired, [](Notice& n) { n.repaired = 3; }),
         "A total of 3 characters were corrupt and were replaced with a space.",
         MessageIcon::Exclamation, ""},
        {notice(NoticeKind::Broken), broken + "POBS record corruption ruined the XER file.",
         MessageIcon::Critical, broken + "POBS record corruption ruined the XER file."},
        {notice(NoticeKind::Broken, [](Notice& n) { n.table = xer::Table::RiskType; }),
         broken + "Risk Type record corruption ruined the XER file.", MessageIcon::Critical,
         broken + "Risk Type record corruption ruined the XER file."},
        {notice(NoticeKind::SurveyFailed), "ERROR #70, Permission denied", MessageIcon::Exclamation,
         "ERROR #70, Permission denied"},
        {notice(NoticeKind::Surveyed, counts(0, 0)), "", MessageIcon::None,
         "The above XER file does not contain any POBS or Risk Type records."},
        {notice(NoticeKind::Surveyed, counts(1234567, 0)), "", MessageIcon::None,
         "A total of 1234567 POBS records\r\nand 0 Risk Type records\r\nexist in this XER "
         "file.\r\n\r\nClick on the button below to create a new XER file without these "
         "unwanted entries."},
        {notice(NoticeKind::Overwrite),
         "A POBS-free file C:\\JOBS\\PLAN-POBS.XER\r\nalready exists.  Is it OK to overwrite?",
         MessageIcon::Question, ""},
        {notice(NoticeKind::KeptExisting), "", MessageIcon::None,
         "File C:\\JOBS\\PLAN.XER not read.\r\nFile C:\\JOBS\\PLAN-POBS.XER already exists."},
        {notice(NoticeKind::Empty), "", MessageIcon::None,
         "ERROR: File is empty.  No Purged POBS file was created."},
        {notice(NoticeKind::Empty, [](Notice& n) { n.table = xer::Table::RiskType; }), "",
         MessageIcon::None, "ERROR: File is empty.  No Purged Risk Types file was created."},
        {notice(NoticeKind::PurgeFailed),
         "ERROR #70, Permission denied occured.  New file not created.", MessageIcon::None,
         "ERROR #70, Permission denied occured.  New file not creaed."},
        {notice(NoticeKind::Purged, counts(3, 2)), "", MessageIcon::None,
         "Number of POBS Records Removed: 3.\r\nNumber of Risk Types removed: 2.\r\n\r\nA new "
         "import file has been created called\r\nPlan-POBS.xer"},
        {notice(NoticeKind::Purged, counts(3, 0, false)), "", MessageIcon::None,
         "Number of POBS Records Removed: 3.\r\nNumber of Risk Types removed: 0.\r\nERROR: File "
         "C:\\JOBS\\PLAN-POBS.XER was not created."},
        {notice(NoticeKind::Purged,
                [](Notice& n) {
                    n.newFile.clear(); // nothing to remove: no new file was named
                }),
         "", MessageIcon::None,
         "Number of POBS Records Removed: 0.\r\nNumber of Risk Types removed: 0."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.notice.kind));
        const NoticeText text = noticeText(c.notice);
        EXPECT_EQ(text.box ? text.box->text : "", c.box);
        if (text.box) {
            EXPECT_EQ(text.box->icon, c.icon);
            EXPECT_EQ(text.box->buttons, c.notice.kind == NoticeKind::Overwrite
                                             ? MessageButtons::YesNo
                                             : MessageButtons::Ok);
        }
        EXPECT_EQ(text.label.value_or(""), c.label);
    }
}

// The window shows the box first, titled with the application title, then the label; the
// question's answer is the box's.
TEST(NoticeTextTest, TheWindowShowsTheBoxThenTheLabel) {
    test::FakeSurface window;
    test::FakeBoxes boxes;
    boxes.onShow = [&](const test::ShownBox&) { EXPECT_TRUE(window.resultsHistory.empty()); };
    WindowNotices notices(window, boxes);
    notices.notice(notice(NoticeKind::SurveyFailed));
    ASSERT_EQ(boxes.shown.size(), 1u);
    test::expectBox(boxes.shown[0], "ERROR #70, Permission denied", MessageIcon::Exclamation);
    EXPECT_EQ(window.resultsHistory, std::vector<std::string>{"ERROR #70, Permission denied"});
    boxes.onShow = nullptr;
    boxes.answers = {MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_FALSE(notices.mayReplace(notice(NoticeKind::Overwrite)));
    EXPECT_TRUE(notices.mayReplace(notice(NoticeKind::Overwrite)));
    EXPECT_EQ(boxes.shown.back().buttons, MessageButtons::YesNo);
}

} // namespace
} // namespace zembrel
