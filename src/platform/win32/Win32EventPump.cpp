#include "platform/win32/Win32EventPump.h"

#include "platform/win32/Win32MessageLoop.h"

namespace zembrel {

void Win32EventPump::processEvents() {
    if (!m_throttle.due())
        return;
    processEventsNow();
    m_throttle.ran();
}

void Win32EventPump::processEventsNow() {
    if (!runPendingMessages())
        m_quit = true;
}

} // namespace zembrel
