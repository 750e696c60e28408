#pragma once

#include "platform/Ui.h"

namespace zembrel {

// The application-wide pointer through Qt's override cursor. Setting busy twice needs only one
// reset: the pointer is either busy or normal, never stacked.
class QtBusyPointer final : public BusyPointer {
public:
    QtBusyPointer() = default;
    QtBusyPointer(const QtBusyPointer&) = delete;
    QtBusyPointer& operator=(const QtBusyPointer&) = delete;
    ~QtBusyPointer() override;
    void setBusy(bool busy) override;

private:
    bool m_busy = false;
};

} // namespace zembrel
