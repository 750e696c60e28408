#pragma once

#include "core/Form.h"

namespace zembrel {

// The main window: four buttons, the file name, the results label and the File and Help menus.
const FormDescription& openProjectForm();

// Where a long operation shows its progress: a thin bar in the gap between the results label and
// Purge, outside the controls of the form.
inline constexpr TwipRect kProgressRect{240, 3900, 4815, 120};

} // namespace zembrel
