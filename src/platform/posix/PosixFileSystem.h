#pragma once

#include "platform/FileSystem.h"

namespace zembrel {

// Files and folders through the POSIX calls; OS error codes become the common failure numbers.
// A scratch file is an unnamed file (O_TMPFILE) where the file system offers one, else a
// hidden temporary name that is removed on failure and on interruption.
class PosixFileSystem final : public FileSystem {
public:
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    EntryKind entryKind(const std::string& path) override;
    std::optional<FileId> fileId(const std::string& path) override;
    Outcome<std::unique_ptr<ReadFile>> openRead(const std::string& path) override;
    Outcome<std::unique_ptr<ByteFile>> openReadWrite(const std::string& path) override;
    Outcome<std::unique_ptr<ScratchFile>>
    createScratch(const std::string& folder, std::optional<std::uint32_t> permissions) override;
    Status canCreate(const std::string& path) override;
    Outcome<std::vector<std::string>> folderEntries(const std::string& folder) override;
    Status remove(const std::string& path) override;
    Status createFolder(const std::string& path) override;

    // Tests turn the unnamed files off, to try the hidden names that other file systems get.
    bool useUnnamedFiles = true;
};

} // namespace zembrel
