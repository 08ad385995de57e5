#include "report/reporttiming.h"

#include <cstdio>

namespace pellion {

ReportTiming::ReportTiming(const char* command) : m_command(command) {
    m_clock.start();
}

bool ReportTiming::enabled() {
    static const bool on = !qEnvironmentVariableIsEmpty("PELLION_REPORT_TIMING");
    return on;
}

void ReportTiming::note(const char* moment, int pages) {
    if (!enabled() || m_noted.contains(QLatin1String(moment)))
        return;
    m_noted << QLatin1String(moment);
    std::fprintf(stderr, "pellion-timing: %s %s %.1f ms pages=%d\n", m_command, moment,
                 static_cast<double>(m_clock.nsecsElapsed()) / 1e6, pages);
    std::fflush(stderr);
}

} // namespace pellion
