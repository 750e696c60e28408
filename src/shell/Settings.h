#pragma once

#include "core/AppState.h"
#include "core/MainSurface.h"
#include "core/SettingsKeys.h"
#include "platform/Platform.h"
#include "platform/ProfileStore.h"
#include "platform/Ui.h"

#include <cstddef>
#include <optional>
#include <string>

namespace zembrel {

// Reads the window position from SettingsFile and SoundOn and XerFolder from SuiteSettingsFile,
// applying each key right after reading it. A key present with an empty value, or a position
// the window cannot take, leaves the setting as it was.
void ReadSettings(AppState& state, MainSurface& window, ProfileStore& profile,
                  const PathRules& paths);

// "&Reset to Defaults": after a Yes deletes SettingsFile, reads the settings again and sets the
// check mark of "&Voice Prompts".
void ResetSettings(AppState& state, MainSurface& window, ProfileStore& profile, Platform& platform);

// At shut-down: TOP and LEFT of section OPEN in SettingsFile.
void SaveWindowPosition(const AppState& state, const MainSurface& window, ProfileStore& profile);

// Writes one key. False when not written, as when the store refuses a value holding a line end,
// which would break the file into lines of its own and could change other keys.
bool writeSetting(ProfileStore& profile, const std::string& section, const std::string& key,
                  const std::string& value, const std::string& file);

// The number that a text begins with (blanks, sign, digits, decimal point, exponent; 0 when the
// text begins with none), as a window position in single precision; nothing when the number
// does not fit one.
std::optional<float> leadingNumber(const std::string& text);

// A position as the settings file keeps it: one blank before a number that is not negative, a
// minus sign before one that is, and a fraction only when there is one (" 1785", "-20", " 7.5").
std::string positionText(float value);

} // namespace zembrel
