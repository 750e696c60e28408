#pragma once

#include <string>

namespace zembrel {

// The names of temporary files that this process has made and not yet kept or removed, so that
// an interrupted program (SIGINT, SIGTERM, SIGHUP) removes them before it ends. Safe to use from
// several threads and from the signal handler.
class TemporaryName {
public:
    TemporaryName() = default;
    explicit TemporaryName(const std::string& path);
    ~TemporaryName();
    TemporaryName(TemporaryName&& other) noexcept;
    TemporaryName& operator=(TemporaryName&& other) noexcept;
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;

    bool empty() const { return m_path.empty(); }
    const std::string& path() const { return m_path; }
    // The file now has a name of its own (or is gone): nothing to remove any more.
    void release();
    // Removes the file now.
    void removeFile();

private:
    std::string m_path;
    int m_slot = -1;
};

// Installs the handlers that remove the registered files when the program is interrupted, and
// then let the signal end it as it would have.
void removeTemporariesOnInterrupt();

// A closed pipe (SIGPIPE) or a file-size limit (SIGXFSZ) would end the program without a
// word, and leave a hidden file behind: ignored, they make the write fail (EPIPE, EFBIG), and
// the failure is reported as any other.
void failWritesInsteadOfSignals();

} // namespace zembrel
