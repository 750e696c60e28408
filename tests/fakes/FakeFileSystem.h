#pragma once

#include "platform/FileSystem.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace zembrel::test {

// An in-memory file system with failures on demand. Files are byte strings; folders are the
// names in folders (the root "" always exists). Open handles see the file's content live.
class FakeFileSystem final : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;

    // Failures to inject: each, when set, is returned by the named operation for any path for
    // which the predicate (when given) holds.
    std::optional<Failure> failOpenRead, failOpenReadWrite, failCreate, failRemove, failRename,
        failCopy, failCreateFolder, failWriteAt, failLength;
    // Reads fail with this failure once this many bytes of a file have been read.
    std::optional<std::pair<std::size_t, Failure>> failReadAfter;
    // Writes fail with disk full once the file system holds this many bytes in all.
    std::optional<std::size_t> capacity;
    std::function<bool(const std::string&)> failOnlyFor;
    // Called on every open for reading (lets a test change files "meanwhile").
    std::function<void(const std::string&)> onOpenRead;

    int openHandles = 0;
    int readCalls = 0;

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

    std::size_t totalBytes() const;
    bool applies(const std::optional<Failure>& f, const std::string& path) const {
        return f && (!failOnlyFor || failOnlyFor(path));
    }
};

} // namespace zembrel::test
