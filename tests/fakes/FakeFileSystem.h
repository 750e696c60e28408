#pragma once

#include "platform/FileSystem.h"

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace zembrel::test {

// An in-memory file system with failures on demand. Files are byte strings; folders are the
// names in folders (the root "" always exists). Open handles of named files see the file's
// content live; a scratch file keeps its bytes to itself until it is kept under a name.
class FakeFileSystem final : public FileSystem {
public:
    // ReadBack opens a scratch file for reading; Keep renames one into place, the moment its
    // content counts.
    // clang-format off
    enum class Op { OpenRead, OpenReadWrite, CreateScratch, ReadBack, Read, ReadAt, Seek, Write,
                    WriteAt, Keep, Remove, CanCreate };
    // clang-format on

    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> others; // neither files nor folders: FIFOs, devices
    // Files too big to hold, opened for reading from a generator; each needs an entry in files
    // (empty) to be there at all.
    std::map<std::string, std::function<std::unique_ptr<ReadFile>()>> generated;

    // Asked before every operation with the path it works on (a scratch file's folder): a
    // failure to return instead, or nothing. A read asks with the byte offset at which it
    // starts (a seek with the offset it goes to), a write with the length the file would have
    // after it, so that a failure can come in the middle of a file.
    std::function<std::optional<Failure>(Op, const std::string& path, std::uint64_t offset)>
        failWith;
    // Fails every call of op from byte offset `from` on, on any path or on the one given.
    void fail(Op op, int f, std::uint64_t from = 0, const std::string& path = {}) {
        failWith = [=](Op o, const std::string& p, std::uint64_t at) {
            return o == op && at >= from && (path.empty() || p == path)
                       ? std::optional<Failure>(makeFailure(f))
                       : std::nullopt;
        };
    }

    int openHandles = 0;
    std::uint64_t bytesRead = 0;
    // Files written behind on threads of their own, as on two processors; the handles'
    // operations then take turns.
    bool threads = false;
    std::recursive_mutex mutex;

    bool fileExists(const std::string& path) override { return files.count(path) > 0; }
    bool folderExists(const std::string& path) override {
        return path.empty() || folders.count(path) > 0;
    }
    EntryKind entryKind(const std::string& path) override;
    std::optional<FileId> fileId(const std::string& path) override;
    Outcome<std::unique_ptr<ReadFile>> openRead(const std::string& path) override;
    Outcome<std::unique_ptr<ByteFile>> openReadWrite(const std::string& path) override;
    Outcome<std::unique_ptr<ScratchFile>>
    createScratch(const std::string& folder, std::optional<std::uint32_t> permissions) override;
    Status canCreate(const std::string& path) override;
    // No test lists a folder through the fake: the companion lists real ones.
    Outcome<std::vector<std::string>> folderEntries(const std::string&) override {
        return std::vector<std::string>{};
    }
    Status remove(const std::string& path) override;
    Status createFolder(const std::string& path) override;

    std::optional<Failure> failureOf(Op op, const std::string& path, std::uint64_t offset = 0) {
        return failWith ? failWith(op, path, offset) : std::nullopt;
    }
};

} // namespace zembrel::test
