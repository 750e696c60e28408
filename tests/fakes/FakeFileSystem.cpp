#include "fakes/FakeFileSystem.h"

#include <algorithm>
#include <cstring>

namespace zembrel::test {

namespace {

using Op = FakeFileSystem::Op;

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Copies the bytes of data from offset on into buffer; how many it copied.
std::size_t copyOut(const std::string& data, std::uint64_t offset, char* buffer, std::size_t size) {
    if (offset >= data.size())
        return 0;
    const std::size_t n = std::min<std::size_t>(size, data.size() - offset);
    std::memcpy(buffer, data.data() + offset, n);
    return n;
}

// Counts a handle as open from its creation until it is dropped (the handles are never copied).
struct OpenHandle {
    explicit OpenHandle(FakeFileSystem& files) : fs(files) { ++fs.openHandles; }
    ~OpenHandle() { --fs.openHandles; }
    FakeFileSystem& fs;
};

// Reads a named file live, or the bytes of a scratch file.
class FakeReadFile final : public ReadFile {
public:
    using Source = std::function<const std::string*()>;
    FakeReadFile(FakeFileSystem& fs, std::string path, Source source, FileId id)
        : m_fs(fs), m_path(std::move(path)), m_source(std::move(source)), m_id(id),
          m_size(m_source()->size()), m_handle(fs) {}
    Outcome<std::size_t> read(char* buffer, std::size_t size) override {
        const std::lock_guard lock(m_fs.mutex);
        if (auto f = m_fs.failureOf(Op::Read, m_path, m_offset))
            return *f;
        const std::string* data = m_source();
        if (!data)
            return makeFailure(failure::DeviceIoError);
        const std::size_t n = copyOut(*data, m_offset, buffer, size);
        m_offset += n;
        m_fs.bytesRead += n;
        return n;
    }
    Status seek(std::uint64_t offset) override {
        const std::lock_guard lock(m_fs.mutex);
        if (auto f = m_fs.failureOf(Op::Seek, m_path, offset))
            return *f;
        m_offset = offset;
        return {};
    }
    std::uint64_t size() const override { return m_size; }
    std::optional<FileId> id() const override { return m_id; }

private:
    FakeFileSystem& m_fs;
    std::string m_path;
    Source m_source;
    FileId m_id;
    std::uint64_t m_size;
    std::uint64_t m_offset = 0;
    OpenHandle m_handle;
};

class FakeScratchFile final : public ScratchFile {
public:
    FakeScratchFile(FakeFileSystem& fs, std::string folder)
        : m_fs(fs), m_folder(std::move(folder)), m_handle(fs) {}
    Status write(const char* data, std::size_t size) override {
        const std::lock_guard lock(m_fs.mutex);
        if (auto f = m_fs.failureOf(Op::Write, m_folder, m_data.size() + size))
            return *f;
        m_data.append(data, size);
        return {};
    }
    bool worthWritingBehind() const override { return m_fs.threads; }
    void reserve(std::uint64_t) override {} // memory has no blocks to set aside
    Outcome<std::unique_ptr<ReadFile>> readBack() override {
        const std::lock_guard lock(m_fs.mutex);
        if (auto f = m_fs.failureOf(Op::ReadBack, m_folder))
            return *f;
        return std::unique_ptr<ReadFile>(new FakeReadFile(
            m_fs, m_folder, [this] { return &m_data; }, FileId{1, 0}));
    }
    Status keepAs(const std::string& path, Replace replace) override {
        const std::lock_guard lock(m_fs.mutex);
        if (auto f = m_fs.failureOf(Op::Keep, path))
            return *f;
        if (m_fs.folders.count(path))
            return makeFailure(failure::PathFileAccessError);
        if (replace == Replace::No && m_fs.files.count(path))
            return makeFailure(failure::FileAlreadyExists);
        if (!m_fs.folderExists(folderOf(path)))
            return makeFailure(failure::PathNotFound);
        m_fs.files[path] = m_data;
        return {};
    }

private:
    FakeFileSystem& m_fs;
    std::string m_folder;
    std::string m_data;
    OpenHandle m_handle;
};

class FakeByteFile final : public ByteFile {
public:
    FakeByteFile(FakeFileSystem& fs, std::string path)
        : m_fs(fs), m_path(std::move(path)), m_handle(fs) {}
    Outcome<std::size_t> readAt(std::uint64_t offset, char* buffer, std::size_t size) override {
        const std::lock_guard lock(m_fs.mutex);
        if (auto f = m_fs.failureOf(Op::ReadAt, m_path, offset))
            return *f;
        return copyOut(m_fs.files.at(m_path), offset, buffer, size);
    }
    Status writeAt(std::uint64_t offset, const char* data, std::size_t size) override {
        const std::lock_guard lock(m_fs.mutex);
        if (auto f = m_fs.failureOf(Op::WriteAt, m_path, offset))
            return *f;
        std::string& file = m_fs.files.at(m_path);
        file.resize(std::max<std::size_t>(file.size(), offset + size));
        std::memcpy(file.data() + offset, data, size);
        return {};
    }

private:
    FakeFileSystem& m_fs;
    std::string m_path;
    OpenHandle m_handle;
};

} // namespace

EntryKind FakeFileSystem::entryKind(const std::string& path) {
    if (files.count(path))
        return EntryKind::File;
    if (others.count(path))
        return EntryKind::Other;
    return folders.count(path) ? EntryKind::Folder : EntryKind::None;
}

std::optional<FileId> FakeFileSystem::fileId(const std::string& path) {
    if (!files.count(path))
        return std::nullopt;
    return FileId{0, std::hash<std::string>{}(path)};
}

Outcome<std::unique_ptr<ReadFile>> FakeFileSystem::openRead(const std::string& path) {
    if (auto f = failureOf(Op::OpenRead, path))
        return *f;
    if (!files.count(path))
        return makeFailure(folders.count(path) ? failure::PathFileAccessError
                                               : failure::FileNotFound);
    if (const auto g = generated.find(path); g != generated.end())
        return g->second();
    auto source = [this, path]() -> const std::string* {
        auto it = files.find(path);
        return it == files.end() ? nullptr : &it->second;
    };
    return std::unique_ptr<ReadFile>(new FakeReadFile(*this, path, source, *fileId(path)));
}

Outcome<std::unique_ptr<ByteFile>> FakeFileSystem::openReadWrite(const std::string& path) {
    if (auto f = failureOf(Op::OpenReadWrite, path))
        return *f;
    if (!files.count(path))
        return makeFailure(failure::FileNotFound);
    return std::unique_ptr<ByteFile>(new FakeByteFile(*this, path));
}

Outcome<std::unique_ptr<ScratchFile>> FakeFileSystem::createScratch(const std::string& folder,
                                                                    std::optional<std::uint32_t>) {
    if (auto f = failureOf(Op::CreateScratch, folder))
        return *f;
    if (!folderExists(folder.substr(0, folder.empty() ? 0 : folder.size() - 1)))
        return makeFailure(failure::PathNotFound);
    return std::unique_ptr<ScratchFile>(new FakeScratchFile(*this, folder));
}

Status FakeFileSystem::canCreate(const std::string& path) {
    if (auto f = failureOf(Op::CanCreate, path))
        return *f;
    if (folders.count(path))
        return makeFailure(failure::PathFileAccessError);
    return folderExists(folderOf(path)) ? Status{} : makeFailure(failure::PathNotFound);
}

Status FakeFileSystem::remove(const std::string& path) {
    if (auto f = failureOf(Op::Remove, path))
        return *f;
    if (!files.erase(path))
        return makeFailure(failure::FileNotFound);
    return {};
}

Status FakeFileSystem::createFolder(const std::string& path) {
    if (folders.count(path) || files.count(path))
        return makeFailure(failure::PathFileAccessError);
    if (!folderExists(folderOf(path)))
        return makeFailure(failure::PathNotFound);
    folders.insert(path);
    return {};
}

} // namespace zembrel::test
