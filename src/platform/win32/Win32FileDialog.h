#pragma once

#include "platform/FileDialog.h"
#include "platform/HelpViewer.h"

#include <functional>
#include <utility>

namespace zembrel {

// The filter of GetOpenFileNameA from "description|patterns|…": each "|" becomes a NUL, and
// the list ends in two NULs.
std::string openFileNameFilter(const std::string& filter);

// The common open-file dialog, GetOpenFileNameA, with the flags the options ask for. Its Help
// button opens the options' help file in the help viewer: the dialog asks its owner window for
// help, so the owner is listened to while the dialog is up.
class Win32FileDialog final : public FileDialog {
public:
    // owner gives the window (HWND) that owns the dialog at the time it opens, or null.
    Win32FileDialog(HelpViewer& help, std::function<void*()> owner)
        : m_help(help), m_owner(std::move(owner)) {}

    std::optional<FileChoice> open(const FileDialogOptions& options) override;

private:
    HelpViewer& m_help;
    std::function<void*()> m_owner;
};

} // namespace zembrel
