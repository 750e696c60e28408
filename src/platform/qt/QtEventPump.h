#pragma once

#include "platform/EventThrottle.h"
#include "platform/Ui.h"

namespace zembrel {

// Lets Qt process pending events where the logic yields, as often as the throttle allows.
class QtEventPump final : public EventPump {
public:
    static constexpr auto kInterval = EventThrottle::kInterval;

    void processEvents() override;
    void processEventsNow() override;
    // How many calls pass between two readings of the clock (for tests).
    unsigned stride() const { return m_throttle.stride(); }
    long eventRuns() const { return m_throttle.runs(); }

private:
    EventThrottle m_throttle;
};

} // namespace zembrel
