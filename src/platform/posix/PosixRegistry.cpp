#include "platform/posix/PosixRegistry.h"

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace zembrel {

namespace {
// The lookup that names the system information tool on Windows.
constexpr const char* kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kToolValue = "PATH";
constexpr Registry::Key kToolKeyHandle = 1;

bool isProgram(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string firstOnPath(const std::string& searchPath) {
    for (const std::string& name : PosixRegistry::candidates()) {
        std::size_t start = 0;
        while (start <= searchPath.size()) {
            const auto colon = std::min(searchPath.find(':', start), searchPath.size());
            const std::string folder = searchPath.substr(start, colon - start);
            if (!folder.empty() && folder.front() == '/' && isProgram(folder + '/' + name))
                return folder + '/' + name;
            start = colon + 1;
        }
    }
    return {};
}
} // namespace

const std::vector<std::string>& PosixRegistry::candidates() {
    static const std::vector<std::string> programs = {"hardinfo", "kinfocenter",
                                                      "gnome-system-monitor"};
    return programs;
}

PosixRegistry::PosixRegistry(std::string searchPath) : m_tool(firstOnPath(searchPath)) {}

long PosixRegistry::open(Key root, const std::string& subKey, std::uint32_t, Key& opened) {
    opened = 0;
    if (root != kLocalMachine || subKey != kToolKey || m_tool.empty())
        return kFileNotFound;
    opened = kToolKeyHandle;
    return kSuccess;
}

long PosixRegistry::query(Key key, const std::string& valueName, std::uint32_t& type, char* buffer,
                          std::uint32_t& size) {
    if (key != kToolKeyHandle || valueName != kToolValue)
        return kFileNotFound;
    type = kString;
    const std::size_t stored = m_tool.size() + 1; // with its terminating NUL, as Windows stores it
    if (stored > size)
        return kMoreData;
    std::memcpy(buffer, m_tool.c_str(), stored);
    size = static_cast<std::uint32_t>(stored);
    return kSuccess;
}

} // namespace zembrel
