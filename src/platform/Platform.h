#pragma once

#include "platform/FileSystem.h"
#include "platform/Ui.h"

namespace zembrel {

// The platform services an operation may use, handed in by the program (real back ends) or by a
// test (fakes). The referenced objects outlive every operation.
struct Platform {
    FileSystem& files;
    MessageBoxes& boxes;
    EventPump& events;
    BusyPointer& pointer;
};

} // namespace zembrel
