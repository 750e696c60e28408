#pragma once

#include "core/Form.h"

namespace zembrel {

// The main window: four buttons, the file name, the results label and the File and Help menus.
const FormDescription& openProjectForm();

} // namespace zembrel
