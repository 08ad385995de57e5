#pragma once

// The preview's printer set-up. It offers exactly what a print from the
// preview applies: the printer, the copies, the orientation, and all pages
// or one range from-to. (The platform's print dialog also offers page lists,
// odd or even pages, reverse order, duplex and paper, which the report would
// drop or misread.) With no printer installed there is nothing to set up:
// the user is warned that there is no default printer instead.

#include "report/printercapabilities.h"
#include "reportlayout/reportlayout.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <vector>

class QButtonGroup;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace pellion {

struct PrinterSetup {
    QString printerName; // empty: the report's default printer
    int copies = 1;
    Orientation orientation = Orientation::Portrait;
    int firstPage = 0; // both 0: all pages
    int lastPage = 0;
};

struct InstalledPrinters {
    std::vector<PrinterCapabilities> printers;
    QString defaultPrinter; // empty when the system names none
};

// The printers the printing system knows, with what each lets a job set.
InstalledPrinters installedPrinters();

class PrinterSetupDialog : public QDialog {
    Q_OBJECT

public:
    // The range is offered from 1 to the page count.
    PrinterSetupDialog(const PrinterSetup& preset, InstalledPrinters printers, int pageCount,
                       QWidget* parent = nullptr);

    PrinterSetup chosen() const;

private:
    void printerChosen(int index);

    InstalledPrinters m_printers;
    Orientation m_presetOrientation;
    QComboBox* m_printer;
    QSpinBox* m_copies;
    QRadioButton* m_portrait;
    QRadioButton* m_landscape;
    QRadioButton* m_allPages;
    QRadioButton* m_pageRange;
    QSpinBox* m_fromPage;
    QSpinBox* m_toPage;
};

// The set-up the user accepted; none when cancelled, or when no printer is
// installed (after the warning).
std::optional<PrinterSetup> askPrinterSetup(const PrinterSetup& preset,
                                            const InstalledPrinters& printers, int pageCount,
                                            QWidget* parent);

} // namespace pellion
