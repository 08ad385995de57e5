#include "report/report.h"

#include "ledger/appliancetable.h"
#include "report/controlpainter.h"
#include "report/controltext.h"
#include "report/progressform.h"
#include "report/reportprinter.h"
#include "report/reporttiming.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPrinterInfo>
#include <QScopeGuard>

#include <algorithm>
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
        m_flow.reset();
        m_target = nullptr;
        m_busy = false;
    });
    try {
        produce(target);
    } catch (...) {
        try {
            finishDocument(target);
        } catch (...) {
            // The first failure is the one the user needs to see.
        }
        throw;
    }
    finishDocument(target);
}

void Report::produce(ReportPrinter& target) {
    copySettingsTo(target);
    target.beginDocument();
    const ReportPage& page = m_layout.page;
    m_flow.emplace(PageFlowGeometry{target.paperLength(), page.topMargin, page.bottomMargin,
                                    page.leftMargin, page.usableLength()});
    recordLoop(target);
}

void Report::finishDocument(ReportPrinter& target) {
    if (m_cancelled)
        target.abortDocument();
    else
        target.endDocument();
}

bool Report::rowsRemain() const {
    return m_table.isOpen() && !m_table.AtEnd();
}

void Report::recordLoop(ReportPrinter& target) {
    int recordCount = 1;
    if (m_table.isOpen()) {
        m_table.GoFirst();
        recordCount = std::max(1, m_table.RecordTotal());
    }
    if (!rowsRemain()) {
        if (m_layout.printIfEmpty) {
            printBand(BandType::Title);
            printBand(BandType::SubDetail);
            printBand(BandType::Summary);
        }
        return;
    }
    QCoreApplication::processEvents();
    if (m_cancelled)
        return;
    printBand(BandType::Title);
    int detailNumber = 0;
    while (rowsRemain()) {
        // Lets the progress window's Cancel, the grid and the preview respond.
        QCoreApplication::processEvents();
        if (target.cancelled())
            return; // no summary after a cancel
        ++detailNumber;
        printBand(BandType::SubDetail);
        m_table.GoNext();
        target.setProgress(detailNumber * 100 / recordCount);
    }
    if (!m_flow->pageStarted())
        startPage();
    printBand(BandType::Summary);
}

void Report::startPage() {
    m_target->newPage();
    m_flow->startPage();
}

void Report::printBand(BandType type) {
    const ReportBand& band = m_layout.band(type);
    const int height = band.wholeHeight();
    if (m_flow->needsNewPage(height))
        startPage();
    const double x = m_flow->currentX();
    const double y = m_flow->currentY();
    fillPageArea(*m_target, x, y, band.width, height);
    for (const ReportControl& control : band.controls)
        drawControl(*m_target, control, controlText(control), x, y);
    m_flow->advance(height);
}

QString Report::controlText(const ReportControl& control) const {
    switch (control.kind) {
    case ControlKind::Label:
        return QString::fromStdString(control.text);
    case ControlKind::DataField:
        return fieldText(control.fieldName);
    case ControlKind::DateTime:
        return dateTimeText(QDateTime::currentDateTime());
    }
    return {};
}

QString Report::fieldText(const std::string& fieldName) const {
    // Looked up by name at every line: a ledger load replaces the field objects.
    try {
        if (!m_table.isOpen() || m_table.RowNumber() < 0)
            return {};
        const QString wanted = QString::fromStdString(fieldName);
        for (int index = 0; index < m_table.fieldCount(); ++index) {
            const Field& field = m_table.field(index);
            if (QString::fromStdString(field.fieldName()).compare(wanted, Qt::CaseInsensitive) == 0)
                return QString::fromStdString(field.ShownText());
        }
    } catch (const std::exception&) {
        // A text that cannot be had prints empty; the run goes on.
    }
    return {};
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
