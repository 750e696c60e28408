#pragma once

#include <string>

namespace zembrel {

// What the logic changes in the main window. The window implements it with real widgets; tests
// and the command-line companion with plain records.
class MainSurface {
public:
    virtual ~MainSurface() = default;

    virtual void setResults(const std::string& text) = 0;
    // Paints the results label now, for a text that must show before the next long step.
    virtual void redrawResults() {}
    // Purge's state as the commands decide it from the last survey and the running operation.
    virtual void setPurgeEnabled(bool enabled) = 0;
    virtual void setPurgeCaption(const std::string& caption) = 0;
    virtual void setDoneEnabled(bool enabled) = 0;
    virtual void setFileName(const std::string& name) = 0;

    // The window's top and left position in twips (1/1440 inch).
    virtual void setPosition(float top, float left) = 0;
    virtual float top() const = 0;
    virtual float left() const = 0;
    // The check mark of "&Voice Prompts".
    virtual void setVoiceChecked(bool checked) = 0;
};

} // namespace zembrel
