#include "shell/SetUpFolders.h"

#include "platform/Text.h"

namespace zembrel {

namespace {

constexpr char kIniOption[] = "/INI=";

class FolderSetUp {
public:
    FolderSetUp(AppState& state, Environment& env, FileSystem& files, MessageBoxes& boxes,
                const PathRules& paths)
        : m_state(state), m_env(env), m_files(files), m_boxes(boxes), m_paths(paths) {}

    void run() {
        m_state.ProgramFolder = m_paths.withSeparator(m_env.executableFolder());
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
        m_state.DataFolder = m_paths.withSeparator(m_state.DataFolder);
        const auto exists = folderTest(m_state.DataFolder);
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
        m_state.DataFolder = m_paths.withSeparator(m_paths.withoutSeparator(local.value())) +
                             kFamilyFolderName + m_paths.separator;
    }

    void createWhenMissing() {
        const auto exists = folderTest(m_state.DataFolder);
        if (!exists)
            fail(exists.failure());
        if (exists && exists.value())
            return;
        if (const Status created =
                m_files.createFolder(m_paths.withoutSeparator(m_state.DataFolder));
            !created)
            fail(created.failure());
    }

    // Whether a folder exists; a name that the platform cannot take at all is a failure.
    Outcome<bool> folderTest(const std::string& folder) {
        if (!m_paths.acceptsFolderName(folder))
            return makeFailure(failure::BadFileName);
        return m_files.folderExists(m_paths.withoutSeparator(folder));
    }

    AppState& m_state;
    Environment& m_env;
    FileSystem& m_files;
    MessageBoxes& m_boxes;
    const PathRules& m_paths;
};

} // namespace

void SetUpFolders(AppState& state, Environment& env, FileSystem& files, MessageBoxes& boxes,
                  const PathRules& paths) {
    FolderSetUp(state, env, files, boxes, paths).run();
}

} // namespace zembrel
