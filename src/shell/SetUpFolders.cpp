#include "shell/SetUpFolders.h"

#include "platform/PathSeparator.h"

#include <string_view>

namespace zembrel {

namespace {

constexpr char kIniOption[] = "/INI=";

bool endsWithSeparator(const std::string& path) {
    return !path.empty() && path.back() == kPathSeparator;
}

std::string withSeparator(std::string path) {
    if (!endsWithSeparator(path))
        path += kPathSeparator;
    return path;
}

// The folder as the file system calls want it: without its last separator, except for a root.
std::string withoutSeparator(std::string path) {
    if (path.size() > 1 && endsWithSeparator(path) && path[path.size() - 2] != ':')
        path.pop_back();
    return path;
}

// Whether a folder exists; a name that the platform cannot take at all is a failure.
Outcome<bool> folderTest(FileSystem& files, const std::string& folder) {
    if (folder.find('\0') != std::string::npos)
        return makeFailure(failure::BadFileName);
#ifdef _WIN32
    for (std::size_t i = 0; i < folder.size(); ++i) {
        const auto c = static_cast<unsigned char>(folder[i]);
        if (c < 32 ||
            std::string_view("<>\"|?*").find(static_cast<char>(c)) != std::string_view::npos ||
            (c == ':' && i != 1))
            return makeFailure(failure::BadFileName);
    }
#endif
    return files.folderExists(withoutSeparator(folder));
}

class FolderSetUp {
public:
    FolderSetUp(AppState& state, Environment& env, FileSystem& files, MessageBoxes& boxes)
        : m_state(state), m_env(env), m_files(files), m_boxes(boxes) {}

    void run() {
        m_state.ProgramFolder = withSeparator(m_env.executableFolder());
        m_state.DataFolder.clear();
        const std::string line = m_env.commandLine();
        const auto option = upperCaseAscii(line).find(kIniOption);
        if (option != std::string::npos)
            takeFolderOption(line, option);
        if (m_state.DataFolder.empty()) {
            takeDefaultFolder();
            createWhenMissing();
        }
        createWhenMissing();
        m_state.SuiteSettingsFile = m_state.DataFolder + kSuiteSettingsFileName;
        const std::string home = m_env.homeFolder();
        m_state.HomeFolder = home.empty() ? std::string() : withSeparator(home);
    }

private:
    // The failure rule: report, fall back to the program's folder, and go on with the next step.
    void fail(const Failure& f) {
        m_boxes.show(errorText(f) + ".", MessageButtons::Ok, MessageIcon::None, kAppTitle);
        m_state.DataFolder = m_state.ProgramFolder;
    }

    // "/INI=" then one character (the opening quote, not looked at), the folder, a closing quote.
    void takeFolderOption(const std::string& line, std::size_t option) {
        const std::size_t start = option + (sizeof kIniOption - 1) + 1;
        const auto close = line.find('"', start);
        if (close == std::string::npos)
            fail(makeFailure(failure::InvalidCall));
        else
            m_state.DataFolder = line.substr(start, close - start);
        if (!endsWithSeparator(m_state.DataFolder))
            m_state.DataFolder += kPathSeparator;
        const auto exists = folderTest(m_files, m_state.DataFolder);
        if (!exists)
            fail(exists.failure());
        // A failed test runs the action it guards.
        if (!exists || !exists.value())
            m_state.DataFolder.clear();
    }

    void takeDefaultFolder() {
        auto local = m_env.localAppDataFolder();
        if (local && local->empty())
            local = makeFailure(failure::PathNotFound);
        // Without a local application data folder the settings live beside the program.
        if (!local) {
            fail(local.failure());
            return;
        }
        m_state.DataFolder =
            withSeparator(withoutSeparator(local.value())) + kFamilyFolderName + kPathSeparator;
    }

    void createWhenMissing() {
        const auto exists = folderTest(m_files, m_state.DataFolder);
        if (!exists)
            fail(exists.failure());
        if (exists && exists.value())
            return;
        if (const Status created = m_files.createFolder(withoutSeparator(m_state.DataFolder));
            !created)
            fail(created.failure());
    }

    AppState& m_state;
    Environment& m_env;
    FileSystem& m_files;
    MessageBoxes& m_boxes;
};

} // namespace

void SetUpFolders(AppState& state, Environment& env, FileSystem& files, MessageBoxes& boxes) {
    FolderSetUp(state, env, files, boxes).run();
}

} // namespace zembrel
