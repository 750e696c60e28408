#include "info/FrmSplashForm.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

TEST(FrmSplashFormTest, ABorderlessPictureWithTheVersionLine) {
    const FormDescription& form = frmSplashForm();
    EXPECT_EQ(form.name, "frmSplash");
    EXPECT_EQ(form.border, BorderStyle::None);
    EXPECT_EQ(form.clientWidth, 8205);
    EXPECT_EQ(form.clientHeight, 4845);
    EXPECT_EQ(form.picture, "splash.png");
    EXPECT_TRUE(form.menus.empty());
    // Its one control is the version line, and nothing takes the focus.
    ASSERT_EQ(form.controls.size(), 1u);
    const ControlDescription& version = form.controls[0];
    EXPECT_EQ(version.key(), "lblVersion");
    EXPECT_EQ(version.kind, ControlKind::Label);
    EXPECT_EQ(version.caption, "Zembrel Version 4.42.731");
    EXPECT_EQ(version.rect, (TwipRect{5520, 3960, 2535, 255}));
    EXPECT_TRUE(form.keyboardOrder().empty());
}

} // namespace
} // namespace zembrel
