#include "TempFolder.h"
#include "fakes/FakeUi.h"
#include "platform/qt/DesktopHelpViewer.h"
#include "platform/qt/HelpWindow.h"

#include <QTextBrowser>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace zembrel {
namespace {

const char* const kContents = R"(<UL>
 <LI> <OBJECT type="text/sitemap"><param name="Name" value="Overview">
      <param name="Local" value="overview.htm"></OBJECT>
 <UL>
  <LI> <OBJECT type="text/sitemap"><param name="Name" value="Purging a file">
       <param name="Local" value="purge.htm"></OBJECT>
 </UL>
 <LI> <OBJECT type="text/sitemap"><param name="Name" value="Troubleshooting">
      <param name="Local" value="trouble.htm"></OBJECT>
</UL>)";

class HelpViewerTest : public ::testing::Test {
protected:
    DesktopHelpViewer viewer(bool opensChm) {
        return DesktopHelpViewer(boxes, {[opensChm] { return opensChm; },
                                         [this](const QUrl& url) { opened.push_back(url); }});
    }
    std::string chm() { return dir.write("ZembrelPOBS.chm", "ITSF"); }
    void writePages() {
        dir.write("help/x.hhc", kContents);
        dir.write("help/overview.htm", "<p>All about it</p>");
        dir.write("help/purge.htm", "<p>Purging</p>");
    }

    test::TempFolder dir;
    test::FakeBoxes boxes;
    std::vector<QUrl> opened;
};

// Without the pages the desktop's viewer gets the compiled help; without that too, a message
// says why.
TEST_F(HelpViewerTest, WithoutThePagesTheDesktopsViewerElseAMessage) {
    auto v = viewer(true);
    v.showContents(dir.file("ZembrelPOBS.chm")); // not there
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("The help cannot be shown"), std::string::npos);
    v.showContents(chm());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toLocalFile().toStdString(), dir.file("ZembrelPOBS.chm"));
    EXPECT_EQ(v.window(), nullptr);
}

// Whether the desktop opens .chm files or not: its viewers differ in what they make of them.
TEST_F(HelpViewerTest, ThePagesShowInTheProgramsOwnWindow) {
    std::filesystem::create_directories(dir.file("help"));
    writePages();
    auto v = viewer(true);
    v.showContents(chm());
    EXPECT_TRUE(opened.empty());
    auto* window = static_cast<HelpWindow*>(v.window());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Zembrel POBS Help"));
    QTreeWidget* tree = window->contentsTree();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Overview"));
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("Purging a file"));
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("Troubleshooting"));
    EXPECT_TRUE(window->page()->toPlainText().contains(QStringLiteral("All about it")));
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    EXPECT_TRUE(window->page()->toPlainText().contains(QStringLiteral("Purging")));
    v.showContents(chm()); // a second time: the same window
    EXPECT_EQ(v.window(), window);
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
} // namespace zembrel
