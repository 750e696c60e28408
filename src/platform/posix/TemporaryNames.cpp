#include "platform/posix/TemporaryNames.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace zembrel {

namespace {

// A fixed table: the signal handler may neither allocate nor lock.
struct Slot {
    std::atomic<bool> ready{false};
    std::atomic<bool> taken{false};
    char path[PATH_MAX] = {};
};
std::array<Slot, 64> g_slots;

int take(const std::string& path) {
    if (path.size() >= PATH_MAX)
        return -1;
    for (std::size_t i = 0; i < g_slots.size(); ++i) {
        bool expected = false;
        if (g_slots[i].taken.compare_exchange_strong(expected, true)) {
            std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
            g_slots[i].ready.store(true);
            return static_cast<int>(i);
        }
    }
    return -1;
}

void give(int slot) {
    if (slot < 0)
        return;
    g_slots[static_cast<std::size_t>(slot)].ready.store(false);
    g_slots[static_cast<std::size_t>(slot)].taken.store(false);
}

extern "C" void onInterrupt(int signal) {
    for (auto& slot : g_slots) {
        if (slot.ready.load())
            ::unlink(slot.path);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

TemporaryName::TemporaryName(const std::string& path) : m_path(path), m_slot(take(path)) {}

TemporaryName::~TemporaryName() {
    removeFile();
}

TemporaryName::TemporaryName(TemporaryName&& other) noexcept
    : m_path(std::move(other.m_path)), m_slot(std::exchange(other.m_slot, -1)) {
    other.m_path.clear();
}

TemporaryName& TemporaryName::operator=(TemporaryName&& other) noexcept {
    if (this != &other) {
        removeFile();
        m_path = std::move(other.m_path);
        other.m_path.clear();
        m_slot = std::exchange(other.m_slot, -1);
    }
    return *this;
}

void TemporaryName::release() {
    give(std::exchange(m_slot, -1));
    m_path.clear();
}

void TemporaryName::removeFile() {
    if (!m_path.empty())
        ::unlink(m_path.c_str());
    release();
}

void removeTemporariesOnInterrupt() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

void failWritesInsteadOfSignals() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace zembrel
