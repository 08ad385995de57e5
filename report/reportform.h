#pragma once

// The report form (frmprint): holds the usage report and the four labels the
// main window fills before each run. It is never shown. The main window makes
// one per Print or Print Preview command and destroys it when the call returns.

#include <QWidget>

namespace pellion {

class ApplianceTable;
class Report;

class ReportForm : public QWidget {
    Q_OBJECT

public:
    explicit ReportForm(ApplianceTable& table, QWidget* owner = nullptr);

    Report& report() { return *m_report; }

    // The labels set at run time: RLabel10 (rate), rptlbltotal (total per
    // hour), rptlbltd (total per day), rptlbldkwu (daily use).
    void setCaption(const QString& labelName, const QString& text);
    QString caption(const QString& labelName) const;

    void print();

private:
    Report* m_report;
};

} // namespace pellion
