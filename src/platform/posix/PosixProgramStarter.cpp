#include "platform/posix/PosixProgramStarter.h"

#include "platform/CommandLine.h"
#include "platform/posix/PosixIo.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace zembrel {

namespace {

bool isVlc(const std::string& name) {
    return name == "vlc" || name == "cvlc" || name == "qvlc";
}

// The spawn's settings, released however the start ends.
struct SpawnSettings {
    SpawnSettings() {
        posix_spawnattr_init(&attributes);
        posix_spawn_file_actions_init(&actions);
        // Its own session: no signal from this program's terminal reaches it. No signal blocked,
        // and the ones this program handles or ignores back at their defaults.
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int signal : {SIGPIPE, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGCHLD})
            sigaddset(&defaults, signal);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes,
                                 static_cast<short>(POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                                    POSIX_SPAWN_SETSIGDEF));
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    }
    ~SpawnSettings() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;
};

Failure startFailure(int error, const std::string& program) {
    // A file that is no program: what a Windows start reports for one.
    if (error == ENOEXEC)
        return makeFailure(failure::InvalidCall);
    return failureFromErrno(error, program);
}

// Collects the program's exit status when it ends, so that it leaves no zombie behind.
void reapWhenDone(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

} // namespace

std::vector<std::string> playerArguments(const std::string& program,
                                         std::vector<std::string> arguments) {
    const std::string name = program.substr(program.find_last_of('/') + 1);
    if (!isVlc(name) && name != "mpv")
        return arguments;
    std::vector<std::string> result;
    std::size_t i = 0;
    bool close = false;
    for (; i < arguments.size() && (arguments[i] == "/play" || arguments[i] == "/close"); ++i)
        close = close || arguments[i] == "/close";
    if (close && isVlc(name))
        result.emplace_back("--play-and-exit");
    result.insert(result.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i),
                  arguments.end());
    return result;
}

Status PosixProgramStarter::start(const std::string& commandLine, Show) {
    std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty() || words.front().empty())
        return makeFailure(failure::FileNotFound);
    const std::string program = words.front();
    if (program.find('/') != std::string::npos && isFolder(program))
        return startFailure(EISDIR, program);
    std::vector<std::string> arguments =
        playerArguments(program, std::vector<std::string>(words.begin() + 1, words.end()));
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    SpawnSettings settings;
    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, program.c_str(), &settings.actions, &settings.attributes,
                                     argv.data(), environ);
    if (error != 0)
        return startFailure(error, program);
    reapWhenDone(pid);
    return {};
}

} // namespace zembrel
