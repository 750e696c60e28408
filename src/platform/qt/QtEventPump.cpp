#include "platform/qt/QtEventPump.h"

#include <QCoreApplication>

namespace zembrel {

void QtEventPump::processEvents() {
    if (++m_calls < m_stride)
        return;
    m_calls = 0;
    const auto now = Clock::now();
    const auto sinceRead = now - m_lastRead;
    if (sinceRead > std::chrono::milliseconds(2) && m_stride > 1)
        m_stride /= 2;
    else if (sinceRead < std::chrono::microseconds(500) && m_stride < kMaxStride)
        m_stride *= 2;
    m_lastRead = now;
    if (now - m_lastRun < kInterval)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    ++m_runs;
    m_lastRun = m_lastRead = Clock::now();
}

void QtEventPump::processEventsNow() {
    QCoreApplication::processEvents();
}

} // namespace zembrel
