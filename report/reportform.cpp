#include "report/reportform.h"

#include "report/report.h"

namespace pellion {

ReportForm::ReportForm(ApplianceTable& table, QWidget* owner)
    : QWidget(owner, Qt::Window), m_report(new Report(table, this)) {
    setObjectName(QStringLiteral("frmprint"));
}

void ReportForm::setCaption(const QString& labelName, const QString& text) {
    // The box is measured again from the text whenever the control is drawn.
    m_report->layout().control(labelName.toStdString()).text = text.toStdString();
}

QString ReportForm::caption(const QString& labelName) const {
    return QString::fromStdString(m_report->layout().control(labelName.toStdString()).text);
}

void ReportForm::print() {
    m_report->print();
}

} // namespace pellion
