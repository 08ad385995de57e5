#pragma once

// The report object (rptprint): the layout plus the behaviour that turns it
// into pages. A run walks the appliance table from the first record to the
// last, printing the title band, one detail band per record and the summary
// band, starting a new page whenever a band does not fit. The table is left
// on its last record, and because window events are processed before every
// record the grid follows the run and the user can cancel it.

#include "reportlayout/pageflow.h"
#include "reportlayout/reportlayout.h"

#include <QObject>
#include <QString>

#include <optional>

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
    void produce(ReportPrinter& target);
    void copySettingsTo(ReportPrinter& target) const;
    void finishDocument(ReportPrinter& target);
    void recordLoop(ReportPrinter& target);
    bool rowsRemain() const;
    void printBand(BandType type);
    void startPage();
    QString controlText(const ReportControl& control) const;
    QString fieldText(const std::string& fieldName) const;

    ApplianceTable& m_table;
    ReportLayout m_layout;
    QString m_printerName;
    int m_copies = 1;
    int m_firstPage = 0;
    int m_lastPage = 0;
    bool m_busy = false;
    bool m_cancelled = false;
    ReportPrinter* m_target = nullptr;
    std::optional<PageFlow> m_flow;
};

} // namespace pellion
