#include "report/printerdestination.h"

#include "base/error.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace pellion {

PrinterDestination::PrinterDestination()
    : PrinterDestination(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

PrinterDestination::PrinterDestination(std::unique_ptr<QPrinter> printer)
    : m_printer(std::move(printer)) {}

PrinterDestination::~PrinterDestination() {
    if (m_scratchPainter.isActive())
        m_scratchPainter.end();
    if (m_painter.isActive()) {
        m_printer->abort();
        m_painter.end();
    }
}

void PrinterDestination::applySettings(const JobSettings& settings) {
    // A printer set up for a PDF file keeps that format; naming a queue would
    // turn it into a native print job.
    if (m_printer->outputFormat() == QPrinter::NativeFormat && !settings.printerName.isEmpty())
        m_printer->setPrinterName(settings.printerName);
    m_printer->setDocName(settings.title);
    m_printer->setFullPage(false);
    const QPageSize::PageSizeId id = QPageSize::id(settings.paperCode);
    if (settings.paperCode != defaultPaperCode && id != QPageSize::Custom)
        m_printer->setPageSize(QPageSize(id));
    if (settings.setOrientation) {
        m_printer->setPageOrientation(settings.orientation == Orientation::Landscape
                                          ? QPageLayout::Landscape
                                          : QPageLayout::Portrait);
    }
    if (settings.setCopies)
        m_printer->setCopyCount(settings.copies);
    if (settings.automaticPaperSource)
        m_printer->setPaperSource(QPrinter::Auto);
}

void PrinterDestination::readGeometry() {
    const int dpiX = m_printer->logicalDpiX();
    const int dpiY = m_printer->logicalDpiY();
    const QRectF paper = m_printer->paperRect(QPrinter::DevicePixel);
    const QRectF page = m_printer->pageRect(QPrinter::DevicePixel);
    const auto toTenths = [](double pixels, int dpi) { return nearestEven(pixels / dpi * 254); };
    m_geometry = DeviceGeometry{dpiX, dpiY, toTenths(page.left() - paper.left(), dpiX),
                                toTenths(page.top() - paper.top(), dpiY)};
}

void PrinterDestination::beginDocument(const JobSettings& settings) {
    applySettings(settings);
    readGeometry();
}

void PrinterDestination::openPage(bool inRange, double paperWidth, double paperLength) {
    if (!inRange) {
        m_scratch = QPicture();
        m_scratch.setBoundingRect(
            QRect(0, 0, m_geometry.lengthX(paperWidth), m_geometry.lengthY(paperLength)));
        m_scratchPainter.begin(&m_scratch);
        m_onScratch = true;
        return;
    }
    m_onScratch = false;
    if (!m_jobBegun) {
        if (!m_painter.begin(m_printer.get()))
            throw Error("Cannot start printing on " + m_printer->printerName().toStdString());
        m_jobBegun = true;
        // Some printers settle their page geometry only once the job is open.
        readGeometry();
    } else if (!m_printer->newPage()) {
        throw Error("Printer is not currently printing");
    }
}

void PrinterDestination::finishPage() {
    // A sheet is finished by the next newPage or by the job's end.
    if (m_onScratch && m_scratchPainter.isActive())
        m_scratchPainter.end();
    m_onScratch = false;
}

void PrinterDestination::endDocument(int) {
    finishPage();
    if (m_jobBegun && m_painter.isActive())
        m_painter.end();
    m_jobBegun = false;
}

void PrinterDestination::abortDocument() {
    finishPage();
    if (m_jobBegun && m_painter.isActive()) {
        m_printer->abort();
        m_painter.end();
    }
    m_jobBegun = false;
}

QPainter& PrinterDestination::painter() {
    return m_onScratch ? m_scratchPainter : m_painter;
}

QPaintDevice& PrinterDestination::metricsDevice() {
    return *m_printer;
}

} // namespace pellion
