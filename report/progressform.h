#pragma once

// The progress window of a print run: a gauge moved in steps
// of 5 per cent and a Cancel button that stops the run before its next line.
// The pages printed so far still go to the printer.

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace pellion {

class ReportPrinter;

class ProgressForm : public QWidget {
    Q_OBJECT

public:
    explicit ProgressForm(QWidget* parent = nullptr);

    // Makes this window the print target's client.
    void attach(ReportPrinter& target);

    QProgressBar* gauge() const { return m_gauge; }
    QLabel* info() const { return m_info; }
    QPushButton* cancelButton() const { return m_cancelButton; }

private:
    void progressUpdate(int percent);
    void CancelButtonClick();

    QProgressBar* m_gauge;
    QLabel* m_info;
    QPushButton* m_cancelButton;
    QPointer<ReportPrinter> m_target;
};

} // namespace pellion
