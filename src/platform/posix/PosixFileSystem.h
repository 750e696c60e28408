#pragma once

#include "platform/FileSystem.h"

namespace zembrel {

// Files and folders through the POSIX calls; OS error codes become the common failure numbers.
class PosixFileSystem final : public FileSystem {
public:
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    Outcome<std::uint64_t> fileLength(const std::string& path) override;
    Outcome<std::unique_ptr<ReadFile>> openRead(const std::string& path) override;
    Outcome<std::unique_ptr<ByteFile>> openReadWrite(const std::string& path) override;
    Outcome<std::unique_ptr<WriteFile>> create(const std::string& path) override;
    Outcome<std::unique_ptr<WriteFile>> createNew(const std::string& path) override;
    Status remove(const std::string& path) override;
    Status rename(const std::string& from, const std::string& to) override;
    Status copy(const std::string& from, const std::string& to) override;
    Status createFolder(const std::string& path) override;
};

} // namespace zembrel
