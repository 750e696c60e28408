#pragma once

#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Ui.h"

#include <cstddef>
#include <utility>

namespace zembrel {

// The platform services an operation may use, handed in by the program (real back ends) or by a
// test (fakes). The referenced objects outlive every operation.
struct Platform {
    static constexpr std::size_t kDefaultBlockSize = 256 * 1024;

    Platform(FileSystem& f, MessageBoxes& b, EventPump& e, BusyPointer& p,
             std::size_t block = kDefaultBlockSize, PathRules rules = {})
        : files(f), boxes(b), events(e), pointer(p), blockSize(block), paths(std::move(rules)) {}

    FileSystem& files;
    MessageBoxes& boxes;
    EventPump& events;
    BusyPointer& pointer;
    // The size of the blocks in which files are read and written.
    std::size_t blockSize = kDefaultBlockSize;
    PathRules paths;
};

} // namespace zembrel
