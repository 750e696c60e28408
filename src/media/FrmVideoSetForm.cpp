#include "media/FrmVideoSetForm.h"

namespace zembrel {

namespace {

ControlDescription option(int index, const std::string& caption, int top, int tabIndex) {
    return {.kind = ControlKind::OptionButton,
            .name = "Option1",
            .index = index,
            .caption = caption,
            .rect = {240, top, 1815, 375},
            .tabIndex = tabIndex,
            .container = "Frame1"};
}

ControlDescription textBox(int row, int top, int height, int tabIndex) {
    return {.kind = ControlKind::TextBox,
            .name = textBoxOfRow(row),
            .rect = {2400, top, 5895, height},
            .tabIndex = tabIndex,
            // A path typed into the box is taken at once, as a click on the row's option takes it.
            .enterClicks = "Option1(" + std::to_string(row) + ")"};
}

} // namespace

const char* textBoxOfRow(int option) {
    switch (option) {
    case 1: return "txtWindows";
    case 2: return "txtReal";
    default: return "txtOther";
    }
}

FormDescription frmVideoSetForm(const PlayerRows& players) {
    return {.name = "frmVideoSet",
            .caption = "Select Your Video Player",
            .clientWidth = 8460,
            .clientHeight = 3720,
            .fixedSize = true,
            .border = BorderStyle::Dialog,
            .controls = {
                {.kind = ControlKind::Frame, .name = "Frame1", .rect = {120, 120, 2175, 3375}},
                option(0, "none", 480, 0),
                option(1, players.row(1).caption, 1200, 1),
                option(2, players.row(2).caption, 1920, 2),
                option(3, players.row(3).caption, 2640, 5),
                {.kind = ControlKind::Label,
                 .name = "Label1",
                 .caption = "Location",
                 .rect = {2400, 840, 1095, 255}},
                textBox(1, 1320, 375, 3),
                textBox(2, 2040, 375, 4),
                textBox(3, 2760, 360, 6),
                {.kind = ControlKind::Button,
                 .name = "cmdExit",
                 .caption = "&Exit",
                 .rect = {6960, 240, 1215, 615},
                 .tabIndex = 7},
            }};
}

} // namespace zembrel
