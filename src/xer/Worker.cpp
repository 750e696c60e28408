#include "xer/Worker.h"

#include <system_error>
#include <utility>

namespace zembrel::xer {

Worker::~Worker() {
    if (!m_thread.joinable())
        return;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_busy; });
        m_quit = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool Worker::start(std::function<void()> job) {
    wait();
    if (!m_thread.joinable()) {
        try {
            m_thread = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            return false;
        }
    }
    {
        const std::lock_guard lock(m_mutex);
        m_job = std::move(job);
        m_busy = true;
    }
    m_changed.notify_all();
    return true;
}

void Worker::wait() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_busy; });
    if (m_thrown)
        std::rethrow_exception(std::exchange(m_thrown, nullptr));
}

void Worker::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_busy || m_quit; });
        if (!m_busy)
            return;
        std::function<void()> job = std::move(m_job);
        lock.unlock();
        try {
            job();
        } catch (...) {
            lock.lock();
            m_thrown = std::current_exception();
            lock.unlock();
        }
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

} // namespace zembrel::xer
