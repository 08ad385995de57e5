#include "preview/printersetupdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace pellion {

InstalledPrinters installedPrinters() {
    InstalledPrinters installed;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        installed.printers.push_back(readPrinterCapabilities(info));
    installed.defaultPrinter = QPrinterInfo::defaultPrinterName();
    return installed;
}

namespace {

QRadioButton* radioButton(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(name);
    return button;
}

QSpinBox* spinBox(const QString& name, int minimum, int maximum, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    return box;
}

// The printer a print would go to: the one chosen before, else the
// system's default, else the first installed one (as the report does).
int presetPrinterIndex(const InstalledPrinters& installed, const QString& chosenBefore) {
    const auto indexOf = [&](const QString& name) {
        for (std::size_t index = 0; index < installed.printers.size(); ++index) {
            if (!name.isEmpty() && installed.printers[index].printerName == name)
                return int(index);
        }
        return -1;
    };
    if (const int index = indexOf(chosenBefore); index >= 0)
        return index;
    return std::max(0, indexOf(installed.defaultPrinter));
}

} // namespace

PrinterSetupDialog::PrinterSetupDialog(const PrinterSetup& preset, InstalledPrinters printers,
                                       int pageCount, QWidget* parent)
    : QDialog(parent), m_printers(std::move(printers)), m_presetOrientation(preset.orientation),
      m_printer(new QComboBox(this)), m_copies(spinBox(QStringLiteral("copies"), 1, 9999, this)),
      m_portrait(radioButton(QStringLiteral("portrait"), tr("&Portrait"), this)),
      m_landscape(radioButton(QStringLiteral("landscape"), tr("&Landscape"), this)),
      m_allPages(radioButton(QStringLiteral("allPages"), tr("&All pages"), this)),
      m_pageRange(radioButton(QStringLiteral("pageRange"), tr("Pa&ges"), this)),
      m_fromPage(spinBox(QStringLiteral("fromPage"), 1, std::max(1, pageCount), this)),
      m_toPage(spinBox(QStringLiteral("toPage"), 1, std::max(1, pageCount), this)) {
    setObjectName(QStringLiteral("PrinterSetupDialog"));
    setWindowTitle(tr("Printer setup"));
    m_printer->setObjectName(QStringLiteral("printerName"));
    for (const PrinterCapabilities& printer : m_printers.printers)
        m_printer->addItem(printer.printerName);

    auto* form = new QFormLayout;
    form->addRow(tr("P&rinter:"), m_printer);
    form->addRow(tr("&Copies:"), m_copies);

    auto* orientation = new QGroupBox(tr("Orientation"), this);
    auto* orientationLayout = new QHBoxLayout(orientation);
    orientationLayout->addWidget(m_portrait);
    orientationLayout->addWidget(m_landscape);
    orientationLayout->addStretch();

    auto* pages = new QGroupBox(tr("Pages"), this);
    auto* pagesLayout = new QVBoxLayout(pages);
    pagesLayout->addWidget(m_allPages);
    auto* rangeLayout = new QHBoxLayout;
    rangeLayout->addWidget(m_pageRange);
    auto* fromLabel = new QLabel(tr("&from"), pages);
    fromLabel->setBuddy(m_fromPage);
    rangeLayout->addWidget(fromLabel);
    rangeLayout->addWidget(m_fromPage);
    auto* toLabel = new QLabel(tr("&to"), pages);
    toLabel->setBuddy(m_toPage);
    rangeLayout->addWidget(toLabel);
    rangeLayout->addWidget(m_toPage);
    rangeLayout->addStretch();
    pagesLayout->addLayout(rangeLayout);

    // OK, not "Print": accepting only keeps the settings for later prints.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(orientation);
    layout->addWidget(pages);
    layout->addWidget(buttons);

    // The range cannot run backwards.
    connect(m_fromPage, &QSpinBox::valueChanged, m_toPage, &QSpinBox::setMinimum);
    connect(m_pageRange, &QRadioButton::toggled, m_fromPage, &QWidget::setEnabled);
    connect(m_pageRange, &QRadioButton::toggled, m_toPage, &QWidget::setEnabled);
    connect(m_printer, &QComboBox::currentIndexChanged, this, &PrinterSetupDialog::printerChosen);

    m_copies->setValue(std::max(1, preset.copies));
    (preset.orientation == Orientation::Landscape ? m_landscape : m_portrait)->setChecked(true);
    const bool ranged = preset.firstPage > 0;
    m_fromPage->setValue(ranged ? preset.firstPage : 1);
    m_toPage->setValue(ranged && preset.lastPage > 0 ? preset.lastPage : m_toPage->maximum());
    (ranged ? m_pageRange : m_allPages)->setChecked(true);
    m_fromPage->setEnabled(ranged);
    m_toPage->setEnabled(ranged);
    m_printer->setCurrentIndex(presetPrinterIndex(m_printers, preset.printerName));
    printerChosen(m_printer->currentIndex());
}

void PrinterSetupDialog::printerChosen(int index) {
    if (index < 0 || index >= int(m_printers.printers.size()))
        return;
    // What the printer cannot set is shown as the print will have it.
    const PrinterCapabilities& printer = m_printers.printers[std::size_t(index)];
    if (!printer.canSetCopies)
        m_copies->setValue(1);
    m_copies->setEnabled(printer.canSetCopies);
    m_portrait->setEnabled(printer.canSetOrientation);
    m_landscape->setEnabled(printer.canSetOrientation);
}

PrinterSetup PrinterSetupDialog::chosen() const {
    PrinterSetup setup;
    setup.printerName = m_printer->currentText();
    setup.copies = m_copies->value();
    setup.orientation = !m_landscape->isEnabled()  ? m_presetOrientation
                        : m_landscape->isChecked() ? Orientation::Landscape
                                                   : Orientation::Portrait;
    if (m_pageRange->isChecked()) {
        setup.firstPage = m_fromPage->value();
        setup.lastPage = std::max(m_fromPage->value(), m_toPage->value());
    }
    return setup;
}

std::optional<PrinterSetup> askPrinterSetup(const PrinterSetup& preset,
                                            const InstalledPrinters& printers, int pageCount,
                                            QWidget* parent) {
    if (printers.printers.empty()) {
        QMessageBox warning(QMessageBox::Warning, QObject::tr("Warning"),
                            QObject::tr("There is no default printer. Install a printer to "
                                        "print the report."),
                            QMessageBox::Ok, parent);
        warning.exec();
        return std::nullopt;
    }
    PrinterSetupDialog dialog(preset, printers, pageCount, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

} // namespace pellion
