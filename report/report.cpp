#include "report/report.h"

#include "ledger/appliancetable.h"
#include "report/progressform.h"
#include "report/reportprinter.h"
#include "report/reportrun.h"
#include "report/reporttiming.h"

#include <QPrinterInfo>
#include <QScopeGuard>

#include <memory>

namespace pellion {

Report::Report(ApplianceTable& table, QObject* parent)
    : QObject(parent), m_table(table), m_layout(usageReportLayout()) {
    setObjectName(QStringLiteral("rptprint"));
}

void Report::setPageRange(int firstPage, int lastPage) {
    m_firstPage = firstPage;
    m_lastPage = lastPage;
}

void Report::cancel() {
    if (!m_busy)
        return;
    m_cancelled = true;
    if (m_target != nullptr)
        m_target->cancel();
}

void Report::copySettingsTo(ReportPrinter& target) const {
    if (!m_printerName.isEmpty() && m_printerName != target.printerName())
        target.setPrinterName(m_printerName);
    target.setPaperSize(m_layout.page.paperCode);
    target.setOrientation(m_layout.page.orientation);
    target.setCopies(m_copies);
    target.setFirstPage(m_firstPage);
    target.setLastPage(m_lastPage);
    target.setTitle(QString::fromStdString(m_layout.title));
}

void Report::run(ReportPrinter& target) {
    if (m_busy)
        return;
    m_busy = true;
    m_cancelled = false;
    m_target = &target;
    const auto idle = qScopeGuard([this] {
        m_target = nullptr;
        m_busy = false;
    });
    settleTable();
    ReportRun run(m_layout, m_table, m_clock(), m_eventInterval);
    bool complete = false;
    try {
        copySettingsTo(target);
        target.beginDocument();
        complete = run.produce(target, [this] { return m_cancelled; });
    } catch (...) {
        try {
            finishDocument(target);
        } catch (...) {
            // The first failure is the one the user needs to see.
        }
        throw;
    }
    finishDocument(target);
    if (complete)
        leaveTableOnLastRecord();
}

// A record being edited is posted (an insert nobody typed into is dropped)
// before the records are taken, as any move of the table's cursor would.
void Report::settleTable() {
    if (!m_table.isOpen())
        return;
    const TableState state = m_table.state();
    if (state != TableState::Editing && state != TableState::Inserting)
        return;
    if (m_table.modified())
        m_table.PostRecord();
    else
        m_table.CancelRecord();
}

void Report::finishDocument(ReportPrinter& target) {
    if (m_cancelled)
        target.abortDocument();
    else
        target.endDocument();
}

// Not while the user is editing a record: the move would post it half typed.
void Report::leaveTableOnLastRecord() {
    if (m_table.isOpen() && m_table.state() == TableState::Browsing)
        m_table.GoLast();
}

void Report::print() {
    ReportTiming timing("print");
    if (m_busy)
        return;
    if (QPrinterInfo::availablePrinters().isEmpty())
        return;
    ReportPrinter target;
    target.setPrinterDestination();
    std::unique_ptr<ProgressForm> progress;
    if (m_layout.showProgress) {
        progress = std::make_unique<ProgressForm>();
        progress->attach(target);
        progress->show();
    }
    run(target);
    timing.note("queued", target.pagesStarted());
}

} // namespace pellion
