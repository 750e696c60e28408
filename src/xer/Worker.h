#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace zembrel::xer {

// Runs one job at a time on a thread of its own, so that writing a file overlaps the work on the
// next blocks. The thread starts with the first job and ends with the
// object, which waits for the job first.
class Worker {
public:
    Worker() = default;
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    ~Worker();

    // Starts job once the one before it has ended; false when no thread can be had (then the
    // caller does the work itself).
    bool start(std::function<void()> job);
    // Waits until the job started last has ended; an exception it threw is thrown here.
    void wait();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_job;
    std::exception_ptr m_thrown;
    bool m_busy = false;
    bool m_quit = false;
    std::thread m_thread;
};

} // namespace zembrel::xer
