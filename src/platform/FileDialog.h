#pragma once

#include <optional>
#include <string>

namespace zembrel {

// What an open-file dialog is asked to show.
struct FileDialogOptions {
    std::string initialFolder;
    // Pairs of description and patterns, "|"-separated: "P6 XER Files|*.XER". Patterns match
    // names in any letter case, as on Windows.
    std::string filter;
    bool fileMustExist = true;
    // No "Open as read-only" check box, where the platform's dialog would show one.
    bool hideReadOnly = false;
    // Long file names, where the platform's dialog would otherwise show short ones.
    bool longNames = false;
    std::string title;
    // The help file behind the dialog's Help button, where the platform's dialog has one.
    std::string helpFile;
};

// The Windows open-file flags (OFN_...) that the options ask for: what the native dialog is given.
inline unsigned long openFileNameFlags(const FileDialogOptions& options) {
    return (options.hideReadOnly ? 0x4ul : 0ul) | (options.helpFile.empty() ? 0ul : 0x10ul) |
           (options.fileMustExist ? 0x1000ul : 0ul) | (options.longNames ? 0x200000ul : 0ul);
}

// The file the user chose: its full path and its name without the folder, both as the dialog
// gave them.
struct FileChoice {
    std::string path;
    std::string name;
};

// The platform's modal open-file dialog.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The chosen file, or nothing when the user cancelled or the dialog could not be shown.
    virtual std::optional<FileChoice> open(const FileDialogOptions& options) = 0;
};

} // namespace zembrel
