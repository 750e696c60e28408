#include "info/FrmAbout.h"

#include "core/Version.h"
#include "platform/Ui.h"

namespace zembrel {

const FormDescription& frmAboutForm() {
    using K = ControlKind;
    static const FormDescription form{
        .name = "frmAbout",
        .clientWidth = 5730,
        .clientHeight = 4155,
        .border = BorderStyle::Dialog,
        .controls =
            {
                {.kind = K::Picture,
                 .name = "picIcon",
                 .rect = {240, 120, 540, 540},
                 .picture = "ZembrelPOBS-36.png"},
                {.kind = K::Label,
                 .name = "lblTitle",
                 .caption = about_text::kTitle,
                 .rect = {1200, 120, 4005, 480},
                 .multiLine = true,
                 .fontPoints = 7},
                {.kind = K::Frame, .name = "Frame1", .rect = {960, 720, 4575, 1575}},
                {.kind = K::Label,
                 .name = "lblDescription",
                 .rect = {240, 360, 4215, 1095},
                 .container = "Frame1",
                 .multiLine = true},
                // Two lines make the etched separator: gray above, white below.
                {.kind = K::Line,
                 .name = "Line1",
                 .index = 1,
                 .rect = {90, 2445, 5564, 15},
                 .color = 0x808080u},
                {.kind = K::Line,
                 .name = "Line1",
                 .index = 0,
                 .rect = {105, 2460, 5549, 30},
                 .color = 0xffffffu},
                {.kind = K::Label,
                 .name = "lblDisclaimer",
                 .caption = about_text::kDisclaimer,
                 .rect = {135, 2625, 4020, 945},
                 .multiLine = true},
                // The buttons are low and narrow for today's fonts: a smaller one keeps
                // "System Info..." off their edges.
                {.kind = K::Button,
                 .name = "cmdOK",
                 .caption = "OK",
                 .rect = {4245, 2625, 1260, 345},
                 .tabIndex = 0,
                 .isDefault = true,
                 .isCancel = true,
                 .fontPoints = 8},
                {.kind = K::Button,
                 .name = "cmdSysInfo",
                 .caption = "&System Info...",
                 .rect = {4260, 3075, 1245, 345},
                 .tabIndex = 1,
                 .fontPoints = 8},
                {.kind = K::Label, .name = "lblVersion", .rect = {240, 3720, 3645, 225}},
            },
    };
    return form;
}

void OpenAbout(FormSurface& window) {
    window.setCaption(std::string("About ") + kAppTitle);
    window.setText("lblVersion", std::string("Build Number ") + kFullVersionText);
    window.setText("lblDescription", std::string("\n\nVersion: ") + kVersionText);
}

} // namespace zembrel
