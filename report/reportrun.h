#pragma once

// One production of the usage report onto a print target. At its start the
// run takes everything it prints: the layout with the labels' texts as the
// main window set them, and a snapshot of the records (recordsnapshot.h).
// It then prints the title band, one detail band per record and the summary
// band, starting a new page whenever a band does not fit. Where the pages go
// is the print target's business (the printer, the preview's page images, or
// any other destination behind the same target), so every destination gets
// the same pages.
//
// Window events are processed on a time slice (eventslice.h) so that the
// windows stay responsive; what the user does meanwhile reaches neither the
// layout nor the records the run took.

#include "report/eventslice.h"
#include "report/recordsnapshot.h"
#include "reportlayout/pageflow.h"
#include "reportlayout/reportlayout.h"

#include <QDateTime>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace pellion {

class ApplianceTable;
class ReportPrinter;

class ReportRun {
public:
    // `moment` is the date and time the title shows.
    ReportRun(const ReportLayout& layout, ApplianceTable& table, QDateTime moment,
              std::chrono::milliseconds eventInterval = reportEventInterval);

    int recordCount() const { return m_records.recordCount(); }

    // Prints the bands onto a target whose document has begun. True when
    // every record was printed and the summary after them; false when the
    // target's cancelled flag stopped the walk, or `cancelled` held before
    // the first band.
    bool produce(ReportPrinter& target, const std::function<bool()>& cancelled);

private:
    void printBand(BandType type, int record);
    void startPage();
    QString controlText(const ReportControl& control, int column, int record) const;
    void setProgress(int percent);

    ReportLayout m_layout;
    // Per band and control, the control's column in the snapshot; -1 for
    // controls that are not data fields.
    std::vector<std::vector<int>> m_columns;
    RecordSnapshot m_records;
    QDateTime m_moment;
    EventSlice m_events;
    ReportPrinter* m_target = nullptr;
    std::optional<PageFlow> m_flow;
    int m_progress = -1;
};

} // namespace pellion
