#include "report/reportrun.h"

#include "report/controlpainter.h"
#include "report/controltext.h"
#include "report/reportprinter.h"

#include <QDateTime>

#include <string>
#include <utility>

namespace pellion {

namespace {

// The field names of the layout's data fields, and for every control its
// place among them.
std::vector<std::string> dataFieldNames(const ReportLayout& layout,
                                        std::vector<std::vector<int>>& columns) {
    std::vector<std::string> names;
    for (const ReportBand& band : layout.bands) {
        std::vector<int>& bandColumns = columns.emplace_back();
        for (const ReportControl& control : band.controls) {
            if (control.kind != ControlKind::DataField) {
                bandColumns.push_back(-1);
                continue;
            }
            bandColumns.push_back(static_cast<int>(names.size()));
            names.push_back(control.fieldName);
        }
    }
    return names;
}

} // namespace

ReportRun::ReportRun(const ReportLayout& layout, ApplianceTable& table, QDateTime moment,
                     std::chrono::milliseconds eventInterval)
    : m_layout(layout), m_records(table, dataFieldNames(m_layout, m_columns)),
      m_moment(std::move(moment)), m_events(eventInterval) {}

bool ReportRun::produce(ReportPrinter& target, const std::function<bool()>& cancelled) {
    m_target = &target;
    const ReportPage& page = m_layout.page;
    m_flow.emplace(PageFlowGeometry{target.paperLength(), page.topMargin, page.bottomMargin,
                                    page.leftMargin, page.usableLength()});
    const int records = recordCount();
    if (records == 0) {
        if (m_layout.printIfEmpty) {
            printBand(BandType::Title, -1);
            printBand(BandType::SubDetail, -1); // a blank line
            printBand(BandType::Summary, -1);
        }
        return true;
    }
    m_events.processEvents();
    if (cancelled())
        return false;
    // Data fields outside the detail band show the record the walk is on:
    // the first one at the title, the last one at the summary.
    printBand(BandType::Title, 0);
    for (int record = 0; record < records; ++record) {
        m_events.processEventsWhenDue();
        if (target.cancelled())
            return false; // no summary after a cancel
        printBand(BandType::SubDetail, record);
        setProgress((record + 1) * 100 / records);
    }
    if (!m_flow->pageStarted())
        startPage();
    printBand(BandType::Summary, records - 1);
    return true;
}

// The progress windows hear of a change only: a long list would otherwise
// queue one notification per record.
void ReportRun::setProgress(int percent) {
    if (percent == m_progress)
        return;
    m_progress = percent;
    m_target->setProgress(percent);
}

void ReportRun::startPage() {
    m_target->newPage();
    m_flow->startPage();
}

void ReportRun::printBand(BandType type, int record) {
    const ReportBand& band = m_layout.band(type);
    const auto bandIndex = static_cast<std::size_t>(&band - m_layout.bands.data());
    const int height = band.wholeHeight();
    if (m_flow->needsNewPage(height))
        startPage();
    const double x = m_flow->currentX();
    const double y = m_flow->currentY();
    fillPageArea(*m_target, x, y, band.width, height);
    const std::vector<int>& columns = m_columns[bandIndex];
    for (std::size_t index = 0; index < band.controls.size(); ++index) {
        const ReportControl& control = band.controls[index];
        drawControl(*m_target, control, controlText(control, columns[index], record), x, y);
    }
    m_flow->advance(height);
}

QString ReportRun::controlText(const ReportControl& control, int column, int record) const {
    switch (control.kind) {
    case ControlKind::Label:
        return QString::fromStdString(control.text);
    case ControlKind::DataField: {
        const std::string_view text = m_records.text(record, column);
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    case ControlKind::DateTime:
        return dateTimeText(m_moment);
    }
    return {};
}

} // namespace pellion
