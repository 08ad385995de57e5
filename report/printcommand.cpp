#include "report/printcommand.h"

#include "report/reportform.h"
#include "ui/errordisplay.h"

#include <exception>
#include <memory>

namespace pellion {

void applyReportTexts(ReportForm& form, const ReportTexts& texts) {
    form.setCaption(QStringLiteral("RLabel10"), texts.rate);
    form.setCaption(QStringLiteral("rptlbltotal"), QStringLiteral("$") + texts.totalPerHour);
    form.setCaption(QStringLiteral("rptlbltd"), QStringLiteral("$") + texts.totalPerDay);
    form.setCaption(QStringLiteral("rptlbldkwu"), texts.dailyUsage);
}

void withReportForm(ApplianceTable& table, const ReportTexts& texts, QWidget* owner,
                    const std::function<void(ReportForm&)>& command) {
    auto form = std::make_unique<ReportForm>(table, owner);
    applyReportTexts(*form, texts);
    try {
        command(*form);
    } catch (const std::exception& error) {
        showError(error, owner);
    }
}

void printUsageReport(ApplianceTable& table, const ReportTexts& texts, QWidget* owner) {
    withReportForm(table, texts, owner, [](ReportForm& form) { form.print(); });
}

} // namespace pellion
