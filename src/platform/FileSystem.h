#pragma once

#include "platform/Failure.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace zembrel {

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
};

// A file opened for sequential writing. Closing reports what the last writes did not.
class WriteFile {
public:
    virtual ~WriteFile() = default;
    virtual Status write(const char* data, std::size_t size) = 0;
    virtual Status close() = 0;
};

// A file opened for reading and writing single bytes at a position (the in-place repair).
class ByteFile {
public:
    virtual ~ByteFile() = default;
    virtual Outcome<std::size_t> readAt(std::uint64_t offset, char* buffer, std::size_t size) = 0;
    virtual Status writeAt(std::uint64_t offset, const char* data, std::size_t size) = 0;
    virtual Status close() = 0;
};

// Everything the logic does with files and folders. Paths are the platform's byte strings.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // A normal file: a regular file (on Windows one without the hidden or system attribute).
    virtual bool fileExists(const std::string& path) = 0;
    virtual bool folderExists(const std::string& path) = 0;
    virtual Outcome<std::uint64_t> fileLength(const std::string& path) = 0;

    virtual Outcome<std::unique_ptr<ReadFile>> openRead(const std::string& path) = 0;
    virtual Outcome<std::unique_ptr<ByteFile>> openReadWrite(const std::string& path) = 0;
    // Creates the file, emptying an existing one.
    virtual Outcome<std::unique_ptr<WriteFile>> create(const std::string& path) = 0;
    // Creates the file only when nothing of that name exists (failure 58 otherwise).
    virtual Outcome<std::unique_ptr<WriteFile>> createNew(const std::string& path) = 0;

    virtual Status remove(const std::string& path) = 0;
    // Renames, replacing an existing file of the new name.
    virtual Status rename(const std::string& from, const std::string& to) = 0;
    // Copies a whole file byte for byte onto a new name, replacing an existing file.
    virtual Status copy(const std::string& from, const std::string& to) = 0;
    // Creates one folder level; its parent must exist.
    virtual Status createFolder(const std::string& path) = 0;
};

} // namespace zembrel
