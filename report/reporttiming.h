#pragma once

// Timing lines for measuring Print and Print Preview on the real program from
// outside (bench/report_on_display.sh). Only when the environment variable
// PELLION_REPORT_TIMING is set, one line per moment goes to standard error:
//
//   pellion-timing: preview first-page 84.2 ms pages=1
//   pellion-timing: preview finished 1630.5 ms pages=167
//   pellion-timing: print queued 2012.0 ms pages=167
//
// The clock starts when the command starts.

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

namespace pellion {

class ReportTiming {
public:
    explicit ReportTiming(const char* command);

    static bool enabled();
    // Writes one line, once per moment.
    void note(const char* moment, int pages);

private:
    const char* m_command;
    QElapsedTimer m_clock;
    QStringList m_noted;
};

} // namespace pellion
