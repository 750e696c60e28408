#include "platform/posix/PosixFileSystem.h"

#include "platform/posix/PosixIo.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace zembrel {

namespace {

class PosixReadFile final : public ReadFile {
public:
    PosixReadFile(Descriptor fd, std::uint64_t size, std::string path)
        : m_fd(std::move(fd)), m_size(size), m_path(std::move(path)) {}
    Outcome<std::size_t> read(char* buffer, std::size_t size) override {
        return readSome(m_fd, buffer, size, m_path);
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
    PosixWriteFile(Descriptor fd, std::string path)
        : m_fd(std::move(fd)), m_path(std::move(path)) {}
    Status write(const char* data, std::size_t size) override {
        return writeAll(m_fd, {data, size}, m_path);
    }
    Status close() override { return m_fd.close(m_path); }

private:
    Descriptor m_fd;
    std::string m_path;
};

class PosixByteFile final : public ByteFile {
public:
    PosixByteFile(Descriptor fd, std::string path) : m_fd(std::move(fd)), m_path(std::move(path)) {}
    Outcome<std::size_t> readAt(std::uint64_t offset, char* buffer, std::size_t size) override {
        return readSome(m_fd, buffer, size, m_path, offset);
    }
    Status writeAt(std::uint64_t offset, const char* data, std::size_t size) override {
        return writeAll(m_fd, {data, size}, m_path, offset);
    }
    Status close() override { return m_fd.close(m_path); }

private:
    Descriptor m_fd;
    std::string m_path;
};

// Opens path, refusing folders the way a file open on Windows does.
Outcome<Descriptor> openFile(const std::string& path, int flags, mode_t mode = 0) {
    if (path.empty())
        return makeFailure(failure::BadFileName);
    Descriptor fd = openDescriptor(path, flags, mode);
    if (!fd.valid())
        return failureFromErrno(errno, path);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode))
        return makeFailure(failure::PathFileAccessError);
    return fd;
}

} // namespace

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
    ::fstat(fd->get(), &st);
    posix_fadvise(fd->get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::unique_ptr<ReadFile>(
        new PosixReadFile(std::move(*fd), static_cast<std::uint64_t>(st.st_size), path));
}

Outcome<std::unique_ptr<ByteFile>> PosixFileSystem::openReadWrite(const std::string& path) {
    auto fd = openFile(path, O_RDWR);
    if (!fd)
        return fd.failure();
    return std::unique_ptr<ByteFile>(new PosixByteFile(std::move(*fd), path));
}

Outcome<std::unique_ptr<WriteFile>> PosixFileSystem::create(const std::string& path) {
    auto fd = openFile(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (!fd)
        return fd.failure();
    return std::unique_ptr<WriteFile>(new PosixWriteFile(std::move(*fd), path));
}

Outcome<std::unique_ptr<WriteFile>> PosixFileSystem::createNew(const std::string& path) {
    auto fd = openFile(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (!fd)
        return fd.failure();
    return std::unique_ptr<WriteFile>(new PosixWriteFile(std::move(*fd), path));
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
    auto source = openFile(from, O_RDONLY);
    if (!source)
        return source.failure();
    auto target = openFile(to, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (!target)
        return target.failure();
    // copy_file_range lets the kernel move the bytes (or share extents); plain reads and
    // writes take over where it is not supported.
    bool kernelCopy = true;
    while (kernelCopy) {
        const ssize_t n = retryOnInterrupt([&] {
            return ::copy_file_range(source->get(), nullptr, target->get(), nullptr,
                                     std::size_t{1} << 30, 0);
        });
        if (n == 0)
            return target->close(to);
        if (n < 0 && errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            return failureFromErrno(errno, to);
        kernelCopy = n > 0;
    }
    static thread_local char buffer[256 * 1024];
    for (;;) {
        const auto n = readSome(*source, buffer, sizeof buffer, from);
        if (!n)
            return n.failure();
        if (*n == 0)
            return target->close(to);
        if (Status s = writeAll(*target, {buffer, *n}, to); !s)
            return s;
    }
}

Status PosixFileSystem::createFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) != 0)
        return failureFromErrno(errno, path);
    return {};
}

} // namespace zembrel
