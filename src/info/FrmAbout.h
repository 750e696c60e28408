#pragma once

#include "core/Form.h"
#include "core/FormSurface.h"

namespace zembrel {

namespace about_text {
inline constexpr const char* kTitle =
    "Plovard Scourvane Plus takes the unused POBS records out of the XER files of Primavera P6 "
    "versions 5.0 to 25.x.";
inline constexpr const char* kDisclaimer =
    "This program is provided as is, without warranty of any kind.  Keep a copy of every XER "
    "file before you import a purged one.";
} // namespace about_text

// The About window: the product icon, its title, the version in a frame, an etched separator,
// the legal warning, OK (default and cancel button) and "&System Info...".
const FormDescription& frmAboutForm();

// On opening: the caption, the build number and the version.
void OpenAbout(FormSurface& window);

} // namespace zembrel
