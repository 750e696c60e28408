#pragma once

#include "platform/FileDialog.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace zembrel::test {

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

} // namespace zembrel::test
