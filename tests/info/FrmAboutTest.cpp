#include "info/FrmAbout.h"

#include <gtest/gtest.h>

#include <map>

namespace zembrel {
namespace {

struct Surface final : FormSurface {
    std::string caption;
    std::map<std::string, std::string> texts;
    void setCaption(const std::string& c) override { caption = c; }
    void setText(const std::string& key, const std::string& text) override { texts[key] = text; }
    std::string text(const std::string& key) const override { return texts.at(key); }
};

TEST(FrmAboutTest, OpeningShowsTheCaptionTheBuildAndTheVersionOnItsThirdLine) {
    Surface window;
    OpenAbout(window);
    EXPECT_EQ(window.caption, "About Plovard");
    EXPECT_EQ(window.texts.at("lblVersion"), "Build Number 4.42.731");
    EXPECT_EQ(window.texts.at("lblDescription"), "\n\nVersion: 4.42");
}

TEST(FrmAboutTest, TheDescriptionHoldsWhatTheWindowNeeds) {
    const FormDescription& form = frmAboutForm();
    EXPECT_EQ(form.border, BorderStyle::Dialog);
    EXPECT_TRUE(form.fixedSize);
    const ControlDescription* ok = form.find("cmdOK");
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault && ok->isCancel);
    EXPECT_EQ(form.find("cmdSysInfo")->caption, "&System Info...");
    EXPECT_EQ(form.find("lblDescription")->container, "Frame1");
    EXPECT_EQ(form.find("Line1(1)")->color, 0x808080u); // gray above white: etched
    EXPECT_EQ(form.find("Line1(0)")->color, 0xffffffu);
    // The title: one sentence of about 110 characters; the warning: two, two spaces apart.
    const std::string title = form.find("lblTitle")->caption;
    EXPECT_NEAR(static_cast<double>(title.size()), 110.0, 15.0);
    for (const char* word : {"Plovard", "Scourvane Plus", "P6 versions 5.0 to 25.x"})
        EXPECT_NE(title.find(word), std::string::npos) << word;
    const std::string warning = form.find("lblDisclaimer")->caption;
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '.'), 2);
    EXPECT_NE(warning.find(".  "), std::string::npos);
}

} // namespace
} // namespace zembrel
