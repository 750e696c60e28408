#include "platform/posix/PosixIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace zembrel {

Descriptor::~Descriptor() {
    if (m_fd >= 0)
        ::close(m_fd);
}

Descriptor::Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

Status Descriptor::close(const std::string& path) {
    if (m_fd < 0)
        return {};
    // Never retried: after EINTR the descriptor is gone on Linux and may be reused already.
    if (::close(std::exchange(m_fd, -1)) != 0 && errno != EINTR)
        return failureFromErrno(errno, path);
    return {};
}

Descriptor openDescriptor(const std::string& path, int flags, mode_t mode) {
    return Descriptor(
        retryOnInterrupt([&] { return ::open(path.c_str(), flags | O_CLOEXEC, mode); }));
}

Outcome<std::size_t> readSome(const Descriptor& fd, char* buffer, std::size_t size,
                              const std::string& path, std::optional<std::uint64_t> offset) {
    const ssize_t n = retryOnInterrupt([&] {
        return offset ? ::pread(fd.get(), buffer, size, static_cast<off_t>(*offset))
                      : ::read(fd.get(), buffer, size);
    });
    if (n < 0)
        return failureFromErrno(errno, path);
    return static_cast<std::size_t>(n);
}

Status writeAll(const Descriptor& fd, std::string_view data, const std::string& path,
                std::optional<std::uint64_t> offset) {
    while (!data.empty()) {
        const ssize_t n = retryOnInterrupt([&] {
            return offset
                       ? ::pwrite(fd.get(), data.data(), data.size(), static_cast<off_t>(*offset))
                       : ::write(fd.get(), data.data(), data.size());
        });
        if (n < 0)
            return failureFromErrno(errno, path);
        data.remove_prefix(static_cast<std::size_t>(n));
        if (offset)
            *offset += static_cast<std::uint64_t>(n);
    }
    return {};
}

std::string parentFolder(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

Failure failureFromErrno(int error, const std::string& path) {
    switch (error) {
    case ENOENT:
        return makeFailure(isFolder(parentFolder(path)) ? failure::FileNotFound
                                                        : failure::PathNotFound);
    case ENOTDIR: return makeFailure(failure::PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return makeFailure(failure::PermissionDenied);
    case EISDIR:
    case ELOOP:
    case EBUSY: return makeFailure(failure::PathFileAccessError);
    case EEXIST:
    case ENOTEMPTY: return makeFailure(failure::FileAlreadyExists);
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return makeFailure(failure::DiskFull);
    case EMFILE:
    case ENFILE: return makeFailure(failure::TooManyFiles);
    case ENAMETOOLONG:
    case EINVAL: return makeFailure(failure::BadFileName);
    case EXDEV: return makeFailure(failure::RenameAcrossDrives);
    case ENOMEM: return makeFailure(failure::OutOfMemory);
    case ENXIO:
    case ENODEV: return makeFailure(failure::DeviceUnavailable);
    default: return makeFailure(failure::DeviceIoError);
    }
}

} // namespace zembrel
