#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace zembrel::test {

// The read-block sizes that the survey and purge suites run at: lines, line ends and SUB bytes
// then fall inside blocks and across them, wherever they lie.
inline constexpr std::size_t kBlockSizes[] = {1, 7, 64, 1024, 7 * 1024, 256 * 1024};

// At some of them files are also written behind on threads of their own, as on two processors
// (not at the smallest, where the threads would take turns at every byte).
inline bool withThreads(std::size_t blockSize) {
    return blockSize == 64 || blockSize == 7 * 1024;
}

inline std::string blockSizeName(const ::testing::TestParamInfo<std::size_t>& info) {
    return "Block" + std::to_string(info.param);
}

} // namespace zembrel::test
