#include "platform/posix/PosixFileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace zembrel {

namespace {

std::string parentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Owns a descriptor; closes it on destruction unless it was closed (and checked) before.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

Status closeChecked(Descriptor& fd, const std::string& path) {
    if (fd.get() < 0)
        return {};
    if (::close(fd.release()) != 0 && errno != EINTR)
        return failureFromErrno(errno, path);
    return {};
}

Status writeAll(int fd, const char* data, std::size_t size, const std::string& path) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failureFromErrno(errno, path);
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return {};
}

class PosixReadFile final : public ReadFile {
public:
    PosixReadFile(int fd, std::uint64_t size, std::string path)
        : m_fd(fd), m_size(size), m_path(std::move(path)) {}
    Outcome<std::size_t> read(char* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t n = ::read(m_fd.get(), buffer, size);
            if (n >= 0)
                return static_cast<std::size_t>(n);
            if (errno != EINTR)
                return failureFromErrno(errno, m_path);
        }
    }
    Status seek(std::uint64_t offset) override {
        if (::lseek(m_fd.get(), static_cast<off_t>(offset), SEEK_SET) < 0)
            return failureFromErrno(errno, m_path);
        return {};
    }
    std::uint64_t size() const override { return m_size; }

private:
    Descriptor m_fd;
    std::uint64_t m_size;
    std::string m_path;
};

class PosixWriteFile final : public WriteFile {
public:
    PosixWriteFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
    Status write(const char* data, std::size_t size) override {
        return writeAll(m_fd.get(), data, size, m_path);
    }
    Status close() override { return closeChecked(m_fd, m_path); }

private:
    Descriptor m_fd;
    std::string m_path;
};

class PosixByteFile final : public ByteFile {
public:
    PosixByteFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
    Outcome<std::size_t> readAt(std::uint64_t offset, char* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t n = ::pread(m_fd.get(), buffer, size, static_cast<off_t>(offset));
            if (n >= 0)
                return static_cast<std::size_t>(n);
            if (errno != EINTR)
                return failureFromErrno(errno, m_path);
        }
    }
    Status writeAt(std::uint64_t offset, const char* data, std::size_t size) override {
        while (size > 0) {
            const ssize_t n = ::pwrite(m_fd.get(), data, size, static_cast<off_t>(offset));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return failureFromErrno(errno, m_path);
            }
            data += n;
            size -= static_cast<std::size_t>(n);
            offset += static_cast<std::uint64_t>(n);
        }
        return {};
    }
    Status close() override { return closeChecked(m_fd, m_path); }

private:
    Descriptor m_fd;
    std::string m_path;
};

// Opens path, refusing folders the way a file open on Windows does.
Outcome<int> openFile(const std::string& path, int flags, mode_t mode = 0) {
    if (path.empty())
        return makeFailure(failure::BadFileName);
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return failureFromErrno(errno, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return makeFailure(failure::PathFileAccessError);
    }
    return fd;
}

} // namespace

Failure failureFromErrno(int error, const std::string& path) {
    switch (error) {
    case ENOENT:
        return makeFailure(isFolder(parentOf(path)) ? failure::FileNotFound
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

bool PosixFileSystem::fileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixFileSystem::folderExists(const std::string& path) {
    return !path.empty() && isFolder(path);
}

Outcome<std::uint64_t> PosixFileSystem::fileLength(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return failureFromErrno(errno, path);
    if (S_ISDIR(st.st_mode))
        return makeFailure(failure::PathFileAccessError);
    return static_cast<std::uint64_t>(st.st_size);
}

Outcome<std::unique_ptr<ReadFile>> PosixFileSystem::openRead(const std::string& path) {
    auto fd = openFile(path, O_RDONLY);
    if (!fd)
        return fd.failure();
    struct stat st {};
    ::fstat(*fd, &st);
    posix_fadvise(*fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::unique_ptr<ReadFile>(
        new PosixReadFile(*fd, static_cast<std::uint64_t>(st.st_size), path));
}

Outcome<std::unique_ptr<ByteFile>> PosixFileSystem::openReadWrite(const std::string& path) {
    auto fd = openFile(path, O_RDWR);
    if (!fd)
        return fd.failure();
    return std::unique_ptr<ByteFile>(new PosixByteFile(*fd, path));
}

Outcome<std::unique_ptr<WriteFile>> PosixFileSystem::create(const std::string& path) {
    auto fd = openFile(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (!fd)
        return fd.failure();
    return std::unique_ptr<WriteFile>(new PosixWriteFile(*fd, path));
}

Outcome<std::unique_ptr<WriteFile>> PosixFileSystem::createNew(const std::string& path) {
    auto fd = openFile(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (!fd)
        return fd.failure();
    return std::unique_ptr<WriteFile>(new PosixWriteFile(*fd, path));
}

Status PosixFileSystem::remove(const std::string& path) {
    if (isFolder(path))
        return makeFailure(failure::PathFileAccessError);
    if (::unlink(path.c_str()) != 0)
        return failureFromErrno(errno, path);
    return {};
}

Status PosixFileSystem::rename(const std::string& from, const std::string& to) {
    if (isFolder(to))
        return makeFailure(failure::PathFileAccessError);
    if (::rename(from.c_str(), to.c_str()) != 0)
        return failureFromErrno(errno, from);
    return {};
}

Status PosixFileSystem::copy(const std::string& from, const std::string& to) {
    auto in = openFile(from, O_RDONLY);
    if (!in)
        return in.failure();
    Descriptor source(*in);
    auto out = openFile(to, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (!out)
        return out.failure();
    Descriptor target(*out);
    // copy_file_range lets the kernel move the bytes (or share extents); plain reads and
    // writes take over where it is not supported.
    bool kernelCopy = true;
    for (;;) {
        if (kernelCopy) {
            const ssize_t n = ::copy_file_range(source.get(), nullptr, target.get(), nullptr,
                                                std::size_t{1} << 30, 0);
            if (n > 0)
                continue;
            if (n == 0)
                break;
            if (errno == EINTR)
                continue;
            if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
                return failureFromErrno(errno, to);
            kernelCopy = false;
        }
        static thread_local char buffer[256 * 1024];
        const ssize_t n = ::read(source.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failureFromErrno(errno, from);
        }
        if (n == 0)
            break;
        if (Status s = writeAll(target.get(), buffer, static_cast<std::size_t>(n), to); !s)
            return s;
    }
    return closeChecked(target, to);
}

Status PosixFileSystem::createFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) != 0)
        return failureFromErrno(errno, path);
    return {};
}

} // namespace zembrel
