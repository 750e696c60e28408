#include "shell/Settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace zembrel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t digitsFrom(const std::string& text, std::size_t i) {
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

std::string read(ProfileStore& profile, const char* section, const char* key,
                 const std::string& defaultValue, const std::string& file) {
    return profile.getString(section, key, defaultValue, settings::kBufferSize, file);
}

} // namespace

std::optional<float> leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t start = i;
    const std::size_t integerEnd = digitsFrom(text, start);
    std::size_t end = integerEnd;
    std::size_t fractionEnd = integerEnd;
    if (end < text.size() && text[end] == '.') {
        fractionEnd = digitsFrom(text, end + 1);
        end = fractionEnd;
    }
    if (integerEnd == start && fractionEnd <= integerEnd + 1)
        return 0.0f;
    long exponent = 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        const bool negativeExponent = e < text.size() && text[e] == '-';
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        const std::size_t exponentEnd = digitsFrom(text, e);
        if (exponentEnd > e) {
            for (std::size_t d = e; d < exponentEnd; ++d)
                exponent = std::min(exponent * 10 + (text[d] - '0'), 100000L);
            if (negativeExponent)
                exponent = -exponent;
            end = exponentEnd;
        }
    }
    // The decimal order of magnitude decides overflow before any conversion does.
    const std::size_t firstSignificant = text.find_first_not_of("0.", start);
    if (firstSignificant == std::string::npos || firstSignificant >= end ||
        !isDigit(text[firstSignificant]))
        return 0.0f;
    const long order =
        firstSignificant < integerEnd
            ? static_cast<long>(integerEnd - firstSignificant) + exponent
            : static_cast<long>(integerEnd + 1) - static_cast<long>(firstSignificant) + exponent;
    if (order > 40)
        return std::nullopt;
    if (order < -50)
        return 0.0f;
    // from_chars ignores the locale, which a window program may have set for numbers.
    double value = 0;
    const auto [ptr, error] = std::from_chars(text.data() + start, text.data() + end, value);
    if (error != std::errc() || ptr != text.data() + end)
        return std::nullopt;
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    const auto single = static_cast<float>(negative ? -value : value);
    // "-0" is the position 0.
    return single == 0.0f ? 0.0f : single;
}

std::string positionText(float value) {
    if (value == 0.0f)
        value = 0.0f;
    char digits[64];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    std::string text(digits, result.ptr);
    return value < 0 ? text : " " + text;
}

bool writeSetting(ProfileStore& profile, const std::string& section, const std::string& key,
                  const std::string& value, const std::string& file) {
    return profile.writeString(section, key, value, file).ok();
}

void ReadSettings(AppState& state, MainSurface& window, ProfileStore& profile,
                  const PathRules& paths) {
    using namespace settings;
    const std::string top = read(profile, kOpenSection, kTop, kDefaultTop, state.SettingsFile);
    if (!top.empty()) {
        if (const auto value = leadingNumber(top))
            window.setPosition(*value, window.left());
    }
    const std::string left = read(profile, kOpenSection, kLeft, kDefaultLeft, state.SettingsFile);
    if (!left.empty()) {
        if (const auto value = leadingNumber(left))
            window.setPosition(window.top(), *value);
    }
    const std::string sound =
        read(profile, kConfigureSection, kSoundOn, kDefaultSoundOn, state.SuiteSettingsFile);
    if (!sound.empty())
        state.SoundOn = sound != "FALSE";
    const std::string folder = read(profile, kConfigureSection, kXerLocation,
                                    paths.defaultXerFolder, state.SuiteSettingsFile);
    if (!folder.empty())
        state.XerFolder = folder;
}

void ResetSettings(AppState& state, MainSurface& window, ProfileStore& profile,
                   Platform& platform) {
    FileSystem& files = platform.files;
    MessageBoxes& boxes = platform.boxes;
    if (boxes.show("Are you sure that you want to reset all program settings?",
                   MessageButtons::YesNo, MessageIcon::Question, kAppTitle) != MessageAnswer::Yes)
        return;
    if (files.fileExists(state.SettingsFile)) {
        // A settings file that stays would bring the old position back: say so rather than
        // report a reset that did not happen.
        if (const Status removed = files.remove(state.SettingsFile); !removed) {
            boxes.show(errorText(removed.failure()) + ".", MessageButtons::Ok, MessageIcon::None,
                       kAppTitle);
            return;
        }
    }
    ReadSettings(state, window, profile, platform.paths);
    window.setVoiceChecked(state.SoundOn);
    boxes.show("Program settings have been reset.", MessageButtons::Ok, MessageIcon::Information,
               kAppTitle);
}

void SaveWindowPosition(const AppState& state, const MainSurface& window, ProfileStore& profile) {
    using namespace settings;
    // A position that is not a number would read back as something else: leave the old one.
    if (std::isfinite(window.top()))
        writeSetting(profile, kOpenSection, kTop, positionText(window.top()), state.SettingsFile);
    if (std::isfinite(window.left()))
        writeSetting(profile, kOpenSection, kLeft, positionText(window.left()), state.SettingsFile);
}

} // namespace zembrel
