#pragma once

#include "platform/Ui.h"

#include <cstdint>
#include <functional>

namespace zembrel {

// The event pump that the main window's operations yield through: it passes events on to the
// platform's pump and tells a running operation that the window is to close.
class OperationEvents final : public EventPump {
public:
    explicit OperationEvents(EventPump& pump) : m_pump(pump) {}

    void processEvents() override { m_pump.processEvents(); }
    void processEventsNow() override { m_pump.processEventsNow(); }
    bool stopRequested() const override { return m_stop || m_pump.stopRequested(); }
    void reportProgress(std::uint64_t done, std::uint64_t total) override {
        if (onProgress)
            onProgress(done, total);
    }
    void requestStop() { m_stop = true; }
    std::function<void(std::uint64_t done, std::uint64_t total)> onProgress;

private:
    EventPump& m_pump;
    bool m_stop = false;
};

} // namespace zembrel
