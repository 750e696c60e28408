#include "info/FrmSplashForm.h"

#include <gtest/gtest.h>

namespace zembrel {
namespace {

// Its one control is the version line, and nothing takes the focus.
TEST(FrmSplashFormTest, ABorderlessPictureWithTheVersionLine) {
    const FormDescription& form = frmSplashForm();
    EXPECT_EQ(form.name, "frmSplash");
    EXPECT_EQ(form.border, BorderStyle::None);
    EXPECT_EQ(form.picture, "splash.png");
    EXPECT_TRUE(form.menus.empty());
    ASSERT_EQ(form.controls.size(), 1u);
    EXPECT_EQ(form.controls[0].key(), "lblVersion");
    EXPECT_EQ(form.controls[0].caption, "Zembrel Version 4.42.731");
    EXPECT_TRUE(form.keyboardOrder().empty());
}

} // namespace
} // namespace zembrel
