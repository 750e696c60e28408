#pragma once

#include <cstddef>

// The sections and keys of the two settings files, shared by every subsystem that reads or
// writes one of them.
namespace zembrel::settings {
inline constexpr const char* kOpenSection = "OPEN";
inline constexpr const char* kConfigureSection = "CONFIGURE";
inline constexpr const char* kTop = "TOP";
inline constexpr const char* kLeft = "LEFT";
inline constexpr const char* kSoundOn = "SOUND_ON";
inline constexpr const char* kXerLocation = "XER_LOCATION";
inline constexpr const char* kVideoPlayer = "VIDEO_PLAYER";
inline constexpr const char* kDefaultTop = "1785";
inline constexpr const char* kDefaultLeft = "1410";
inline constexpr const char* kDefaultSoundOn = "TRUE";
// Every read passes a buffer of this size, so at most one character less arrives.
inline constexpr std::size_t kBufferSize = 1000;
} // namespace zembrel::settings
