#pragma once

// What the print target needs to know about a printer before a run: its
// papers, its current paper and which settings it lets a job change.

#include <QString>

#include <vector>

class QPrinterInfo;

namespace pellion {

struct PrinterCapabilities {
    bool installed = false; // false: no printer at all
    QString printerName;
    std::vector<int> offeredPapers; // paper codes
    int currentPaper = 0;           // a code of the paper table, Default when unknown
    double physicalWidth = 2100;    // tenths of a millimetre, portrait; Default's size
    double physicalLength = 2970;
    bool canSetCopies = true;
    bool canSetOrientation = true;
    bool canSetPaperSource = true;

    bool offers(int paperCode) const;
};

// Capabilities of an installed printer, read through the printing system.
PrinterCapabilities readPrinterCapabilities(const QPrinterInfo& printer);
// The system's default printer, else the first installed one, else none.
PrinterCapabilities defaultPrinterCapabilities();

} // namespace pellion
