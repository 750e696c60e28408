#include "platform/posix/PosixEnvironment.h"

#include "platform/Text.h"
#include "platform/posix/PosixIo.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace zembrel {

namespace {

constexpr std::string_view kIniOption = "/INI=";

bool startsWithIniOption(std::string_view argument) {
    return sameIgnoringAsciiCase(argument.substr(0, kIniOption.size()), kIniOption);
}

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string withoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

} // namespace

std::string commandLineFromArguments(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line += ' ';
        const std::size_t n = kIniOption.size();
        if (startsWithIniOption(argument) && (argument.size() == n || argument[n] != '"'))
            line += argument.substr(0, n) + '"' + argument.substr(n) + '"';
        else if (argument.find_first_of(" \t") != std::string::npos)
            line += '"' + argument + '"';
        else
            line += argument;
    }
    return line;
}

PosixEnvironment::PosixEnvironment(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        m_arguments.emplace_back(argv[i]);
}

std::string PosixEnvironment::executableFolder() {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) {
        // Without /proc the current folder is the best guess.
        char* here = ::getcwd(nullptr, 0);
        std::string folder = here ? here : ".";
        std::free(here);
        return withoutTrailingSlashes(folder);
    }
    path.resize(static_cast<std::size_t>(n));
    return parentFolder(path);
}

std::string PosixEnvironment::commandLine() {
    return commandLineFromArguments(m_arguments);
}

Outcome<std::string> PosixEnvironment::localAppDataFolder() {
    std::string folder = variable("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG rules say.
    if (!folder.empty() && folder.front() == '/') {
        folder = withoutTrailingSlashes(folder);
    } else {
        const std::string home = homeFolder();
        if (home.empty())
            return makeFailure(failure::PathNotFound);
        folder = (home == "/" ? std::string() : home) + "/.config";
    }
    // A fresh account may have none yet: made as the XDG rules say, for its owner alone. When
    // it cannot be made, making the family's folder in it fails and says why.
    if (!isFolder(folder))
        ::mkdir(folder.c_str(), 0700);
    return folder;
}

std::string PosixEnvironment::homeFolder() {
    return withoutTrailingSlashes(variable("HOME"));
}

} // namespace zembrel
