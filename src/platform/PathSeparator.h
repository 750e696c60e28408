#pragma once

#include "platform/Text.h"

namespace zembrel {

// The character that separates folders in the platform's paths.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

} // namespace zembrel
