#pragma once

#include "platform/Failure.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

// What every POSIX back end does with descriptors: retry what a signal interrupts, close once,
// write everything, name failures by the common numbers.
namespace zembrel {

// Calls op (a system call returning int or ssize_t) again while a signal interrupts it; its
// last result, with errno as the call left it.
template <typename Op> auto retryOnInterrupt(Op&& op) {
    for (;;) {
        const auto result = op();
        if (result >= 0 || errno != EINTR)
            return result;
    }
}

// Owns a descriptor: closes it on destruction unless close() was called (and checked) before.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor();
    Descriptor(Descriptor&& other) noexcept;
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    bool valid() const { return m_fd >= 0; }
    int get() const { return m_fd; }
    // Closes now and reports what the close reports (a write that failed late), once; closing
    // an invalid or already closed descriptor succeeds.
    Status close(const std::string& path);

private:
    int m_fd = -1;
};

// Opens path close-on-exec, retrying when interrupted; an invalid descriptor (errno set) when
// it cannot.
Descriptor openDescriptor(const std::string& path, int flags, mode_t mode = 0);

// Reads up to size bytes at the file position, or at offset when one is given; 0 at the end.
Outcome<std::size_t> readSome(const Descriptor& fd, char* buffer, std::size_t size,
                              const std::string& path,
                              std::optional<std::uint64_t> offset = std::nullopt);

// Writes all of data at the file position, or from offset on when one is given.
Status writeAll(const Descriptor& fd, std::string_view data, const std::string& path,
                std::optional<std::uint64_t> offset = std::nullopt);

// The folder that holds path: "." for a bare name, "/" for a name in the root.
std::string parentFolder(const std::string& path);

bool isFolder(const std::string& path);

// The failure for an errno value met while working on path.
Failure failureFromErrno(int error, const std::string& path);

} // namespace zembrel
