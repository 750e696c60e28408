#pragma once

#include <string>

namespace zembrel {

// What the logic changes in a window built from its description: the caption and the texts of
// its controls, found by their keys ("lblVersion", "Option1(2)").
class FormSurface {
public:
    virtual ~FormSurface() = default;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setText(const std::string& key, const std::string& text) = 0;
    virtual std::string text(const std::string& key) const = 0;
};

} // namespace zembrel
