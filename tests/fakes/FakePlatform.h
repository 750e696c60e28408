#pragma once

#include "fakes/FakeFileSystem.h"
#include "fakes/FakeUi.h"

namespace zembrel::test {

// Every platform service as a fake, and the Platform that hands them to the logic.
struct FakePlatform {
    FakeFileSystem files;
    FakeBoxes boxes;
    FakeEvents events;
    FakePointer pointer;
    Platform platform{files, boxes, events, pointer};
};

} // namespace zembrel::test
