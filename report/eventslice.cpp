#include "report/eventslice.h"

#include <QCoreApplication>

namespace pellion {

EventSlice::EventSlice(std::chrono::milliseconds interval)
    : m_intervalNs(std::chrono::nanoseconds(interval).count()) {
    m_clock.start();
}

void EventSlice::processEvents() {
    QCoreApplication::processEvents();
    m_clock.restart();
}

void EventSlice::processEventsWhenDue() {
    if (m_clock.nsecsElapsed() >= m_intervalNs)
        processEvents();
}

} // namespace pellion
