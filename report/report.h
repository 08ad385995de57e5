#pragma once

// The report object (rptprint): the layout and the settings a printer
// set-up may change, the busy and cancelled marks, and the print operation.
// Each run (reportrun.h) prints what the table and the labels held when it
// began, whatever the user does in the main window meanwhile. A run that
// prints every record leaves the table on its last record, so the grid
// follows once, at the end.

#include "report/eventslice.h"
#include "reportlayout/reportlayout.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

namespace pellion {

class ApplianceTable;
class ReportPrinter;

class Report : public QObject {
    Q_OBJECT

public:
    explicit Report(ApplianceTable& table, QObject* parent = nullptr);

    ReportLayout& layout() { return m_layout; }
    const ReportLayout& layout() const { return m_layout; }
    ApplianceTable& table() { return m_table; }

    // Settings a printer set-up may change; they last as long as the report.
    QString printerName() const { return m_printerName; } // empty: the system's default
    void setPrinterName(const QString& name) { m_printerName = name; }
    int copies() const { return m_copies; }
    void setCopies(int copies) { m_copies = copies; }
    int firstPage() const { return m_firstPage; } // 0: no bound
    int lastPage() const { return m_lastPage; }
    void setPageRange(int firstPage, int lastPage);
    void setOrientation(Orientation orientation) { m_layout.page.setOrientation(orientation); }

    // How often a run lets the windows take their events; 0: before every record.
    void setEventInterval(std::chrono::milliseconds interval) { m_eventInterval = interval; }
    // Where a run reads the date and time its title shows; the system clock
    // unless a test fixes the moment.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    bool busy() const { return m_busy; }
    bool cancelled() const { return m_cancelled; }
    // The print target of the run in progress, if any.
    ReportPrinter* activeTarget() const { return m_target; }

    // Produces the whole report once onto the target. Does nothing while a run
    // is in progress.
    void run(ReportPrinter& target);
    // Runs the report onto the report's printer with the progress window.
    // Without any installed printer it does nothing and shows nothing.
    void print();
    // Stops the run in progress before its next record and aborts its document.
    void cancel();

private:
    void settleTable();
    void copySettingsTo(ReportPrinter& target) const;
    void finishDocument(ReportPrinter& target);
    void leaveTableOnLastRecord();

    ApplianceTable& m_table;
    ReportLayout m_layout;
    QString m_printerName;
    int m_copies = 1;
    int m_firstPage = 0;
    int m_lastPage = 0;
    std::chrono::milliseconds m_eventInterval = reportEventInterval;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
    bool m_busy = false;
    bool m_cancelled = false;
    ReportPrinter* m_target = nullptr;
};

} // namespace pellion
