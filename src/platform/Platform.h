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
    // Blocks of a page less than 1 MiB. Each write to a file has a cost of its own: four times
    // as many writes of 256 KiB made a purge of 1 GiB 15 % slower on Linux and ext4. Writes of
    // exactly 1 MiB at 1 MiB boundaries, though, made a pass whose input had just been written
    // (the intermediate file; a file still being written back) three to seven times slower, all
    // of it in the kernel's copy into the new file's pages; a page less does not.
    static constexpr std::size_t kDefaultBlockSize = (1 << 20) - 4096;

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
