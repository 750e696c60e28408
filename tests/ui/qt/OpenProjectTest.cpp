#include "ui/qt/OpenProject.h"
#include "XerText.h"
#include "fakes/FakeShellServices.h"
#include "platform/qt/QtBusyPointer.h"
#include "shell/GetFilename.h"
#include "shell/MainCommands.h"
#include "ui/qt/QtStartUpWindow.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>

namespace zembrel {
namespace {

// The window wired as the program wires it, over fake services but for the real pointer; its
// children found by their names.
class OpenProjectTest : public ::testing::Test, protected test::FakeShellServices {
protected:
    OpenProjectTest() {
        fake.files.files["/srv/Plan.xer"] =
            test::crlf({"ERMHDR", "%T\tPOBS", "%F\tpobs_id", "%R\t1", "%R\t2", "%E"});
        window.attach(commands);
    }
    ~OpenProjectTest() override { window.hide(); }
    template <typename T> T* child(const char* name) {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    QAction* action(const char* name) { return child<QAction>(name); }

    QtBusyPointer pointer;
    Platform platform{fake.files, fake.boxes, fake.events, pointer};
    ShellServices qtServices{platform, environment, profile,  dialog,
                             help,     prompts,     programs, modals};
    AppState state;
    OpenProject window;
    QtStartUpWindow windows{window, pointer, 0};
    // The progress bar's half second passes when a test says so.
    std::chrono::steady_clock::time_point now{};
    MainCommands commands{state, window, windows, qtServices, [this] { return now; }};
};

TEST_F(OpenProjectTest, TheSurfaceShowsWhatTheLogicSets) {
    window.show();
    QLabel* results = child<QLabel>("lblResults");
    const std::string report = "A total of 3 POBS records\r\nand 2 Risk Type records";
    window.setResults(report);
    EXPECT_EQ(results->text(),
              QStringLiteral("A total of 3 POBS records\nand 2 Risk Type records"));
    // The longest text wraps at the label's width and fits its height.
    window.setResults(file_selection_text::kExplanation);
    EXPECT_LE(results->heightForWidth(results->width()), results->height());
    EXPECT_GT(results->heightForWidth(results->width()), 4 * results->fontMetrics().height());
    // The file name can be selected, not edited (Enter on a focused button: FrmVideoSetTest).
    window.setFileName("Pl\xc3\xa4n.xer");
    auto* name = child<QLineEdit>("txtFileName");
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("abc"));
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(name->text(), QString::fromUtf8("Pl\xc3\xa4n.xer"));
    name->selectAll();
    EXPECT_EQ(name->selectedText(), name->text());
    // Controls and menu entries greyed by name: AnOperationPastHalfASecond...
    window.setPurgeCaption("working...");
    EXPECT_EQ(button("cmdPurge")->text(), QStringLiteral("working..."));
}

// A titled window with a fixed client area under the menu bar; the position in twips, at 15 to a
// pixel, reads back as set until the window moves. A window off every screen comes back onto the
// nearest.
TEST_F(OpenProjectTest, AFixedSizeAndAPositionInTwipsOnAScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const float twips : {-48000.0f, 1e30f}) { // where a minimised window was; any number
        window.setPosition(twips, twips);
        window.show(); // brought back as it shows, then as it is moved
        EXPECT_TRUE(screen.contains(QRect(window.pos(), window.frameGeometry().size()))) << twips;
    }
    window.setPosition(1785.4f, 1410.6f);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint)); // a single border
    EXPECT_EQ(window.objectName(), QStringLiteral("OpenProject"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Plovard Scourvane Plus"));
    const QWidget* client = window.centralWidget();
    EXPECT_GE(client->y(), window.menuBar()->height());
    EXPECT_EQ(window.height(), client->y() + client->height());
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.pos(), QPoint(94, 119));
    EXPECT_EQ(window.top(), 1785.4f);
    EXPECT_EQ(window.left(), 1410.6f);
    window.move(200, 100); // the user moves it
    EXPECT_EQ(window.top(), 1500.0f);
    EXPECT_EQ(window.left(), 3000.0f);
}

// The dialog comes after the splash and before the window; the first survey runs in the shown
// window, disabled and under the busy pointer.
TEST_F(OpenProjectTest, TheWindowShowsAfterTheFirstDialogAndWaitsForTheFirstSurvey) {
    dialog.onOpen = [&] {
        EXPECT_EQ(windows.splash(), nullptr);
        EXPECT_FALSE(window.isVisible());
    };
    fake.boxes.onShow = [&](const test::ShownBox&) {
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(window.isEnabled());
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    };
    commands.startUp(); // the dialog is cancelled: "File not specified."
    EXPECT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(window.focusWidget(), button("Cancel")); // the keyboard order starts at Done
}

TEST_F(OpenProjectTest, ButtonsAndMenuEntriesReachTheirCommands) {
    dialog.choose("/srv/Plan.xer", "Plan.xer");
    commands.startUp();
    EXPECT_EQ(child<QLineEdit>("txtFileName")->text(), QStringLiteral("Plan.xer"));
    button("cmdPurge")->click();
    EXPECT_EQ(fake.files.files.count("/srv/Plan-POBS.xer"), 1u);
    button("cmdAgain")->click(); // the dialog is cancelled: the new file is surveyed again
    EXPECT_EQ(child<QLabel>("lblResults")->text(),
              QStringLiteral("The above XER file does not contain any POBS or Risk Type records."));
    fake.boxes.shown.clear();
    action("mnuFileVersion")->trigger();
    action("mnuReset")->trigger(); // answered Yes
    EXPECT_EQ(fake.boxes.shown.front().text, "Version Number 4.42");
    EXPECT_EQ(fake.boxes.shown.back().text, "Program settings have been reset.");
    action("mnuHelpContents")->trigger();
    EXPECT_EQ(help.shown, std::vector<std::string>{"/opt/zembrel/ZembrelPOBS.chm"});
    action("mnuFileVideo")->trigger();
    action("nmuHelpAbout")->trigger();
    EXPECT_EQ(modals.opened, (std::vector<std::string>{"frmVideoSet", "frmAbout"}));
    state.VideoPlayerPath = "/usr/bin/mpv";
    fake.files.files["/opt/zembrel/ZembrelPOBS.avi"] = "RIFF";
    button("cmdVideo")->click();
    EXPECT_EQ(programs.started.size(), 1u);
    action("mnuFileVoice")->trigger();
    EXPECT_FALSE(state.SoundOn);
    EXPECT_FALSE(action("mnuFileVoice")->isChecked());
}

TEST_F(OpenProjectTest, OneDroppedFileIsSurveyedAndPurgeComesBackAsTheSurveyDecides) {
    fake.files.files["/srv/Other.xer"] = test::crlf({"ERMHDR", "%T\tPOBS", "%R\t1", "%E"});
    dialog.choose("/srv/Plan.xer", "Plan.xer");
    commands.startUp();
    const auto drag = [&](const QList<QUrl>& urls, bool drop) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, drop ? static_cast<QEvent*>(&dropped) : &enter);
        return drop ? dropped.isAccepted() : enter.isAccepted();
    };
    const QUrl other = QUrl::fromLocalFile(QStringLiteral("/srv/Other.xer"));
    EXPECT_FALSE(drag({other, QUrl::fromLocalFile(QStringLiteral("/srv/Plan.xer"))}, false));
    EXPECT_FALSE(drag({QUrl(QStringLiteral("https://example.com/a.xer"))}, false));
    bool surveyed = false;
    fake.events.onProcess = [&] {
        surveyed = true;
        EXPECT_FALSE(button("cmdPurge")->isEnabled());
        EXPECT_FALSE(drag({other}, false)); // no drop while an operation runs
    };
    EXPECT_TRUE(drag({other}, false));
    EXPECT_TRUE(drag({other}, true));
    EXPECT_TRUE(surveyed);
    EXPECT_EQ(state.CurrentXerPath, "/srv/Other.xer");
    EXPECT_EQ(child<QLineEdit>("txtFileName")->text(), QStringLiteral("Other.xer"));
    EXPECT_TRUE(button("cmdPurge")->isEnabled());
}

// While a survey runs the other operations wait, and so does a close; one past half a second
// shows its progress until it ends.
TEST_F(OpenProjectTest, AnOperationPastHalfASecondShowsItsProgressAndTheRestWaits) {
    dialog.choose("/srv/Plan.xer", "Plan.xer");
    commands.startUp();
    auto* bar = child<QProgressBar>("progress");
    std::vector<int> shown; // the values set, negative while the bar was hidden
    QObject::connect(bar, &QProgressBar::valueChanged,
                     [&](int value) { shown.push_back(bar->isVisible() ? value : -value); });
    EXPECT_FALSE(bar->isVisible());
    button("cmdAgain")->click(); // quick: nothing shows
    EXPECT_TRUE(shown.empty());
    bool slow = true;
    fake.events.onProcess = [&] {
        if (std::exchange(slow, false))
            now += std::chrono::milliseconds(550);
    };
    button("cmdAgain")->click();
    EXPECT_EQ(shown, std::vector<int>{1000}); // the whole file, once read
    EXPECT_FALSE(bar->isVisible());           // gone when the survey ended
    EXPECT_GE(bar->geometry().top(), child<QLabel>("lblResults")->geometry().bottom());
    EXPECT_LT(bar->geometry().bottom(), button("cmdPurge")->geometry().top());
    bool waited = false;
    fake.events.onProcess = [&] {
        if (std::exchange(waited, true))
            return;
        EXPECT_FALSE(button("cmdAgain")->isEnabled());
        EXPECT_FALSE(action("mnuReset")->isEnabled());
        EXPECT_FALSE(button("cmdPurge")->isEnabled());
        window.close(); // waits for the survey
        EXPECT_TRUE(window.isVisible());
    };
    button("cmdAgain")->click();
    EXPECT_TRUE(waited);
    EXPECT_FALSE(window.isVisible()); // shut down once the survey returned
    EXPECT_TRUE(windows.ended());
}

// "&Done", File "&Exit" and the close box: each ends the program through the commands.
class ClosingTest : public OpenProjectTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ClosingTest, EndsTheProgram) {
    commands.startUp();
    const std::string way = GetParam();
    if (way == "Done")
        button("Cancel")->click();
    else if (way == "Exit")
        action("mnuFileExit")->trigger();
    else
        window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(windows.ended());
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingTest, ::testing::Values("Done", "Exit", "CloseBox"),
                         [](const auto& row) { return std::string(row.param); });

} // namespace
} // namespace zembrel
