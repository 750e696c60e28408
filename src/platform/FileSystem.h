#pragma once

#include "platform/Failure.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zembrel {

// What makes two names the same file, whatever their spelling or the links between them: the
// device and inode on POSIX systems, the volume serial number and file index on Windows.
struct FileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileId&) const = default;
};

// A file opened for sequential reading in blocks.
class ReadFile {
public:
    virtual ~ReadFile() = default;
    // Reads up to size bytes; 0 bytes means the end of the file.
    virtual Outcome<std::size_t> read(char* buffer, std::size_t size) = 0;
    // Moves the read position to an absolute byte offset.
    virtual Status seek(std::uint64_t offset) = 0;
    // The file's length when it was opened.
    virtual std::uint64_t size() const = 0;
    virtual std::optional<FileId> id() const = 0;
    // The permission bits that a copy of this file gets (before the umask), where the platform
    // has such bits.
    virtual std::optional<std::uint32_t> permissions() const { return std::nullopt; }
};

// A file opened for sequential writing.
class WriteFile {
public:
    virtual ~WriteFile() = default;
    virtual Status write(const char* data, std::size_t size) = 0;
    // Whether writing behind on a thread of its own pays: the system's copy of the bytes into
    // the file then runs on a second processor while this one goes on with the next ones.
    virtual bool worthWritingBehind() const { return false; }
};

// A new file in a folder that has no name of its own until keepAs() gives it one: a failure, a
// stop or a crash before then leaves nothing behind under any name the user sees.
class ScratchFile : public WriteFile {
public:
    // A reader of everything written so far, through this file's own handle: what another
    // process puts under any name meanwhile cannot come between.
    virtual Outcome<std::unique_ptr<ReadFile>> readBack() = 0;
    // About size bytes are coming: where the file system can, room for them is set aside at
    // once rather than page by page as they are written. Room not written is given back when
    // the file is read back or kept. No room, no failure: the writes go on as without.
    virtual void reserve(std::uint64_t size) = 0;
    // Puts the file under its name in its folder. With Replace::Yes a file of that name is
    // replaced in one step; with Replace::No one that stands there (or appears meanwhile) stays,
    // and the failure is FileAlreadyExists. The file stays open for readBack().
    enum class Replace { No, Yes };
    virtual Status keepAs(const std::string& path, Replace replace) = 0;
};

// A file opened for reading and writing single bytes at a position (the in-place repair).
class ByteFile {
public:
    virtual ~ByteFile() = default;
    virtual Outcome<std::size_t> readAt(std::uint64_t offset, char* buffer, std::size_t size) = 0;
    virtual Status writeAt(std::uint64_t offset, const char* data, std::size_t size) = 0;
};

// What a name stands for, without following a symbolic link: a regular file, a folder, a link
// (or on Windows any reparse point), or anything else (a FIFO, a socket, a device, a hidden or
// system file on Windows).
enum class EntryKind { None, File, Folder, Link, Other };

// Everything the logic does with files and folders. Paths are the platform's byte strings.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // A normal file: a regular file (on Windows one without the hidden or system attribute).
    virtual bool fileExists(const std::string& path) = 0;
    virtual bool folderExists(const std::string& path) = 0;
    virtual EntryKind entryKind(const std::string& path) = 0;
    // The file a name reaches (following links), or nothing when it reaches none.
    virtual std::optional<FileId> fileId(const std::string& path) = 0;

    // Both open regular files only: anything else (a FIFO, a device, a folder) is refused at
    // once with PathFileAccessError, never waited on.
    virtual Outcome<std::unique_ptr<ReadFile>> openRead(const std::string& path) = 0;
    virtual Outcome<std::unique_ptr<ByteFile>> openReadWrite(const std::string& path) = 0;
    // permissions: the bits the new file gets, masked by the umask as a new file's are.
    virtual Outcome<std::unique_ptr<ScratchFile>>
    createScratch(const std::string& folder, std::optional<std::uint32_t> permissions) = 0;
    // Whether a new file could be put under path: its name fits the folder's limits, it is not
    // a folder (or a link to one), and the folder takes new files. The failure is the one the
    // making of the file would meet.
    virtual Status canCreate(const std::string& path) = 0;

    // The names in a folder (without "." and ".."), in no particular order, or why it cannot
    // be read.
    virtual Outcome<std::vector<std::string>> folderEntries(const std::string& folder) = 0;

    virtual Status remove(const std::string& path) = 0;
    // Creates one folder level; its parent must exist.
    virtual Status createFolder(const std::string& path) = 0;
};

} // namespace zembrel
