#pragma once

#include "core/MainSurface.h"
#include "ui/win32/Win32Window.h"

namespace zembrel {

class MainCommands;

// The main window, built from its description. Its position is that of its outer frame in
// twips, at the system's dots per inch; a position that shows no part of its title bar on any
// screen is moved onto the nearest one when the window is shown.
class Win32OpenProject final : public Win32Window, public MainSurface {
public:
    Win32OpenProject();
    // The progress bar below the results, hidden while no long operation runs.
    HWND progressBar() const { return control("progress"); }

    // Connects the buttons, the menus and the window's close to the commands.
    void attach(MainCommands& commands);
    // Shows the window and makes it the active one.
    void show();

    void setResults(const std::string& text) override;
    void redrawResults() override;
    void setControlEnabled(std::string_view name, bool enabled) override;
    void setPurgeCaption(const std::string& caption) override;
    void setFileName(const std::string& name) override;
    void setProgress(std::optional<int> thousandths) override;
    void closeWindow() override { close(); }
    void setPosition(float top, float left) override;
    float top() const override;
    float left() const override;
    void setVoiceChecked(bool checked) override;

protected:
    // A drop of one file is chosen as the dialog would choose it; other drops are ignored.
    std::optional<LRESULT> handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void keepReachable() const;

    MainCommands* m_commands = nullptr;
    // The position as the settings gave it: read back unchanged while the window stays there.
    float m_topTwips = 0;
    float m_leftTwips = 0;
};

} // namespace zembrel
