#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <mutex>
#include <random>
#include <set>
#include <utility>

namespace zembrel {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Owns a file handle.
class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h) {}
    ~Handle() {
        if (valid())
            ::CloseHandle(m_h);
    }
    Handle(Handle&& other) noexcept : m_h(std::exchange(other.m_h, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&& other) noexcept {
        std::swap(m_h, other.m_h);
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
    HANDLE get() const { return m_h; }

private:
    HANDLE m_h;
};

DWORD attributesOf(const std::string& path) {
    return path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(path.c_str());
}

std::optional<FileId> idOf(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info))
        return std::nullopt;
    return FileId{info.dwVolumeSerialNumber,
                  (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED o{};
    o.Offset = static_cast<DWORD>(offset);
    o.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return o;
}

// A second processor for this process: writing behind then pays.
bool secondProcessor() {
    static const bool two = [] {
        DWORD_PTR process = 0, system = 0;
        return ::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system) &&
               (process & (process - 1)) != 0;
    }();
    return two;
}

// Reads at an offset, whatever the handle's own position: readers of one file never disturb
// each other.
Outcome<std::size_t> readAt(HANDLE h, std::uint64_t offset, char* buffer, std::size_t size) {
    DWORD got = 0;
    OVERLAPPED o = at(offset);
    const auto want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!::ReadFile(h, buffer, want, &got, &o)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_HANDLE_EOF)
            return std::size_t{0};
        return failureFromWin32(error);
    }
    return static_cast<std::size_t>(got);
}

Status writeAll(HANDLE h, const char* data, std::size_t size, std::optional<std::uint64_t> offset) {
    while (size > 0) {
        DWORD wrote = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        OVERLAPPED o = at(offset.value_or(0));
        if (!::WriteFile(h, data, chunk, &wrote, offset ? &o : nullptr))
            return failureFromWin32(::GetLastError());
        data += wrote;
        size -= wrote;
        if (offset)
            *offset += wrote;
    }
    return {};
}

// Opens an existing file, refusing folders the way the logic expects of every platform.
Outcome<Handle> openFile(const std::string& path, DWORD access, DWORD flags) {
    if (path.empty())
        return makeFailure(failure::BadFileName);
    const DWORD attributes = attributesOf(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return makeFailure(failure::PathFileAccessError);
    Handle h(
        ::CreateFileA(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr));
    if (!h.valid())
        return failureFromWin32(::GetLastError());
    // A pipe, a console or a device is never read: a read could wait for ever.
    if (::GetFileType(h.get()) != FILE_TYPE_DISK)
        return makeFailure(failure::PathFileAccessError);
    return h;
}

class Win32ReadFile final : public ReadFile {
public:
    Win32ReadFile(Handle h, std::uint64_t size) : m_h(std::move(h)), m_size(size) {}
    Outcome<std::size_t> read(char* buffer, std::size_t size) override {
        auto n = readAt(m_h.get(), m_offset, buffer, size);
        if (n)
            m_offset += *n;
        return n;
    }
    Status seek(std::uint64_t offset) override {
        m_offset = offset;
        return {};
    }
    std::uint64_t size() const override { return m_size; }
    std::optional<FileId> id() const override { return idOf(m_h.get()); }

private:
    Handle m_h;
    std::uint64_t m_size;
    std::uint64_t m_offset = 0;
};

Outcome<std::uint64_t> sizeOf(HANDLE h) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(h, &size))
        return failureFromWin32(::GetLastError());
    return static_cast<std::uint64_t>(size.QuadPart);
}

class Win32ByteFile final : public ByteFile {
public:
    explicit Win32ByteFile(Handle h) : m_h(std::move(h)) {}
    Outcome<std::size_t> readAt(std::uint64_t offset, char* buffer, std::size_t size) override {
        return zembrel::readAt(m_h.get(), offset, buffer, size);
    }
    Status writeAt(std::uint64_t offset, const char* data, std::size_t size) override {
        return writeAll(m_h.get(), data, size, offset);
    }

private:
    Handle m_h;
};

// A short name that no file in folder bears yet.
std::string hiddenName(const std::string& folder) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string name = ".zbp-";
    for (int i = 0; i < 10; ++i)
        name += kDigits[random() % 36];
    return folder + name + ".tmp";
}

// The names of scratch files not yet kept, for the console's interrupt handler to delete.
std::mutex g_scratchMutex;
std::set<std::string> g_scratchNames;

BOOL WINAPI onInterrupt(DWORD) {
    const std::lock_guard lock(g_scratchMutex);
    for (const std::string& name : g_scratchNames)
        ::DeleteFileA(name.c_str()); // open with the delete share: gone when the process ends
    return FALSE;                    // the default handling ends the program
}

class Win32ScratchFile final : public ScratchFile {
public:
    Win32ScratchFile(Handle h, std::string name) : m_h(std::move(h)), m_name(std::move(name)) {
        const std::lock_guard lock(g_scratchMutex);
        g_scratchNames.insert(m_name);
    }
    ~Win32ScratchFile() override {
        if (m_kept)
            return;
        forget();
        m_h = Handle();
        ::DeleteFileA(m_name.c_str());
    }
    // Written at its own offset: readers of the same file object move its file pointer.
    Status write(const char* data, std::size_t size) override {
        Status s = writeAll(m_h.get(), data, size, m_written);
        if (s)
            m_written += size;
        return s;
    }
    bool worthWritingBehind() const override { return secondProcessor(); }
    // Room is set aside as the file grows: nothing measured on Windows says more would pay.
    void reserve(std::uint64_t) override {}
    Outcome<std::unique_ptr<ReadFile>> readBack() override {
        HANDLE copy = nullptr;
        if (!::DuplicateHandle(::GetCurrentProcess(), m_h.get(), ::GetCurrentProcess(), &copy, 0,
                               FALSE, DUPLICATE_SAME_ACCESS))
            return failureFromWin32(::GetLastError());
        Handle h(copy);
        auto size = sizeOf(h.get());
        if (!size)
            return size.failure();
        return std::unique_ptr<ReadFile>(new Win32ReadFile(std::move(h), *size));
    }
    Status keepAs(const std::string& path, Replace replace) override {
        if (attributesOf(path) != INVALID_FILE_ATTRIBUTES &&
            (attributesOf(path) & FILE_ATTRIBUTE_DIRECTORY))
            return makeFailure(failure::PathFileAccessError);
        // Without the replace flag the move fails when a file stands there, in one step.
        const DWORD flags = replace == Replace::Yes ? MOVEFILE_REPLACE_EXISTING : 0;
        if (!::MoveFileExA(m_name.c_str(), path.c_str(), flags))
            return failureFromWin32(::GetLastError());
        forget();
        m_name = path;
        m_kept = true;
        return {};
    }

private:
    void forget() {
        const std::lock_guard lock(g_scratchMutex);
        g_scratchNames.erase(m_name);
    }

    Handle m_h;
    std::string m_name;
    std::uint64_t m_written = 0;
    bool m_kept = false;
};

} // namespace

Failure failureFromWin32(unsigned long error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return makeFailure(failure::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY: return makeFailure(failure::PathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_LOCK_VIOLATION: return makeFailure(failure::PermissionDenied);
    case ERROR_SHARING_VIOLATION: return makeFailure(failure::PathFileAccessError);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return makeFailure(failure::DiskFull);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return makeFailure(failure::FileAlreadyExists);
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: return makeFailure(failure::BadFileName);
    case ERROR_TOO_MANY_OPEN_FILES: return makeFailure(failure::TooManyFiles);
    case ERROR_NOT_SAME_DEVICE: return makeFailure(failure::RenameAcrossDrives);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return makeFailure(failure::OutOfMemory);
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_DEV_NOT_EXIST: return makeFailure(failure::DeviceUnavailable);
    case ERROR_HANDLE_EOF: return makeFailure(failure::InputPastEnd);
    case ERROR_BAD_EXE_FORMAT: return makeFailure(failure::InvalidCall); // no program
    default: return makeFailure(failure::DeviceIoError);
    }
}

void removeScratchFilesOnInterrupt() {
    ::SetConsoleCtrlHandler(onInterrupt, TRUE);
}

bool Win32FileSystem::fileExists(const std::string& path) {
    const DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES &&
           !(a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

bool Win32FileSystem::folderExists(const std::string& path) {
    const DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

EntryKind Win32FileSystem::entryKind(const std::string& path) {
    const DWORD a = attributesOf(path);
    if (a == INVALID_FILE_ATTRIBUTES)
        return EntryKind::None;
    if (a & FILE_ATTRIBUTE_REPARSE_POINT)
        return EntryKind::Link; // what it reaches is not this name's to give
    if (a & FILE_ATTRIBUTE_DIRECTORY)
        return EntryKind::Folder;
    return (a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) ? EntryKind::Other
                                                                 : EntryKind::File;
}

Outcome<std::vector<std::string>> Win32FileSystem::folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const std::string pattern =
        folder + (folder.ends_with('\\') || folder.ends_with('/') ? "*" : "\\*");
    if (pattern.size() >= MAX_PATH)
        return makeFailure(failure::BadFileName);
    const HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return failureFromWin32(::GetLastError());
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileA(search, &found));
    const DWORD error = ::GetLastError();
    ::FindClose(search);
    if (error != ERROR_NO_MORE_FILES)
        return failureFromWin32(error);
    return names;
}

Status Win32FileSystem::canCreate(const std::string& path) {
    if (path.empty() || path.size() >= MAX_PATH)
        return makeFailure(failure::BadFileName);
    if (folderExists(path)) // a folder, or a link to one
        return makeFailure(failure::PathFileAccessError);
    // Rights come from the folder's access list: a file made and deleted at once tells.
    const auto slash = path.find_last_of("\\/");
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    Handle probe(::CreateFileA(hiddenName(folder).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!probe.valid())
        return failureFromWin32(::GetLastError());
    return {};
}

std::optional<FileId> Win32FileSystem::fileId(const std::string& path) {
    if (path.empty())
        return std::nullopt;
    Handle h(::CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return h.valid() ? idOf(h.get()) : std::nullopt;
}

Outcome<std::unique_ptr<ReadFile>> Win32FileSystem::openRead(const std::string& path) {
    auto h = openFile(path, GENERIC_READ, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!h)
        return h.failure();
    auto size = sizeOf(h->get());
    if (!size)
        return size.failure();
    return std::unique_ptr<ReadFile>(new Win32ReadFile(std::move(*h), *size));
}

Outcome<std::unique_ptr<ByteFile>> Win32FileSystem::openReadWrite(const std::string& path) {
    auto h = openFile(path, GENERIC_READ | GENERIC_WRITE, FILE_ATTRIBUTE_NORMAL);
    if (!h)
        return h.failure();
    return std::unique_ptr<ByteFile>(new Win32ByteFile(std::move(*h)));
}

// The folder's inherited rights apply: Windows files carry no permission bits to copy.
Outcome<std::unique_ptr<ScratchFile>> Win32FileSystem::createScratch(const std::string& folder,
                                                                     std::optional<std::uint32_t>) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = hiddenName(folder);
        // Others may read it; the rename into place needs the delete share.
        Handle h(::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                               FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (h.valid())
            return std::unique_ptr<ScratchFile>(new Win32ScratchFile(std::move(h), name));
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return failureFromWin32(error);
    }
    return makeFailure(failure::FileAlreadyExists);
}

Status Win32FileSystem::remove(const std::string& path) {
    if (folderExists(path))
        return makeFailure(failure::PathFileAccessError);
    if (!::DeleteFileA(path.c_str()))
        return failureFromWin32(::GetLastError());
    return {};
}

Status Win32FileSystem::createFolder(const std::string& path) {
    if (!::CreateDirectoryA(path.c_str(), nullptr))
        return failureFromWin32(::GetLastError());
    return {};
}

} // namespace zembrel
