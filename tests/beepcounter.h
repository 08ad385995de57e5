#pragma once

#include "ui/beep.h"

#include <utility>

namespace pellion::testing {

// Counts the beeps while it lives instead of sounding them.
class BeepCounter {
public:
    BeepCounter() : m_previous(setBeepHandler([this] { ++m_count; })) {}
    ~BeepCounter() { setBeepHandler(std::move(m_previous)); }
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;
    int count() const { return m_count; }
    void reset() { m_count = 0; }

private:
    int m_count = 0;
    BeepHandler m_previous;
};

} // namespace pellion::testing
