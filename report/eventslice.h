#pragma once

// Lets the windows take their events while a report run works on the
// user-interface thread: once a slice of time has passed, not before every
// record. Asking for events costs far more than drawing a line, and each
// time it was asked the windows could repaint; a slice of about 10 ms still
// lets Cancel, Close and the preview's keys respond within a frame.

#include <QElapsedTimer>

#include <chrono>

namespace pellion {

constexpr std::chrono::milliseconds reportEventInterval{10};

class EventSlice {
public:
    // An interval of 0 processes events at every call of processEventsWhenDue.
    explicit EventSlice(std::chrono::milliseconds interval = reportEventInterval);

    // Processes the pending events now; a new slice begins.
    void processEvents();
    // Processes them only when the slice has passed.
    void processEventsWhenDue();

private:
    qint64 m_intervalNs;
    QElapsedTimer m_clock;
};

} // namespace pellion
