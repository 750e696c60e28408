#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace zembrel::test {

// Answers the modal dialogs that the program under test opens in its own process, from a thread
// of its own, as a user would: a file dialog gets the next path of the script typed into its name
// box and OK (an empty path: Cancel), a message box its default button. The texts of the message
// boxes are kept in the order they came, and apart those that another window of the program
// overlapped, where the user might not see them.
class DialogDriver {
public:
    explicit DialogDriver(std::deque<std::string> paths);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    std::vector<std::string> messages() const;
    std::vector<std::string> overlappedMessages() const;
    int fileDialogs() const { return m_fileDialogs; }

private:
    void answer(HWND dialog);

    std::deque<std::string> m_paths;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_overlapped;
    std::set<HWND> m_answered;
    std::atomic<int> m_fileDialogs{0};
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::thread m_thread;
};

} // namespace zembrel::test
