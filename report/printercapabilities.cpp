#include "report/printercapabilities.h"

#include "reportlayout/reportlayout.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace pellion {

bool PrinterCapabilities::offers(int paperCode) const {
    return std::find(offeredPapers.begin(), offeredPapers.end(), paperCode) != offeredPapers.end();
}

namespace {

// The paper table's code for a page size; Default when the table does not know it.
int paperCodeOf(const QPageSize& size) {
    const int code = size.windowsId();
    const PaperSize* paper = findPaper(code);
    return paper != nullptr && code != customPaperCode ? code : defaultPaperCode;
}

} // namespace

PrinterCapabilities readPrinterCapabilities(const QPrinterInfo& info) {
    PrinterCapabilities capabilities;
    if (info.isNull())
        return capabilities;
    capabilities.installed = true;
    capabilities.printerName = info.printerName();
    for (const QPageSize& size : info.supportedPageSizes()) {
        const int code = paperCodeOf(size);
        if (code != defaultPaperCode && !capabilities.offers(code))
            capabilities.offeredPapers.push_back(code);
    }
    const QPageSize current = info.defaultPageSize();
    capabilities.currentPaper = paperCodeOf(current);
    if (current.isValid()) {
        const QSizeF mm = current.size(QPageSize::Millimeter);
        capabilities.physicalWidth = mm.width() * 10;
        capabilities.physicalLength = mm.height() * 10;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    capabilities.canSetCopies = printer.supportsMultipleCopies();
    // Qt lists no paper sources on this platform; the automatic one is always there.
    capabilities.canSetPaperSource = true;
    return capabilities;
}

PrinterCapabilities defaultPrinterCapabilities() {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (!printers.isEmpty())
            info = printers.first();
    }
    return readPrinterCapabilities(info);
}

} // namespace pellion
