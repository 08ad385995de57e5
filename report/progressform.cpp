#include "report/progressform.h"

#include "report/reportprinter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace pellion {

ProgressForm::ProgressForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::CustomizeWindowHint),
      m_gauge(new QProgressBar(this)), m_info(new QLabel(this)),
      m_cancelButton(new QPushButton(tr("Cancel"), this)) {
    setObjectName(QStringLiteral("ProgressForm"));
    setWindowTitle(tr("Printing progress"));
    setFixedSize(149, 97);

    m_gauge->setObjectName(QStringLiteral("Gauge"));
    m_gauge->setGeometry(16, 18, 114, 16);
    m_gauge->setRange(0, 100);
    m_gauge->setValue(0);
    m_gauge->setTextVisible(false);

    m_info->setObjectName(QStringLiteral("Info"));
    m_info->setGeometry(0, 44, 145, 13);
    m_info->setAlignment(Qt::AlignCenter);

    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));
    m_cancelButton->setGeometry(36, 60, 75, 25);
    connect(m_cancelButton, &QPushButton::clicked, this, &ProgressForm::CancelButtonClick);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

void ProgressForm::attach(ReportPrinter& target) {
    m_target = &target;
    connect(&target, &ReportPrinter::progressUpdated, this, &ProgressForm::progressUpdate,
            Qt::QueuedConnection);
}

void ProgressForm::progressUpdate(int percent) {
    if (percent % 5 != 0)
        return;
    m_gauge->setValue(percent);
    m_info->setText(QString::number(percent) + tr("% ") + tr(" Completed"));
    QCoreApplication::processEvents();
}

void ProgressForm::CancelButtonClick() {
    // Only the target's flag: the run ends normally and the pages so far print.
    if (m_target)
        m_target->cancel();
}

} // namespace pellion
