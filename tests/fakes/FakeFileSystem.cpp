#include "fakes/FakeFileSystem.h"

#include <algorithm>
#include <cstring>

namespace zembrel::test {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Counts a handle as open from its creation until it is closed or dropped.
class OpenHandle {
public:
    explicit OpenHandle(FakeFileSystem& fs) : m_fs(fs) { ++m_fs.openHandles; }
    ~OpenHandle() { close(); }
    OpenHandle(const OpenHandle&) = delete;
    OpenHandle& operator=(const OpenHandle&) = delete;
    Status close() {
        if (m_open) {
            m_open = false;
            --m_fs.openHandles;
        }
        return {};
    }

private:
    FakeFileSystem& m_fs;
    bool m_open = true;
};

class FakeReadFile final : public ReadFile {
public:
    FakeReadFile(FakeFileSystem& fs, std::string path)
        : m_fs(fs), m_path(std::move(path)), m_size(fs.files.at(m_path).size()), m_handle(fs) {}
    Outcome<std::size_t> read(char* buffer, std::size_t size) override {
        ++m_fs.readCalls;
        auto it = m_fs.files.find(m_path);
        if (it == m_fs.files.end())
            return makeFailure(failure::DeviceIoError);
        const std::string& data = it->second;
        std::size_t limit = data.size();
        if (m_fs.failReadAfter && m_fs.applies(m_fs.failReadAfter->second, m_path)) {
            if (m_offset >= m_fs.failReadAfter->first && m_offset < data.size())
                return m_fs.failReadAfter->second;
            limit = std::min(limit, m_fs.failReadAfter->first);
        }
        if (m_offset >= data.size())
            return std::size_t{0};
        const std::size_t n = std::min(size, limit - m_offset);
        std::memcpy(buffer, data.data() + m_offset, n);
        m_offset += n;
        return n;
    }
    Status seek(std::uint64_t offset) override {
        m_offset = static_cast<std::size_t>(offset);
        return {};
    }
    std::uint64_t size() const override { return m_size; }

private:
    FakeFileSystem& m_fs;
    std::string m_path;
    std::size_t m_size;
    std::size_t m_offset = 0;
    OpenHandle m_handle;
};

class FakeWriteFile final : public WriteFile {
public:
    FakeWriteFile(FakeFileSystem& fs, std::string path)
        : m_fs(fs), m_path(std::move(path)), m_handle(fs) {}
    Status write(const char* data, std::size_t size) override {
        if (m_fs.capacity && m_fs.totalBytes() + size > *m_fs.capacity) {
            const std::size_t room = *m_fs.capacity - std::min(*m_fs.capacity, m_fs.totalBytes());
            m_fs.files[m_path].append(data, room);
            return makeFailure(failure::DiskFull);
        }
        m_fs.files[m_path].append(data, size);
        return {};
    }
    Status close() override { return m_handle.close(); }

private:
    FakeFileSystem& m_fs;
    std::string m_path;
    OpenHandle m_handle;
};

class FakeByteFile final : public ByteFile {
public:
    FakeByteFile(FakeFileSystem& fs, std::string path)
        : m_fs(fs), m_path(std::move(path)), m_handle(fs) {}
    Outcome<std::size_t> readAt(std::uint64_t offset, char* buffer, std::size_t size) override {
        const std::string& data = m_fs.files.at(m_path);
        if (offset >= data.size())
            return std::size_t{0};
        const std::size_t n = std::min<std::size_t>(size, data.size() - offset);
        std::memcpy(buffer, data.data() + offset, n);
        return n;
    }
    Status writeAt(std::uint64_t offset, const char* data, std::size_t size) override {
        if (m_fs.applies(m_fs.failWriteAt, m_path))
            return *m_fs.failWriteAt;
        std::string& file = m_fs.files.at(m_path);
        if (offset + size > file.size())
            file.resize(offset + size);
        std::memcpy(file.data() + offset, data, size);
        return {};
    }
    Status close() override { return m_handle.close(); }

private:
    FakeFileSystem& m_fs;
    std::string m_path;
    OpenHandle m_handle;
};

} // namespace

std::size_t FakeFileSystem::totalBytes() const {
    std::size_t total = 0;
    for (const auto& [name, data] : files)
        total += data.size();
    return total;
}

bool FakeFileSystem::fileExists(const std::string& path) {
    return files.count(path) > 0;
}

bool FakeFileSystem::folderExists(const std::string& path) {
    return path.empty() || folders.count(path) > 0;
}

Outcome<std::uint64_t> FakeFileSystem::fileLength(const std::string& path) {
    if (applies(failLength, path))
        return *failLength;
    auto it = files.find(path);
    if (it == files.end())
        return makeFailure(failure::FileNotFound);
    return static_cast<std::uint64_t>(it->second.size());
}

Outcome<std::unique_ptr<ReadFile>> FakeFileSystem::openRead(const std::string& path) {
    if (onOpenRead)
        onOpenRead(path);
    if (applies(failOpenRead, path))
        return *failOpenRead;
    if (!files.count(path))
        return makeFailure(failure::FileNotFound);
    return std::unique_ptr<ReadFile>(new FakeReadFile(*this, path));
}

Outcome<std::unique_ptr<ByteFile>> FakeFileSystem::openReadWrite(const std::string& path) {
    if (applies(failOpenReadWrite, path))
        return *failOpenReadWrite;
    if (!files.count(path))
        return makeFailure(failure::FileNotFound);
    return std::unique_ptr<ByteFile>(new FakeByteFile(*this, path));
}

Outcome<std::unique_ptr<WriteFile>> FakeFileSystem::create(const std::string& path) {
    if (applies(failCreate, path))
        return *failCreate;
    if (!folderExists(folderOf(path)))
        return makeFailure(failure::PathNotFound);
    if (folders.count(path))
        return makeFailure(failure::PathFileAccessError);
    files[path].clear();
    return std::unique_ptr<WriteFile>(new FakeWriteFile(*this, path));
}

Outcome<std::unique_ptr<WriteFile>> FakeFileSystem::createNew(const std::string& path) {
    if (files.count(path) || folders.count(path))
        return makeFailure(failure::FileAlreadyExists);
    return create(path);
}

Status FakeFileSystem::remove(const std::string& path) {
    if (applies(failRemove, path))
        return *failRemove;
    if (!files.erase(path))
        return makeFailure(failure::FileNotFound);
    return {};
}

Status FakeFileSystem::rename(const std::string& from, const std::string& to) {
    if (applies(failRename, from))
        return *failRename;
    auto it = files.find(from);
    if (it == files.end())
        return makeFailure(failure::FileNotFound);
    if (folders.count(to))
        return makeFailure(failure::PathFileAccessError);
    std::string data = std::move(it->second);
    files.erase(it);
    files[to] = std::move(data);
    return {};
}

Status FakeFileSystem::copy(const std::string& from, const std::string& to) {
    if (applies(failCopy, from))
        return *failCopy;
    auto it = files.find(from);
    if (it == files.end())
        return makeFailure(failure::FileNotFound);
    if (folders.count(to))
        return makeFailure(failure::PathFileAccessError);
    const std::string data = it->second;
    const std::size_t old = files.count(to) ? files[to].size() : 0;
    if (capacity && totalBytes() - old + data.size() > *capacity)
        return makeFailure(failure::DiskFull);
    files[to] = data;
    return {};
}

Status FakeFileSystem::createFolder(const std::string& path) {
    if (applies(failCreateFolder, path))
        return *failCreateFolder;
    if (folders.count(path) || files.count(path))
        return makeFailure(failure::PathFileAccessError);
    if (!folderExists(folderOf(path)))
        return makeFailure(failure::PathNotFound);
    folders.insert(path);
    return {};
}

} // namespace zembrel::test
