#pragma once

#include "core/MainSurface.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zembrel::test {

struct ShownBox {
    std::string text;
    MessageButtons buttons;
    MessageIcon icon;
    std::string title;
};

// Records every message box and answers Yes/No boxes from a queue (Yes, the default button,
// when the queue is empty).
class FakeBoxes final : public MessageBoxes {
public:
    std::vector<ShownBox> shown;
    std::deque<MessageAnswer> answers;
    std::function<void(const ShownBox&)> onShow;

    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                       const std::string& title) override {
        shown.push_back({text, buttons, icon, title});
        if (onShow)
            onShow(shown.back());
        if (buttons == MessageButtons::Ok)
            return MessageAnswer::Ok;
        if (answers.empty())
            return MessageAnswer::Yes;
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
};

// Checks one message box: its text, icon and buttons, and the application title.
inline void expectBox(const ShownBox& box, const std::string& text, MessageIcon icon,
                      MessageButtons buttons = MessageButtons::Ok) {
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.icon, icon) << box.text;
    EXPECT_EQ(box.buttons, buttons) << box.text;
    EXPECT_EQ(box.title, kAppTitle) << box.text;
}

class FakeEvents final : public EventPump {
public:
    long calls = 0;
    long immediateCalls = 0;
    std::function<void()> onProcess;
    std::function<void()> onProcessNow;
    // The user closes the program once the events have been processed this many times.
    long stopAfter = -1;
    void processEvents() override {
        ++calls;
        if (onProcess)
            onProcess();
    }
    void processEventsNow() override {
        ++immediateCalls;
        if (onProcessNow)
            onProcessNow();
    }
    bool stopRequested() const override { return stopAfter >= 0 && calls >= stopAfter; }
};

class FakePointer final : public BusyPointer {
public:
    std::vector<bool> changes;
    bool busy = false;
    std::function<void(bool)> onSetBusy;
    void setBusy(bool b) override {
        busy = b;
        changes.push_back(b);
        if (onSetBusy)
            onSetBusy(b);
    }
};

// The main window as plain values, with the history of the label's texts and of the
// progress bar.
class FakeSurface final : public MainSurface {
public:
    std::string resultsText;
    std::vector<std::string> resultsHistory;
    std::string purgeCaption = "Purge";
    std::map<std::string, bool, std::less<>> enabled;
    std::string fileName;
    std::vector<std::optional<int>> progress;
    int closes = 0;

    void setResults(const std::string& text) override {
        resultsText = text;
        resultsHistory.push_back(text);
    }
    int redraws = 0;
    void redrawResults() override { ++redraws; }
    void setControlEnabled(std::string_view name, bool e) override {
        enabled[std::string(name)] = e;
    }
    void setPurgeCaption(const std::string& caption) override { purgeCaption = caption; }
    void setFileName(const std::string& name) override { fileName = name; }
    void setProgress(std::optional<int> shown) override { progress.push_back(shown); }
    void closeWindow() override { ++closes; }
    float topTwips = 0;
    float leftTwips = 0;
    bool voiceChecked = false;
    void setPosition(float t, float l) override {
        topTwips = t;
        leftTwips = l;
    }
    float top() const override { return topTwips; }
    float left() const override { return leftTwips; }
    void setVoiceChecked(bool checked) override { voiceChecked = checked; }
};

} // namespace zembrel::test
