#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zembrel {

// What the logic changes in the main window. The window implements it with real widgets; tests
// and the command-line companion with plain records. The logic decides every state shown here;
// the window only draws it.
class MainSurface {
public:
    virtual ~MainSurface() = default;

    virtual void setResults(const std::string& text) = 0;
    // Paints the results label now, for a text that must show before the next long step.
    virtual void redrawResults() {}
    // A control or menu entry, by its name, usable or greyed.
    virtual void setControlEnabled(std::string_view name, bool enabled) = 0;
    virtual void setPurgeCaption(const std::string& caption) = 0;
    virtual void setFileName(const std::string& name) = 0;
    // The progress bar: the part done in thousandths, or hidden.
    virtual void setProgress(std::optional<int> thousandths) = 0;
    // Closes the window as its close box does (the commands decide whether it may).
    virtual void closeWindow() = 0;

    // The window's top and left position in twips (1/1440 inch).
    virtual void setPosition(float top, float left) = 0;
    virtual float top() const = 0;
    virtual float left() const = 0;
    // The check mark of "&Voice Prompts".
    virtual void setVoiceChecked(bool checked) = 0;
};

} // namespace zembrel
