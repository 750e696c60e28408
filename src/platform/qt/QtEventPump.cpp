#include "platform/qt/QtEventPump.h"

#include <QCoreApplication>

namespace zembrel {

void QtEventPump::processEvents() {
    if (!m_throttle.due())
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_throttle.ran();
}

void QtEventPump::processEventsNow() {
    QCoreApplication::processEvents();
}

} // namespace zembrel
