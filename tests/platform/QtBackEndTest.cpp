#include "TempFolder.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeUi.h"
#include "platform/qt/DesktopHelpViewer.h"
#include "platform/qt/HelpWindow.h"
#include "platform/qt/QtBusyPointer.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtMessageBoxes.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

namespace zembrel {
namespace {

// Runs act on the modal dialog that the next call opens, once it is up; a dialog of another
// kind is closed, so that a failing test does not hang.
template <typename Dialog> void whenModal(std::function<void(Dialog*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<Dialog*>(modal))
            return act(dialog);
        ADD_FAILURE() << "no dialog of the expected kind";
        if (modal)
            modal->close();
    });
}

// The text as it stands under the title, the icon, the buttons of the kind (Yes, the default,
// and No; or OK alone), and the pressed button as the answer. A window manager cuts a title wider
// than its box ("Pl…rd"): a short text still makes a box with room for the title in bold, the
// window's icon and the title bar's three buttons.
TEST(QtMessageBoxesTest, ShowsItsKindAndAnswersWithThePressedButton) {
    using enum MessageIcon;
    using Box = QMessageBox;
    const struct {
        MessageButtons buttons;
        MessageIcon icon;
        Box::Icon shownIcon;
        Box::StandardButton press; // NoButton: the default button, as Enter presses it
        MessageAnswer answer;
    } cases[] = {
        {MessageButtons::YesNo, Question, Box::Question, Box::NoButton, MessageAnswer::Yes},
        {MessageButtons::YesNo, Question, Box::Question, Box::No, MessageAnswer::No},
        {MessageButtons::Ok, None, Box::NoIcon, Box::NoButton, MessageAnswer::Ok},
        {MessageButtons::Ok, Information, Box::Information, Box::Ok, MessageAnswer::Ok},
        {MessageButtons::Ok, Exclamation, Box::Warning, Box::Ok, MessageAnswer::Ok},
        {MessageButtons::Ok, Critical, Box::Critical, Box::Ok, MessageAnswer::Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.icon));
        const bool yesNo = c.buttons == MessageButtons::YesNo;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            EXPECT_EQ(box->text(), QStringLiteral("Is <b>Plan</b> OK?\nReally."));
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Plovard Enterprise"));
            EXPECT_EQ(box->icon(), c.shownIcon);
            EXPECT_EQ(box->standardButtons(),
                      yesNo ? Box::Yes | Box::No : Box::StandardButtons(Box::Ok));
            EXPECT_EQ(box->defaultButton(), box->button(yesNo ? Box::Yes : Box::Ok));
            QFont bold = box->font();
            bold.setBold(true);
            const int titleBar = box->style()->pixelMetric(QStyle::PM_TitleBarHeight);
            EXPECT_GE(box->width(),
                      QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 4 * titleBar);
            (c.press ? box->button(c.press) : box->defaultButton())->click();
        });
        EXPECT_EQ(QtMessageBoxes().show("Is <b>Plan</b> OK?\nReally.", c.buttons, c.icon,
                                        "Plovard Enterprise"),
                  c.answer);
    }
}

TEST(QtBusyPointerTest, BusyIsOneStateNotAStack) {
    {
        QtBusyPointer pointer;
        pointer.setBusy(true);
        pointer.setBusy(true);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        pointer.setBusy(false);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        pointer.setBusy(true);
    } // a pointer left busy is reset when its owner goes
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Events run at the first yield, then not again until the interval has passed, and at once when
// asked to; a million cheap yields read the clock rarely.
TEST(QtEventPumpTest, RunsEventsAtTheFirstYieldAndThenOnlyNowAndThen) {
    using Clock = std::chrono::steady_clock;
    QtEventPump pump;
    int delivered = 0;
    auto post = [&] { QTimer::singleShot(0, [&] { ++delivered; }); };
    post();
    const auto firstRun = Clock::now();
    pump.processEvents();
    EXPECT_EQ(delivered, 1);
    post();
    for (int i = 0; i < 1000; ++i)
        pump.processEvents();
    if (Clock::now() - firstRun < QtEventPump::kInterval) { // not when the machine stalled
        EXPECT_EQ(delivered, 1);
    }
    for (const auto giveUp = Clock::now() + std::chrono::seconds(2);
         delivered < 2 && Clock::now() < giveUp;)
        pump.processEvents();
    EXPECT_EQ(delivered, 2);
    for (int i = 0; i < 1000000; ++i)
        pump.processEvents();
    EXPECT_GT(pump.stride(), 1u);
    post();
    pump.processEventsNow();
    EXPECT_EQ(delivered, 3);
}

// Filters in Qt's form; the dialog starts in the nearest folder that exists.
TEST(QtFileDialogTest, OffersExistingXerFilesAndReportsCancelApart) {
    EXPECT_EQ(QtFileDialog::nameFilters("Programs|*.exe;*.com|All|*.*"),
              (QStringList{QStringLiteral("Programs (*.exe *.com)"), QStringLiteral("All (*.*)")}));
    test::TempFolder temp;
    const QString root = QString::fromStdString(temp.path());
    EXPECT_EQ(QtFileDialog::startFolder(temp.path() + "/"), root);
    EXPECT_EQ(QtFileDialog::startFolder(temp.path() + "/gone/deeper/"), root);
    EXPECT_EQ(QtFileDialog::startFolder("C:\\"), QDir::homePath()); // another platform's folder
    const std::string chosen = temp.write("Big Job \xc3\xa4.XER", "x");
    FileDialogOptions options;
    options.initialFolder = temp.path() + "/";
    options.filter = "P6 XER Files|*.XER";
    options.title = "Select the P6 Backup File to be Analyzed.";
    options.helpFile = "/opt/z/ZembrelPOBS.chm";
    QtFileDialog dialog;
    test::FakeHelpViewer help;
    dialog.setHelpViewer(&help);
    whenModal<QFileDialog>([&](QFileDialog* d) {
        auto* buttons = d->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        ASSERT_NE(buttons->button(QDialogButtonBox::Help), nullptr);
        buttons->button(QDialogButtonBox::Help)->click();
        EXPECT_EQ(help.shown, std::vector<std::string>{options.helpFile});
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Select the P6 Backup File to be Analyzed."));
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(d->directory().absolutePath(), root);
        EXPECT_EQ(d->selectedNameFilter(), QStringLiteral("P6 XER Files (*.XER)"));
        // Typed into the name field, as a user would.
        if (auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(QString::fromUtf8("Big Job \xc3\xa4.XER"));
        QMetaObject::invokeMethod(d, "accept");
    });
    const auto choice = dialog.open(options);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path, chosen);
    EXPECT_EQ(choice->name, "Big Job \xc3\xa4.XER");
    whenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    EXPECT_FALSE(dialog.open(options).has_value());
}

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

    test::TempFolder dir;
    test::FakeBoxes boxes;
    std::vector<QUrl> opened;
};

// Without the pages the desktop's viewer gets the compiled help; without that too, a message
// says why. With the pages they show in the program's own window, whether the desktop opens .chm
// files or not: its viewers differ in what they make of them.
TEST_F(HelpViewerTest, ThePagesShowInTheProgramsOwnWindowElseTheDesktopsViewerElseAMessage) {
    auto v = viewer(true);
    v.showContents(dir.file("ZembrelPOBS.chm")); // not there
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("The help cannot be shown"), std::string::npos);
    v.showContents(chm());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toLocalFile().toStdString(), dir.file("ZembrelPOBS.chm"));
    EXPECT_EQ(v.window(), nullptr);
    std::filesystem::create_directories(dir.file("help"));
    dir.write("help/x.hhc", kContents);
    dir.write("help/overview.htm", "<p>All about it</p>");
    dir.write("help/purge.htm", "<p>Purging</p>");
    v.showContents(chm());
    EXPECT_EQ(opened.size(), 1u);
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
    EXPECT_EQ(boxes.shown.size(), 1u);
}

} // namespace
} // namespace zembrel
