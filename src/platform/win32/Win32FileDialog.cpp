#include "platform/win32/Win32FileDialog.h"

// windows.h first: the other Windows headers need its types.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

namespace zembrel {

namespace {

constexpr UINT_PTR kHelpListener = 1;

struct HelpRequest {
    HelpViewer* help;
    std::string file;
    UINT message;
};

// Listens to the owner for the dialog's help request (HELPMSGSTRING).
LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR data) {
    const auto* request = reinterpret_cast<const HelpRequest*>(data);
    if (message == request->message) {
        request->help->showContents(request->file);
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

std::string openFileNameFilter(const std::string& filter) {
    std::string nul = filter;
    for (char& c : nul)
        if (c == '|')
            c = '\0';
    nul.push_back('\0');
    nul.push_back('\0');
    return nul;
}

std::optional<FileChoice> Win32FileDialog::open(const FileDialogOptions& options) {
    const std::string filter = openFileNameFilter(options.filter);
    std::vector<char> path(32768, '\0');
    std::vector<char> name(MAX_PATH + 1, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = static_cast<HWND>(m_owner ? m_owner() : nullptr);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrFileTitle = name.data();
    dialog.nMaxFileTitle = static_cast<DWORD>(name.size());
    dialog.lpstrInitialDir =
        options.initialFolder.empty() ? nullptr : options.initialFolder.c_str();
    dialog.lpstrTitle = options.title.empty() ? nullptr : options.title.c_str();
    dialog.Flags = openFileNameFlags(options);
    HelpRequest request{&m_help, options.helpFile, RegisterWindowMessageA(HELPMSGSTRINGA)};
    const bool listening = dialog.hwndOwner && !options.helpFile.empty() &&
                           SetWindowSubclass(dialog.hwndOwner, ownerProc, kHelpListener,
                                             reinterpret_cast<DWORD_PTR>(&request));
    const BOOL chosen = GetOpenFileNameA(&dialog);
    if (listening)
        RemoveWindowSubclass(dialog.hwndOwner, ownerProc, kHelpListener);
    if (!chosen)
        return std::nullopt;
    return FileChoice{path.data(), name.data()};
}

} // namespace zembrel
