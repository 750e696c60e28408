#include "platform/posix/PosixProfileStore.h"

#include "platform/IniText.h"
#include "platform/posix/PosixIo.h"

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace zembrel {

namespace {

// Reads a whole file; nothing when it does not exist, a failure when it cannot be read.
Outcome<std::optional<std::string>> readWhole(const std::string& path) {
    const Descriptor fd = openDescriptor(path, O_RDONLY);
    if (!fd.valid()) {
        if (errno == ENOENT)
            return std::optional<std::string>();
        return failureFromErrno(errno, path);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return makeFailure(failure::PathFileAccessError);
    std::string text;
    char buffer[16384];
    for (;;) {
        const auto n = readSome(fd, buffer, sizeof buffer, path);
        if (!n)
            return n.failure();
        if (*n == 0)
            return std::optional<std::string>(std::move(text));
        text.append(buffer, *n);
    }
}

// The file that a write must replace: the target of a symbolic link, so that the link stays.
std::string resolved(const std::string& path) {
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer) != nullptr)
        return buffer;
    return path;
}

mode_t modeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// The mode that the new text keeps: the existing file's, or a new file's. A read-only file
// stays as it is, although its folder would let it be replaced.
Outcome<mode_t> modeToKeep(const std::string& path, bool exists) {
    if (!exists)
        return modeForNewFile();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return failureFromErrno(errno, path);
    if ((st.st_mode & 0222) == 0)
        return makeFailure(failure::PermissionDenied);
    if (::access(path.c_str(), W_OK) != 0)
        return failureFromErrno(errno, path);
    return static_cast<mode_t>(st.st_mode & 07777);
}

Status writeTemporary(Descriptor& fd, const std::string& temp, std::string_view text, mode_t mode) {
    Status status = writeAll(fd, text, temp);
    if (status && ::fchmod(fd.get(), mode) != 0)
        status = failureFromErrno(errno, temp);
    if (status && ::fsync(fd.get()) != 0)
        status = failureFromErrno(errno, temp);
    const Status closed = fd.close(temp);
    return status ? closed : status;
}

// Writes text under a temporary name beside path and renames it into place, so that a crash
// leaves either the old file or the new one, never a part of it.
Status replaceFile(const std::string& path, std::string_view text, mode_t mode) {
    std::string temp = path + ".XXXXXX";
    Descriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.valid())
        return failureFromErrno(errno, path);
    Status status = writeTemporary(fd, temp, text, mode);
    if (status && ::rename(temp.c_str(), path.c_str()) != 0)
        status = failureFromErrno(errno, path);
    if (!status) {
        ::unlink(temp.c_str());
        return status;
    }
    // The rename itself lasts only once the folder is on disk.
    if (const Descriptor folder = openDescriptor(parentFolder(path), O_RDONLY | O_DIRECTORY);
        folder.valid())
        ::fsync(folder.get());
    return {};
}

} // namespace

std::string PosixProfileStore::getString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, std::size_t bufferSize,
                                         const std::string& file) {
    const auto text = readWhole(file);
    std::optional<std::string_view> content;
    if (text && *text)
        content = **text;
    return ini::valueOf(content, section, key, defaultValue, bufferSize);
}

Status PosixProfileStore::writeString(const std::string& section, const std::string& key,
                                      const std::string& value, const std::string& file) {
    if (!ini::isWritable(section, key, value))
        return makeFailure(failure::InvalidCall);
    if (file.empty())
        return makeFailure(failure::BadFileName);

    const std::string target = resolved(file);
    const auto text = readWhole(target);
    if (!text)
        return text.failure();
    const bool exists = text->has_value();
    const auto mode = modeToKeep(target, exists);
    if (!mode)
        return mode.failure();
    const std::string old = exists ? **text : std::string();
    const std::string updated = ini::withValue(old, section, key, value);
    if (exists && updated == old)
        return {};
    return replaceFile(target, updated, *mode);
}

} // namespace zembrel
