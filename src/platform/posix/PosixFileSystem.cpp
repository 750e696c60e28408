#include "platform/posix/PosixFileSystem.h"

#include "platform/posix/PosixIo.h"
#include "platform/posix/TemporaryNames.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace zembrel {

namespace {

// A second processor for this process: writing behind then pays.
bool secondProcessor() {
    static const bool two = [] {
        cpu_set_t set;
        CPU_ZERO(&set);
        return ::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 1;
    }();
    return two;
}

FileId idOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// Reads at its own offset, so that several readers of one file never disturb each other.
class PosixReadFile final : public ReadFile {
public:
    PosixReadFile(Descriptor fd, const struct stat& st, std::string path)
        : m_fd(std::move(fd)), m_size(static_cast<std::uint64_t>(st.st_size)), m_id(idOf(st)),
          m_mode(st.st_mode & 0777), m_path(std::move(path)) {}
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
    std::optional<std::uint32_t> permissions() const override { return m_mode; }

private:
    Descriptor m_fd;
    std::uint64_t m_size;
    FileId m_id;
    std::uint32_t m_mode;
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

// Opens a regular file. The open does not wait (a FIFO would wait for a writer), and anything
// but a regular file is refused before a byte is read, as a file open on Windows refuses a
// folder.
Outcome<Descriptor> openFile(const std::string& path, int flags, struct stat& st) {
    if (path.empty())
        return makeFailure(failure::BadFileName);
    Descriptor fd = openDescriptor(path, flags | O_NONBLOCK);
    if (!fd.valid())
        return failureFromErrno(errno, path);
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return makeFailure(failure::PathFileAccessError);
    const int status = ::fcntl(fd.get(), F_GETFL);
    if (status < 0 || ::fcntl(fd.get(), F_SETFL, status & ~O_NONBLOCK) != 0)
        return failureFromErrno(errno, path);
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
Outcome<Descriptor> createHidden(const std::string& folder, mode_t mode, TemporaryName& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = hiddenName(folder);
        Descriptor fd = openDescriptor(path, O_RDWR | O_CREAT | O_EXCL, mode);
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
    bool worthWritingBehind() const override { return secondProcessor(); }
    // On ext4 a fifth of the time of writing 1 GiB went into setting blocks aside page by page.
    void reserve(std::uint64_t size) override {
        m_reserved = ::fallocate(m_fd.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) == 0;
    }
    Outcome<std::unique_ptr<ReadFile>> readBack() override {
        if (Status s = giveBackRoom(); !s)
            return s.failure();
        Descriptor copy(retryOnInterrupt([&] { return ::fcntl(m_fd.get(), F_DUPFD_CLOEXEC, 0); }));
        struct stat st {};
        if (!copy.valid() || ::fstat(copy.get(), &st) != 0)
            return failureFromErrno(errno, where());
        return std::unique_ptr<ReadFile>(new PosixReadFile(std::move(copy), st, where()));
    }
    Status keepAs(const std::string& path, Replace replace) override;

private:
    std::string where() const { return m_kept.empty() ? m_folder : m_kept; }
    // Cutting the file at its length frees the room reserved beyond it.
    Status giveBackRoom() {
        struct stat st {};
        if (m_reserved &&
            (::fstat(m_fd.get(), &st) != 0 || ::ftruncate(m_fd.get(), st.st_size) != 0))
            return failureFromErrno(errno, where());
        m_reserved = false;
        return {};
    }
    Status linkHidden();
    Status moveWithoutReplacing(const std::string& path);

    Descriptor m_fd;
    std::string m_folder;
    TemporaryName m_name; // the hidden name while the file has one and is not kept
    std::string m_kept;
    bool m_reserved = false;
};

std::string selfLink(const Descriptor& fd) {
    return "/proc/self/fd/" + std::to_string(fd.get());
}

// An unnamed file gets a hidden name, from which a rename can replace an existing file.
Status PosixScratchFile::linkHidden() {
    for (int attempt = 0;; ++attempt) {
        const std::string hidden = hiddenName(m_folder);
        if (::linkat(AT_FDCWD, selfLink(m_fd).c_str(), AT_FDCWD, hidden.c_str(),
                     AT_SYMLINK_FOLLOW) == 0) {
            m_name = TemporaryName(hidden);
            return {};
        }
        if (errno != EEXIST || attempt == 100)
            return failureFromErrno(errno, hidden);
    }
}

// Gives the hidden name's file the name path unless something stands there: in one step where
// the file system offers it, else as a second link; only a file system that has neither is
// checked first (a file appearing in between could then be replaced).
Status PosixScratchFile::moveWithoutReplacing(const std::string& path) {
    if (::renameat2(AT_FDCWD, m_name.path().c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return failureFromErrno(errno, path);
    if (::link(m_name.path().c_str(), path.c_str()) == 0) {
        m_name.removeFile();
        return {};
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK)
        return failureFromErrno(errno, path);
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0)
        return makeFailure(failure::FileAlreadyExists);
    if (::rename(m_name.path().c_str(), path.c_str()) != 0)
        return failureFromErrno(errno, path);
    return {};
}

Status PosixScratchFile::keepAs(const std::string& path, Replace replace) {
    if (Status s = giveBackRoom(); !s)
        return s;
    if (isFolder(path))
        return makeFailure(failure::PathFileAccessError);
    if (m_name.empty() && replace == Replace::No) {
        // An unnamed file is linked under its name directly: that never replaces anything.
        if (::linkat(AT_FDCWD, selfLink(m_fd).c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) !=
            0)
            return failureFromErrno(errno, path);
    } else {
        if (m_name.empty()) {
            if (Status s = linkHidden(); !s)
                return s;
        }
        if (replace == Replace::No) {
            if (Status s = moveWithoutReplacing(path); !s)
                return s;
        } else if (::rename(m_name.path().c_str(), path.c_str()) != 0) {
            return failureFromErrno(errno, path);
        }
    }
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
    if (S_ISLNK(st.st_mode))
        return EntryKind::Link;
    return S_ISDIR(st.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

Outcome<std::vector<std::string>> PosixFileSystem::folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return failureFromErrno(errno, folder);
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry)
            break;
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0)
        return failureFromErrno(error, folder);
    return names;
}

Status PosixFileSystem::canCreate(const std::string& path) {
    if (path.empty() || path.size() >= PATH_MAX)
        return makeFailure(failure::BadFileName);
    const std::string folder = parentFolder(path);
    const auto slash = path.find_last_of('/');
    const std::size_t nameLength =
        slash == std::string::npos ? path.size() : path.size() - slash - 1;
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (nameLength > static_cast<std::size_t>(limit > 0 ? limit : NAME_MAX))
        return makeFailure(failure::BadFileName);
    if (isFolder(path)) // a folder, or a link to one
        return makeFailure(failure::PathFileAccessError);
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return failureFromErrno(errno, path);
    return {};
}

std::optional<FileId> PosixFileSystem::fileId(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return idOf(st);
}

Outcome<std::unique_ptr<ReadFile>> PosixFileSystem::openRead(const std::string& path) {
    struct stat st {};
    auto fd = openFile(path, O_RDONLY, st);
    if (!fd)
        return fd.failure();
    ::posix_fadvise(fd->get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::unique_ptr<ReadFile>(new PosixReadFile(std::move(*fd), st, path));
}

Outcome<std::unique_ptr<ByteFile>> PosixFileSystem::openReadWrite(const std::string& path) {
    struct stat st {};
    auto fd = openFile(path, O_RDWR, st);
    if (!fd)
        return fd.failure();
    return std::unique_ptr<ByteFile>(new PosixByteFile(std::move(*fd), path));
}

Outcome<std::unique_ptr<ScratchFile>>
PosixFileSystem::createScratch(const std::string& folder,
                               std::optional<std::uint32_t> permissions) {
    const std::string where = folder.empty() ? std::string(".") : folder;
    const auto mode = static_cast<mode_t>(permissions.value_or(0666) & 0777);
    TemporaryName name;
    Descriptor fd;
#ifdef O_TMPFILE
    if (useUnnamedFiles)
        fd = openDescriptor(where, O_TMPFILE | O_RDWR, mode);
    if (!fd.valid() && useUnnamedFiles && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return failureFromErrno(errno, where + "/x");
#endif
    if (!fd.valid()) {
        auto hidden = createHidden(folder, mode, name);
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
