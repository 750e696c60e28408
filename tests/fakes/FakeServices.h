#pragma once

#include "core/ModalWindows.h"
#include "platform/Environment.h"
#include "platform/FileDialog.h"
#include "platform/HelpViewer.h"
#include "platform/IniText.h"
#include "platform/ProfileStore.h"
#include "platform/ProgramStarter.h"
#include "platform/SoundPlayer.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// The services outside the file system, each as plain values that record their calls.
namespace zembrel::test {

// The program's surroundings as plain values.
class FakeEnvironment final : public Environment {
public:
    std::string programFolder = "/opt/zembrel";
    std::string line;
    Outcome<std::string> localAppData = std::string("/home/ann/.config");
    std::string home = "/home/ann";

    std::string executableFolder() override { return programFolder; }
    std::string commandLine() override { return line; }
    Outcome<std::string> localAppDataFolder() override { return localAppData; }
    std::string homeFolder() override { return home; }
};

// Answers from a queue (a cancel when it is empty) and keeps the options of every call.
class FakeFileDialog final : public FileDialog {
public:
    std::deque<std::optional<FileChoice>> answers;
    std::vector<FileDialogOptions> asked;
    std::function<void()> onOpen;

    std::optional<FileChoice> open(const FileDialogOptions& options) override {
        asked.push_back(options);
        if (onOpen)
            onOpen();
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void choose(const std::string& path, const std::string& name) {
        answers.push_back(FileChoice{path, name});
    }
    void cancel() { answers.push_back(std::nullopt); }
};

class FakeHelpViewer final : public HelpViewer {
public:
    std::vector<std::string> shown;
    void showContents(const std::string& helpFile) override { shown.push_back(helpFile); }
};

// Records which window was opened; onOpen runs while it is "open".
class FakeModalWindows final : public ModalWindows {
public:
    std::vector<std::string> opened;
    std::function<void(const std::string&)> onOpen;

    void showVideoPlayerWindow() override { open("frmVideoSet"); }
    void showAboutWindow() override { open("frmAbout"); }

private:
    void open(const char* name) {
        opened.emplace_back(name);
        if (onOpen)
            onOpen(name);
    }
};

// Records each start; fails those for which failures holds a description (in order).
class FakeProgramStarter final : public ProgramStarter {
public:
    std::vector<std::pair<std::string, Show>> started;
    std::deque<std::string> failures; // "" : the start succeeds
    std::function<void()> onStart;

    Status start(const std::string& commandLine, Show show) override {
        started.emplace_back(commandLine, show);
        if (onStart)
            onStart();
        const std::string reason = failures.empty() ? "" : failures.front();
        if (!failures.empty())
            failures.pop_front();
        return reason.empty() ? Status{} : Status{Failure{failure::FileNotFound, reason}};
    }
};

// Settings files in memory: file -> section -> key -> value, names compared as given. Keeps the
// calls in order; refuses what every store refuses.
class FakeProfileStore final : public ProfileStore {
public:
    struct Read {
        std::string section, key, file;
    };
    struct Write {
        std::string section, key, value, file;
    };
    using Key = std::tuple<std::string, std::string, std::string>; // file, section, key

    std::map<Key, std::string> values;
    std::vector<Read> reads;
    std::vector<Write> writes;
    // When set, a file for which it answers false holds nothing (lets a test delete a file).
    std::function<bool(const std::string&)> fileExists;

    void set(const std::string& file, const std::string& section, const std::string& key,
             const std::string& value) {
        values[{file, section, key}] = value;
    }
    const std::string* get(const std::string& file, const std::string& section,
                           const std::string& key) const {
        const auto it = values.find({file, section, key});
        return it == values.end() ? nullptr : &it->second;
    }

    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, std::size_t,
                          const std::string& file) override {
        reads.push_back({section, key, file});
        const std::string* value =
            !fileExists || fileExists(file) ? get(file, section, key) : nullptr;
        return value ? *value : defaultValue;
    }
    Status writeString(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) override {
        if (!ini::isWritable(section, key, value))
            return makeFailure(failure::InvalidCall);
        writes.push_back({section, key, value, file});
        set(file, section, key, value);
        return {};
    }
};

// Records the wave files it was asked to play.
class FakeSoundPlayer final : public SoundPlayer {
public:
    std::vector<std::string> played;
    void play(const std::string& path) override { played.push_back(path); }
};

} // namespace zembrel::test
