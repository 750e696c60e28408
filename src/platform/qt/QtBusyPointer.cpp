#include "platform/qt/QtBusyPointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace zembrel {

QtBusyPointer::~QtBusyPointer() {
    setBusy(false);
}

void QtBusyPointer::setBusy(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

} // namespace zembrel
