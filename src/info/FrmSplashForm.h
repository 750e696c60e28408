#pragma once

#include "core/Form.h"

namespace zembrel {

// The splash window: borderless, the picture at its top left and the version line.
const FormDescription& frmSplashForm();

} // namespace zembrel
