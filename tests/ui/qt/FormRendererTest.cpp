#include "ui/qt/FormRenderer.h"
#include "ui/qt/FrmSplash.h"

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace zembrel {
namespace {

std::string text(const QString& s) {
    return s.toStdString();
}

// One control of every kind. The first in keyboard order is disabled, so the focus starts at the
// second; the keyboard order differs from the order of the list.
FormDescription sampleForm() {
    using enum ControlKind;
    FormDescription form{.name = "frmSample", .clientWidth = 6000, .clientHeight = 4500};
    form.border = BorderStyle::Dialog;
    // clang-format off
    form.controls = {
        {.kind = Frame, .name = "Frame1", .rect = {120, 120, 2175, 3000}},
        {.kind = OptionButton, .name = "Option1", .index = 1, .caption = "&Windows",
         .rect = {240, 1200, 1815, 375}, .tabIndex = 3, .container = "Frame1"},
        {.kind = TextBox, .name = "txtPath", .caption = "C:\\", .tooltip = "Where it is",
         .rect = {2400, 1320, 3000, 375}, .tabIndex = 2},
        {.kind = Button, .name = "cmdOK", .caption = "&Go", .rect = {4500, 240, 1215, 495},
         .tabIndex = 1, .isDefault = true, .isCancel = true},
        {.kind = Button, .name = "cmdLater", .rect = {4500, 900, 1215, 495}, .tabIndex = 0,
         .enabled = false},
        {.kind = Label, .name = "lblNote", .caption = "<b>A</b> & B", .rect = {2400, 2000, 3000, 900},
         .multiLine = true, .edge = LabelEdge::Sunken, .emphasis = FontEmphasis::Bold,
         .fontPoints = 7.5},
        {.kind = Picture, .name = "picIcon", .rect = {2400, 120, 540, 540}, .picture = "splash.png"},
        {.kind = Line, .name = "Line1", .rect = {90, 3900, 5500, 30}},
        {.kind = Line, .name = "Line2", .rect = {90, 3990, 5500, 15}, .color = 0x808080},
    };
    form.menus = {{"mnuFile", "&File",
                   {{.name = "mnuFileSound", .caption = "&Sound", .checkable = true},
                    {.name = "mnuFileDash", .caption = "-", .separator = true},
                    {.name = "mnuFileExit", .caption = "E&xit"}}}};
    // clang-format on
    return form;
}

// The sample form built into a dialog with a menu bar, as a window builds it.
class FormRendererTest : public ::testing::Test {
protected:
    template <typename T> T* built(const char* key) {
        T* found = qobject_cast<T*>(rendered.control(key));
        EXPECT_NE(found, nullptr) << key;
        return found;
    }

    FormDescription form = sampleForm();
    QDialog window{nullptr, FormRenderer::windowFlags(form)};
    QMenuBar* menuBar = new QMenuBar(&window);
    QWidget* client = new QWidget(&window);
    FormRenderer rendered{form, *client, menuBar};
};

TEST_F(FormRendererTest, EachControlIsItsKindAtItsPixelRectangleInItsContainer) {
    struct Expected {
        const char* key;
        const char* type;
        QRect pixels;
        const char* parent;
    };
    for (const Expected& e : {
             Expected{"Frame1", "QGroupBox", {8, 8, 145, 200}, ""},
             Expected{"Option1(1)", "QRadioButton", {16, 80, 121, 25}, "Frame1"},
             Expected{"txtPath", "QLineEdit", {160, 88, 200, 25}, ""},
             Expected{"cmdOK", "QPushButton", {300, 16, 81, 33}, ""},
             Expected{"lblNote", "QLabel", {160, 133, 200, 60}, ""},
             Expected{"picIcon", "QLabel", {160, 8, 36, 36}, ""},
             Expected{"Line1", "QFrame", {6, 260, 366, 2}, ""},
         }) {
        SCOPED_TRACE(e.key);
        QWidget* widget = rendered.control(e.key);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), e.type);
        EXPECT_EQ(widget->geometry(), e.pixels);
        EXPECT_EQ(widget->parentWidget(), *e.parent ? rendered.control(e.parent) : client);
    }
    EXPECT_EQ(client->size(), QSize(400, 300));
    EXPECT_EQ(client->minimumSize(), client->maximumSize());
}

TEST_F(FormRendererTest, CaptionsTooltipsAndStatesAreAsDescribed) {
    QPushButton* ok = built<QPushButton>("cmdOK");
    EXPECT_EQ(ok->shortcut(), QKeySequence(Qt::ALT | Qt::Key_G)); // the access key
    EXPECT_EQ(text(built<QLineEdit>("txtPath")->text()), "C:\\");
    EXPECT_EQ(text(built<QLineEdit>("txtPath")->toolTip()), "Where it is");
    EXPECT_FALSE(built<QPushButton>("cmdLater")->isEnabled());
    QLabel* note = built<QLabel>("lblNote");
    EXPECT_EQ(text(note->text()), "<b>A</b> & B");
    EXPECT_EQ(note->textFormat(), Qt::PlainText); // shown as it stands, never as markup
    EXPECT_EQ(note->frameShadow(), QFrame::Sunken);
    EXPECT_TRUE(note->font().bold());
    EXPECT_EQ(note->font().pointSizeF(), 7.5);
    EXPECT_FALSE(ok->font().bold());
    EXPECT_EQ(built<QLabel>("picIcon")->pixmap().size(), QSize(547, 323)); // cut by the label
    EXPECT_EQ(built<QFrame>("Line1")->frameShape(), QFrame::HLine);
    QFrame* gray = built<QFrame>("Line2"); // one colour, no etching
    EXPECT_EQ(gray->frameShape(), QFrame::NoFrame);
    EXPECT_TRUE(gray->autoFillBackground());
    EXPECT_EQ(gray->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    // The menu's entries: named actions and a separator (the main window checks a check mark).
    const QList<QAction*> entries = menuBar->actions().at(0)->menu()->actions();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(rendered.action("mnuFileSound"), entries[0]);
    EXPECT_TRUE(entries[1]->isSeparator());
    EXPECT_EQ(text(entries[2]->text()), "E&xit");
}

// The focus starts at the first enabled control and follows the keyboard order; Enter and
// Escape press the default and the cancel button.
TEST_F(FormRendererTest, FocusFollowsTheKeyboardOrderAndEnterAndEscapePressTheirButtons) {
    QPushButton* ok = built<QPushButton>("cmdOK");
    EXPECT_TRUE(ok->isDefault()); // before it ever has the focus, which would make it one
    int presses = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++presses; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    std::vector<std::string> order;
    for (QWidget* w = window.focusWidget(); w && order.size() < 3; w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus)
            order.push_back(text(w->objectName()));
    EXPECT_EQ(order, (std::vector<std::string>{"cmdOK", "txtPath", "Option1(1)"}));
    QTest::keyClick(built<QLineEdit>("txtPath"), Qt::Key_Escape);
    EXPECT_EQ(presses, 1);
    QTest::keyClick(built<QLineEdit>("txtPath"), Qt::Key_Return);
    EXPECT_EQ(presses, 2);
}

TEST(FormRendererWindowTest, AResizableFormPaintsItsPictureUnderTheControls) {
    FormDescription form{.clientWidth = 9000, .clientHeight = 6000, .fixedSize = false};
    form.picture = "splash.png";
    form.controls = {{.kind = ControlKind::Label, .name = "lblOver", .rect = {15, 15, 300, 300}}};
    QWidget client;
    const FormRenderer rendered(form, client);
    EXPECT_EQ(client.size(), QSize(600, 400));
    EXPECT_NE(client.minimumSize(), client.maximumSize());
    ASSERT_NE(rendered.picture(), nullptr);
    EXPECT_EQ(rendered.picture()->geometry(), QRect(0, 0, 547, 323));
    // A screen that scales by 2 gets the picture drawn at twice the size, in the same place.
    const QPixmap sharp = FormRenderer::picture(form.picture, 2);
    EXPECT_EQ(sharp.devicePixelRatio(), 2);
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(547, 323));
    EXPECT_EQ(FormRenderer::picture(form.picture, 1).devicePixelRatio(), 1);
    EXPECT_EQ(client.childAt(5, 5), rendered.control("lblOver"));
}

// The splash window: its picture painted over the whole client area (a dark band, the page, a
// dark band to the last row and column), centred, and out of the way of the mouse and the
// keyboard.
TEST(FrmSplashTest, BorderlessCentredUntouchableWithItsPicture) {
    FrmSplash splash;
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash.geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    EXPECT_TRUE(splash.testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(splash.focusPolicy(), Qt::NoFocus);
    const QImage shown = splash.grab().toImage();
    EXPECT_LT(qGray(shown.pixel(200, 2)), 100);
    EXPECT_GT(qGray(shown.pixel(200, 30)), 200);
    EXPECT_EQ(shown.size(), QSize(547, 323));
    EXPECT_LT(qGray(shown.pixel(546, 322)), 100);
}

} // namespace
} // namespace zembrel
