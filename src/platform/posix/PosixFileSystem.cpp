#include "platform/posix/PosixFileSystem.h"

#include "platform/FileCopy.h"
#include "platform/posix/PosixIo.h"
#include "platform/posix/TemporaryNames.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace zembrel {

namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

FileId idOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// Reads at its own offset, so that several readers of one file never disturb each other.
class PosixReadFile final : public ReadFile {
public:
    PosixReadFile(Descriptor fd, const struct stat& st, std::string path)
        : m_fd(std::move(fd)), m_size(static_cast<std::uint64_t>(st.st_size)), m_id(idOf(st)),
          m_path(std::move(path)) {}
    Outcome<std::size_t> read(char* buffer, std::size_t size) override {
        auto n = readSome(m_fd, buffer, size, m_path, m_offset);
        if (n)
            m_offset += *n;
        return n;
    }
    Status seek(std::uint64_t offset) override {
        m_offset = offset;
        return {};
    }
    std::uint64_t size() const override { return m_size; }
    std::optional<FileId> id() const override { return m_id; }
    const Descriptor& descriptor() const { return m_fd; }

private:
    Descriptor m_fd;
    std::uint64_t m_size;
    FileId m_id;
    std::string m_path;
    std::uint64_t m_offset = 0;
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

// A short name that no file in folder bears: never longer than the names beside it allow.
std::string hiddenName(const std::string& folder) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string name = ".zbp-";
    for (int i = 0; i < 10; ++i)
        name += kDigits[random() % 36];
    return (folder.empty() ? std::string("./") : folder) + name + ".tmp";
}

// Creates a file under a fresh hidden name in folder, for reading and writing.
Outcome<Descriptor> createHidden(const std::string& folder, TemporaryName& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = hiddenName(folder);
        Descriptor fd = openDescriptor(path, O_RDWR | O_CREAT | O_EXCL, 0666);
        if (fd.valid()) {
            name = TemporaryName(path);
            return fd;
        }
        if (errno != EEXIST)
            return failureFromErrno(errno, path);
    }
    return makeFailure(failure::FileAlreadyExists);
}

class PosixScratchFile final : public ScratchFile {
public:
    PosixScratchFile(Descriptor fd, std::string folder, TemporaryName name)
        : m_fd(std::move(fd)), m_folder(std::move(folder)), m_name(std::move(name)) {}
    Status write(const char* data, std::size_t size) override {
        return writeAll(m_fd, {data, size}, where());
    }
    Outcome<std::unique_ptr<ReadFile>> readBack() override {
        Descriptor copy(retryOnInterrupt([&] { return ::fcntl(m_fd.get(), F_DUPFD_CLOEXEC, 0); }));
        struct stat st {};
        if (!copy.valid() || ::fstat(copy.get(), &st) != 0)
            return failureFromErrno(errno, where());
        return std::unique_ptr<ReadFile>(new PosixReadFile(std::move(copy), st, where()));
    }
    Status copyFrom(ReadFile& source) override;
    Status keepAs(const std::string& path) override;

private:
    std::string where() const { return m_kept.empty() ? m_folder : m_kept; }
    Status copyByKernel(const PosixReadFile& source, std::uint64_t& copied);

    Descriptor m_fd;
    std::string m_folder;
    TemporaryName m_name; // the hidden name while the file has one and is not kept
    std::string m_kept;
};

// copy_file_range lets the kernel move the bytes (or share extents); false when the file
// systems do not support it, and plain reads and writes take over.
Status PosixScratchFile::copyByKernel(const PosixReadFile& source, std::uint64_t& copied) {
    while (copied < source.size()) {
        auto from = static_cast<off_t>(copied);
        const ssize_t n = retryOnInterrupt([&] {
            return ::copy_file_range(source.descriptor().get(), &from, m_fd.get(), nullptr,
                                     static_cast<std::size_t>(source.size() - copied), 0);
        });
        if (n == 0) // the source is shorter than it was
            return makeFailure(failure::InputPastEnd);
        if (n < 0) {
            if (copied == 0 &&
                (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
                return {};
            return failureFromErrno(errno, where());
        }
        copied += static_cast<std::uint64_t>(n);
    }
    return {};
}

Status PosixScratchFile::copyFrom(ReadFile& source) {
    std::uint64_t copied = 0;
    if (const auto* posix = dynamic_cast<PosixReadFile*>(&source)) {
        if (Status s = copyByKernel(*posix, copied); !s)
            return s;
    }
    return copyToEnd(source, copied, kCopyBlock,
                     [this](const char* data, std::size_t size) { return write(data, size); });
}

Status PosixScratchFile::keepAs(const std::string& path) {
    if (m_name.empty()) {
        // An unnamed file gets a hidden name first: a link cannot replace an existing file.
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd.get());
        for (int attempt = 0;; ++attempt) {
            const std::string hidden = hiddenName(m_folder);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW) ==
                0) {
                m_name = TemporaryName(hidden);
                break;
            }
            if (errno != EEXIST || attempt == 100)
                return failureFromErrno(errno, hidden);
        }
    }
    if (isFolder(path))
        return makeFailure(failure::PathFileAccessError);
    if (::rename(m_name.path().c_str(), path.c_str()) != 0)
        return failureFromErrno(errno, path);
    m_name.release();
    m_kept = path;
    return {};
}

} // namespace

bool PosixFileSystem::fileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixFileSystem::folderExists(const std::string& path) {
    return !path.empty() && isFolder(path);
}

EntryKind PosixFileSystem::entryKind(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0)
        return EntryKind::None;
    if (S_ISREG(st.st_mode))
        return EntryKind::File;
    return S_ISDIR(st.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

std::vector<std::string> PosixFileSystem::folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

std::optional<FileId> PosixFileSystem::fileId(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return idOf(st);
}

Outcome<std::unique_ptr<ReadFile>> PosixFileSystem::openRead(const std::string& path) {
    auto fd = openFile(path, O_RDONLY);
    if (!fd)
        return fd.failure();
    struct stat st {};
    ::fstat(fd->get(), &st);
    ::posix_fadvise(fd->get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::unique_ptr<ReadFile>(new PosixReadFile(std::move(*fd), st, path));
}

Outcome<std::unique_ptr<ByteFile>> PosixFileSystem::openReadWrite(const std::string& path) {
    auto fd = openFile(path, O_RDWR);
    if (!fd)
        return fd.failure();
    return std::unique_ptr<ByteFile>(new PosixByteFile(std::move(*fd), path));
}

Outcome<std::unique_ptr<ScratchFile>> PosixFileSystem::createScratch(const std::string& folder) {
    const std::string where = folder.empty() ? std::string(".") : folder;
    TemporaryName name;
    Descriptor fd;
#ifdef O_TMPFILE
    if (useUnnamedFiles)
        fd = openDescriptor(where, O_TMPFILE | O_RDWR, 0666);
    if (!fd.valid() && useUnnamedFiles && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return failureFromErrno(errno, where + "/x");
#endif
    if (!fd.valid()) {
        auto hidden = createHidden(folder, name);
        if (!hidden)
            return hidden.failure();
        fd = std::move(*hidden);
    }
    return std::unique_ptr<ScratchFile>(
        new PosixScratchFile(std::move(fd), folder, std::move(name)));
}

Status PosixFileSystem::remove(const std::string& path) {
    if (isFolder(path))
        return makeFailure(failure::PathFileAccessError);
    if (::unlink(path.c_str()) != 0)
        return failureFromErrno(errno, path);
    return {};
}

Status PosixFileSystem::createFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) != 0)
        return failureFromErrno(errno, path);
    return {};
}

} // namespace zembrel
