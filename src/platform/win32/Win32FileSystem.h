#pragma once

#include "platform/FileSystem.h"
#include "platform/win32/Win32Errors.h"

namespace zembrel {

// Files and folders through the Win32 file API, with 64-bit offsets. A scratch file is a new file
// under a short hidden-to-the-user name (".zbp-….tmp") in its folder, deleted unless it is kept;
// a kept file is renamed while open (it was opened allowing that). Windows error codes become
// the common failure numbers.
class Win32FileSystem final : public FileSystem {
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
};

// Ctrl+C, Ctrl+Break and closing the console delete the scratch files not yet kept.
void removeScratchFilesOnInterrupt();

} // namespace zembrel
