#pragma once

#include "BlockSizes.h"
#include "XerText.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zembrel::test {

// The user's file in the suites of the survey, the purge and the census.
inline const std::string kPlanPath = "/jobs/PLAN.XER";

// A suite that runs at each read-block size over the fake platform.
class BlockSuite : public ::testing::TestWithParam<std::size_t> {
protected:
    using Op = FakeFileSystem::Op;
    using Lines = std::vector<std::string>;

    BlockSuite() { fake.platform.blockSize = GetParam(); }
    std::string& file(const std::string& path = kPlanPath) { return fake.files.files[path]; }

    FakePlatform fake;
};

} // namespace zembrel::test
