#include "report/reportprinter.h"

#include "base/error.h"
#include "report/pageimagedestination.h"
#include "report/printerdestination.h"

#include <QCoreApplication>
#include <QPrinterInfo>

namespace pellion {

ReportPrinter::ReportPrinter(QObject* parent)
    : ReportPrinter(defaultPrinterCapabilities(), parent) {}

ReportPrinter::ReportPrinter(const PrinterCapabilities& printer, QObject* parent)
    : QObject(parent) {
    setPrinterCapabilities(printer);
}

ReportPrinter::~ReportPrinter() = default;

void ReportPrinter::setDestination(std::unique_ptr<PrintDestination> destination) {
    m_destination = std::move(destination);
}

void ReportPrinter::setPrinterDestination() {
    setDestination(std::make_unique<PrinterDestination>());
}

void ReportPrinter::setPageImageDestination(PageSink& sink) {
    setDestination(std::make_unique<PageImageDestination>(sink));
}

void ReportPrinter::setPrinterName(const QString& name) {
    setPrinterCapabilities(readPrinterCapabilities(QPrinterInfo::printerInfo(name)));
}

void ReportPrinter::setPrinterCapabilities(const PrinterCapabilities& printer) {
    m_printer = printer;
    m_settings.printerName = printer.printerName;
    // Without any printer the pages are laid out on A4.
    m_settings.paperCode = printer.installed ? printer.currentPaper : a4PaperCode;
    m_settings.copies = 1;
    m_settings.setCopies = !printer.installed || printer.canSetCopies;
    m_settings.setOrientation = !printer.installed || printer.canSetOrientation;
    m_settings.automaticPaperSource = printer.installed && printer.canSetPaperSource;
}

void ReportPrinter::setPaperSize(int paperCode) {
    if (m_printer.installed && m_printer.offers(paperCode))
        m_settings.paperCode = paperCode;
}

void ReportPrinter::setOrientation(Orientation orientation) {
    if (m_settings.setOrientation)
        m_settings.orientation = orientation;
}

void ReportPrinter::setCopies(int copies) {
    if (m_settings.setCopies)
        m_settings.copies = copies;
}

QSizeF ReportPrinter::portraitPaper() const {
    // Default and Custom have no size in the table: the device's page.
    const PaperSize* paper = findPaper(m_settings.paperCode);
    if (paper == nullptr || paper->widthMm <= 0)
        return {m_printer.physicalWidth, m_printer.physicalLength};
    return {paper->widthMm * 10, paper->lengthMm * 10};
}

double ReportPrinter::paperWidth() const {
    const QSizeF paper = portraitPaper();
    return m_settings.orientation == Orientation::Landscape ? paper.height() : paper.width();
}

double ReportPrinter::paperLength() const {
    const QSizeF paper = portraitPaper();
    return m_settings.orientation == Orientation::Landscape ? paper.width() : paper.height();
}

PrintDestination& ReportPrinter::requireDestination() {
    if (!m_destination)
        throw Error("The print target has no destination");
    return *m_destination;
}

void ReportPrinter::beginDocument() {
    PrintDestination& destination = requireDestination();
    m_status = PrintStatus::Producing;
    m_pagesStarted = 0;
    m_pagesCompleted = 0;
    m_cancelled = false;
    m_pageOpen = false;
    destination.beginDocument(m_settings);
    m_geometry = destination.geometry();
}

bool ReportPrinter::inRange(int page) const {
    return (m_firstPage <= 0 || page >= m_firstPage) && (m_lastPage <= 0 || page <= m_lastPage);
}

void ReportPrinter::newPage() {
    PrintDestination& destination = requireDestination();
    if (m_pageOpen) {
        m_pageOpen = false;
        destination.finishPage();
        ++m_pagesCompleted;
        emit pageAvailable(m_pagesCompleted);
    }
    ++m_pagesStarted;
    destination.openPage(inRange(m_pagesStarted), paperWidth(), paperLength());
    m_geometry = destination.geometry();
    m_pageOpen = true;
}

void ReportPrinter::endDocument() {
    PrintDestination& destination = requireDestination();
    const bool lastPageOpen = m_pageOpen;
    m_pageOpen = false;
    destination.endDocument(m_pagesStarted);
    m_status = PrintStatus::Finished;
    QCoreApplication::processEvents();
    if (lastPageOpen) {
        ++m_pagesCompleted;
        emit pageAvailable(m_pagesCompleted);
    }
}

void ReportPrinter::abortDocument() {
    m_pageOpen = false;
    if (m_destination)
        m_destination->abortDocument();
    m_status = PrintStatus::Finished;
}

void ReportPrinter::setProgress(int percent) {
    m_progress = percent;
    emit progressUpdated(percent);
}

QPainter& ReportPrinter::surface() {
    return requireDestination().painter();
}

QPaintDevice& ReportPrinter::metricsDevice() {
    return requireDestination().metricsDevice();
}

} // namespace pellion
