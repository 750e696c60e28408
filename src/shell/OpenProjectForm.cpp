#include "shell/OpenProjectForm.h"

namespace zembrel {

namespace {

ControlDescription button(const char* name, const char* caption, const char* tooltip, TwipRect rect,
                          int tabIndex) {
    return {.kind = ControlKind::Button,
            .name = name,
            .caption = caption,
            .tooltip = tooltip,
            .rect = rect,
            .tabIndex = tabIndex};
}

std::vector<ControlDescription> controls() {
    return {
        button("cmdVideo", "&Video", "View a short video on how to run Gantrel.",
               {240, 0, 1215, 495}, 1),
        button("cmdAgain", "&Start Over", "Look for a new XER file.", {2040, 0, 1215, 495}, 2),
        button("Cancel", "&Done", "Exit Program", {3840, 0, 1215, 495}, 0),
        {.kind = ControlKind::Label,
         .name = "Label4",
         .caption = "File Name",
         .rect = {240, 600, 1935, 255}},
        {.kind = ControlKind::TextBox,
         .name = "txtFileName",
         .rect = {240, 840, 4815, 585},
         .tabIndex = 3,
         // It shows the current file's name; typing a new one would change nothing.
         .readOnly = true},
        // Wraps at its width; the surface turns CR LF into its line breaks.
        {.kind = ControlKind::Label,
         .name = "lblResults",
         .rect = {240, 1680, 4815, 2175},
         .multiLine = true},
        // A survey that finds records to remove enables it.
        {.kind = ControlKind::Button,
         .name = "cmdPurge",
         .caption = "Purge",
         .rect = {2040, 4080, 1215, 495},
         .tabIndex = 4,
         .enabled = false},
        // A thin bar in the gap between the results and Purge, shown while a long operation
        // runs.
        {.kind = ControlKind::ProgressBar,
         .name = "progress",
         .rect = {240, 3900, 4815, 120},
         .visible = false},
    };
}

MenuEntry separator(const char* name) {
    return {.name = name, .caption = "-", .separator = true};
}

std::vector<MenuDescription> menus() {
    return {
        {"mnuFile",
         "&File",
         {{"mnuFileVersion", "&Version"},
          {"mnuFileVideo", "Video &Player"},
          {.name = "mnuFileVoice", .caption = "&Voice Prompts", .checkable = true},
          separator("mnuFileDash"),
          {"mnuReset", "&Reset to Defaults"},
          {"mnuFileExit", "&Exit"}}},
        {"mnuHelp",
         "&Help",
         {{"mnuHelpContents", "&Contents"},
          separator("mnuHelpDash"),
          {"nmuHelpAbout", "&About Scourvane"}}},
    };
}

} // namespace

const FormDescription& openProjectForm() {
    static const FormDescription form{.name = "OpenProject",
                                      .caption = "Plovard Scourvane Plus",
                                      .clientWidth = 5280,
                                      .clientHeight = 4755,
                                      .fixedSize = true,
                                      .border = BorderStyle::Single,
                                      .controls = controls(),
                                      .menus = menus()};
    return form;
}

} // namespace zembrel
