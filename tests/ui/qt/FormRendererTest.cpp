#include "ui/qt/FormRenderer.h"
#include "info/FrmSplashForm.h"
#include "media/FrmVideoSetForm.h"
#include "shell/OpenProjectForm.h"
#include "ui/qt/FrmSplash.h"
#include "ui/qt/FrmVideoSet.h"
#include "ui/qt/OpenProject.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace zembrel {
namespace {

std::string text(const QString& s) {
    return s.toStdString();
}

// One of every kind: a frame of two option buttons, an option button outside it, a text box,
// an OK button that is default and cancel, a disabled button, labels, a picture and a line; the
// keyboard order differs from the order of the list.
FormDescription sampleForm() {
    FormDescription form{.name = "frmSample",
                         .caption = "Sample",
                         .clientWidth = 6000,
                         .clientHeight = 4500,
                         .border = BorderStyle::Dialog};
    form.controls = {
        {.kind = ControlKind::Frame, .name = "Frame1", .rect = {120, 120, 2175, 3000}},
        {.kind = ControlKind::OptionButton,
         .name = "Option1",
         .index = 0,
         .caption = "none",
         .rect = {240, 480, 1815, 375},
         .tabIndex = 3,
         .container = "Frame1"},
        {.kind = ControlKind::OptionButton,
         .name = "Option1",
         .index = 1,
         .caption = "&Windows",
         .rect = {240, 1200, 1815, 375},
         .tabIndex = 4,
         .container = "Frame1"},
        {.kind = ControlKind::OptionButton,
         .name = "optAlone",
         .caption = "Alone",
         .rect = {2400, 3300, 1500, 375},
         .tabIndex = 5},
        {.kind = ControlKind::TextBox,
         .name = "txtPath",
         .caption = "C:\\",
         .tooltip = "Where it is",
         .rect = {2400, 1320, 3000, 375},
         .tabIndex = 1},
        {.kind = ControlKind::Button,
         .name = "cmdOK",
         .caption = "&Go",
         .rect = {4500, 240, 1215, 495},
         .tabIndex = 0,
         .isDefault = true,
         .isCancel = true},
        {.kind = ControlKind::Button,
         .name = "cmdLater",
         .caption = "Later",
         .rect = {4500, 900, 1215, 495},
         .tabIndex = 2,
         .enabled = false},
        {.kind = ControlKind::Label,
         .name = "lblNote",
         .caption = "A & B, wrapped",
         .rect = {2400, 2000, 3000, 900},
         .multiLine = true,
         .edge = LabelEdge::Sunken,
         .emphasis = FontEmphasis::Bold},
        {.kind = ControlKind::Picture,
         .name = "picIcon",
         .rect = {2400, 120, 540, 540},
         .picture = "splash.png"},
        {.kind = ControlKind::Line, .name = "Line1", .rect = {90, 3900, 5500, 30}},
    };
    form.menus = {{"mnuFile",
                   "&File",
                   {{.name = "mnuFileSound", .caption = "&Sound", .checkable = true},
                    {.name = "mnuFileDash", .caption = "-", .separator = true},
                    {.name = "mnuFileExit", .caption = "E&xit"}}}};
    return form;
}

// The sample form built into a dialog with a menu bar, as a window would build it.
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

TEST_F(FormRendererTest, EachControlIsItsKindNamedAtItsPixelRectangleInItsContainer) {
    struct Expected {
        const char* key;
        const char* type;
        QRect pixels;
        const char* parent;
    };
    for (const Expected& e : {
             Expected{"Frame1", "QGroupBox", {8, 8, 145, 200}, ""},
             Expected{"Option1(0)", "QRadioButton", {16, 32, 121, 25}, "Frame1"},
             Expected{"Option1(1)", "QRadioButton", {16, 80, 121, 25}, "Frame1"},
             Expected{"optAlone", "QRadioButton", {160, 220, 100, 25}, ""},
             Expected{"txtPath", "QLineEdit", {160, 88, 200, 25}, ""},
             Expected{"cmdOK", "QPushButton", {300, 16, 81, 33}, ""},
             Expected{"lblNote", "QLabel", {160, 133, 200, 60}, ""},
             Expected{"picIcon", "QLabel", {160, 8, 36, 36}, ""},
             Expected{"Line1", "QFrame", {6, 260, 366, 2}, ""},
         }) {
        SCOPED_TRACE(e.key);
        QWidget* widget = rendered.control(e.key);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget, client->findChild<QWidget*>(QString::fromLatin1(e.key)));
        EXPECT_STREQ(widget->metaObject()->className(), e.type);
        EXPECT_EQ(widget->geometry(), e.pixels);
        const QWidget* parent = *e.parent ? rendered.control(e.parent) : client;
        EXPECT_EQ(widget->parentWidget(), parent);
    }
    EXPECT_EQ(rendered.control("Option1"), nullptr);
    EXPECT_EQ(client->size(), QSize(400, 300));
    EXPECT_EQ(client->minimumSize(), client->maximumSize());
}

TEST_F(FormRendererTest, CaptionsTooltipsAndStatesAreAsDescribed) {
    QPushButton* ok = built<QPushButton>("cmdOK");
    EXPECT_EQ(text(ok->text()), "&Go");
    EXPECT_EQ(ok->shortcut(), QKeySequence(Qt::ALT | Qt::Key_G)); // the access key
    EXPECT_EQ(text(built<QRadioButton>("Option1(1)")->text()), "&Windows");
    EXPECT_TRUE(built<QGroupBox>("Frame1")->title().isEmpty());
    QLineEdit* path = built<QLineEdit>("txtPath");
    EXPECT_EQ(text(path->text()), "C:\\");
    EXPECT_EQ(text(path->toolTip()), "Where it is");
    EXPECT_TRUE(ok->toolTip().isEmpty());
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_FALSE(built<QPushButton>("cmdLater")->isEnabled());
    QLabel* note = built<QLabel>("lblNote");
    EXPECT_EQ(text(note->text()), "A & B, wrapped"); // shown as it stands
    EXPECT_EQ(note->textFormat(), Qt::PlainText);
    EXPECT_TRUE(note->wordWrap());
    EXPECT_EQ(note->alignment(), Qt::AlignLeft | Qt::AlignTop);
    EXPECT_EQ(note->frameShadow(), QFrame::Sunken);
    EXPECT_TRUE(note->font().bold());
    EXPECT_FALSE(path->font().bold());
    EXPECT_EQ(built<QLabel>("picIcon")->pixmap().size(), QSize(538, 313)); // cut by the label
    EXPECT_EQ(built<QFrame>("Line1")->frameShape(), QFrame::HLine);
    EXPECT_EQ(rendered.picture(), nullptr);
}

TEST_F(FormRendererTest, FocusFollowsTheKeyboardOrderFromItsFirstControl) {
    window.show();
    EXPECT_EQ(window.focusWidget(), built<QWidget>("cmdOK"));
    std::vector<std::string> order;
    QWidget* w = window.focusWidget();
    for (int i = 0; i < 5; ++i) {
        order.push_back(text(w->objectName()));
        do
            w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->isEnabled());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"cmdOK", "txtPath", "Option1(0)", "Option1(1)",
                                               "optAlone"}));
}

TEST_F(FormRendererTest, EnterAndEscapePressTheDefaultAndCancelButton) {
    QPushButton* ok = built<QPushButton>("cmdOK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(built<QPushButton>("cmdLater")->isDefault());
    int presses = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++presses; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(built<QLineEdit>("txtPath"), Qt::Key_Escape);
    EXPECT_EQ(presses, 1);
    QTest::keyClick(built<QLineEdit>("txtPath"), Qt::Key_Return);
    EXPECT_EQ(presses, 2);
    ok->setEnabled(false);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(presses, 2);
}

TEST_F(FormRendererTest, OptionButtonsChooseOneWithinTheirFrame) {
    QRadioButton* none = built<QRadioButton>("Option1(0)");
    QRadioButton* windows = built<QRadioButton>("Option1(1)");
    QRadioButton* alone = built<QRadioButton>("optAlone");
    alone->setChecked(true);
    none->setChecked(true);
    windows->setChecked(true);
    EXPECT_FALSE(none->isChecked());
    EXPECT_TRUE(windows->isChecked());
    EXPECT_TRUE(alone->isChecked()); // outside the frame: a choice of its own
}

TEST_F(FormRendererTest, MenusAndTheirEntriesAreNamedActions) {
    const QList<QAction*> bar = menuBar->actions();
    ASSERT_EQ(bar.size(), 1);
    EXPECT_EQ(bar[0], rendered.action("mnuFile"));
    EXPECT_EQ(text(bar[0]->text()), "&File");
    EXPECT_EQ(text(bar[0]->menu()->objectName()), "mnuFile");
    const QList<QAction*> entries = bar[0]->menu()->actions();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0], rendered.action("mnuFileSound"));
    EXPECT_EQ(entries[0], window.findChild<QAction*>(QStringLiteral("mnuFileSound")));
    EXPECT_TRUE(entries[0]->isCheckable());
    EXPECT_EQ(text(entries[0]->text()), "&Sound");
    EXPECT_TRUE(entries[1]->isSeparator());
    EXPECT_EQ(entries[1], rendered.action("mnuFileDash"));
    EXPECT_EQ(text(entries[2]->text()), "E&xit");
    EXPECT_FALSE(entries[2]->isCheckable());
    EXPECT_EQ(rendered.action("mnuMissing"), nullptr);
}

TEST(FormRendererWindowTest, TheBorderStyleSetsTheWindowFlags) {
    FormDescription form;
    form.border = BorderStyle::Dialog;
    const Qt::WindowFlags dialog = FormRenderer::windowFlags(form);
    EXPECT_EQ(dialog & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(dialog.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(dialog.testFlag(Qt::WindowMinimizeButtonHint));
    form.border = BorderStyle::None;
    EXPECT_TRUE(FormRenderer::windowFlags(form).testFlag(Qt::FramelessWindowHint));
    form.border = BorderStyle::Single;
    EXPECT_FALSE(FormRenderer::windowFlags(form).testFlag(Qt::FramelessWindowHint));
    QWidget window;
    form.name = "frmNamed";
    form.caption = "A caption";
    FormRenderer::nameWindow(form, window);
    EXPECT_EQ(text(window.objectName()), "frmNamed");
    EXPECT_EQ(text(window.windowTitle()), "A caption");
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
    EXPECT_EQ(rendered.picture()->geometry(), QRect(0, 0, 538, 313));
    EXPECT_EQ(client.children().first(), rendered.picture()); // the bottom of the stack
    EXPECT_EQ(client.childAt(5, 5), rendered.control("lblOver"));
}

// What a window shows of a control's caption.
std::string shownCaption(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return text(button->text());
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return text(label->text());
    if (const auto* box = qobject_cast<const QLineEdit*>(widget))
        return text(box->text());
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
        return text(frame->title());
    return {};
}

std::vector<std::string> names(const QList<QAction*>& actions) {
    std::vector<std::string> found;
    for (const QAction* action : actions)
        found.push_back(text(action->objectName()));
    return found;
}

// The shown window holds every described control, menu and entry, as described.
void expectBuiltFrom(const FormDescription& form, QWidget& window, const QWidget& client) {
    EXPECT_EQ(text(window.objectName()), form.name);
    EXPECT_EQ(text(window.windowTitle()), form.caption);
    EXPECT_EQ(client.size(),
              QSize(twipsToPixels(form.clientWidth), twipsToPixels(form.clientHeight)));
    for (const ControlDescription& control : form.controls) {
        SCOPED_TRACE(control.key());
        const auto* widget = window.findChild<QWidget*>(QString::fromStdString(control.key()));
        ASSERT_NE(widget, nullptr);
        const TwipRect& r = control.rect;
        EXPECT_EQ(widget->geometry(), QRect(twipsToPixels(r.left), twipsToPixels(r.top),
                                            twipsToPixels(r.width), twipsToPixels(r.height)));
        EXPECT_EQ(shownCaption(widget), control.caption);
        EXPECT_EQ(text(widget->toolTip()), control.tooltip);
        EXPECT_EQ(widget->isEnabled(), control.enabled);
    }
    std::vector<std::string> menuNames;
    for (const MenuDescription& menu : form.menus) {
        menuNames.push_back(menu.name);
        const auto* built = window.findChild<QMenu*>(QString::fromStdString(menu.name));
        ASSERT_NE(built, nullptr) << menu.name;
        std::vector<std::string> entries;
        for (const MenuEntry& entry : menu.entries)
            entries.push_back(entry.name);
        EXPECT_EQ(names(built->actions()), entries);
        for (const MenuEntry& entry : menu.entries) {
            const auto* action = window.findChild<QAction*>(QString::fromStdString(entry.name));
            EXPECT_EQ(entry.separator ? "-" : text(action->text()), entry.caption);
        }
    }
    const auto* bar = window.findChild<QMenuBar*>();
    EXPECT_EQ(bar ? names(bar->actions()) : std::vector<std::string>{}, menuNames);
    std::vector<std::string> expectedOrder, order;
    for (const ControlDescription* control : form.keyboardOrder())
        expectedOrder.push_back(control->key());
    window.show();
    for (QWidget* w = window.focusWidget(); w && order.size() < expectedOrder.size();) {
        order.push_back(text(w->objectName()));
        do
            w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus);
    }
    EXPECT_EQ(order, expectedOrder);
}

TEST(WindowsFromFormsTest, TheMainWindowIsBuiltFromItsDescription) {
    OpenProject window;
    expectBuiltFrom(openProjectForm(), window, *window.centralWidget());
}

TEST(WindowsFromFormsTest, TheSplashWindowIsBuiltFromItsDescription) {
    FrmSplash splash;
    expectBuiltFrom(frmSplashForm(), splash, splash);
}

TEST(WindowsFromFormsTest, TheVideoPlayerWindowIsBuiltFromItsDescription) {
    for (const PlayerRows& players : {PlayerRows::windows(), PlayerRows::posix()}) {
        FrmVideoSet window(players);
        expectBuiltFrom(frmVideoSetForm(players), window, window);
    }
}

} // namespace
} // namespace zembrel
