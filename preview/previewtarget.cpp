#include "preview/previewtarget.h"

#include "base/error.h"
#include "report/pageimagedestination.h"
#include "report/printerdestination.h"
#include "report/report.h"
#include "ui/errordisplay.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPicture>

#include <algorithm>

namespace pellion {

PreviewTarget::PreviewTarget(Report* master, QObject* parent)
    : PreviewTarget(master, defaultPrinterCapabilities(), parent) {}

PreviewTarget::PreviewTarget(Report* master, const PrinterCapabilities& printer, QObject* parent)
    : QObject(parent), m_master(master), m_printer(printer) {
    m_printer.setPageImageDestination(*this);
    if (master != nullptr)
        m_printer.setTitle(QString::fromStdString(master->layout().title));
}

PreviewTarget::~PreviewTarget() = default;

PrintStatus PreviewTarget::status() const {
    switch (m_source) {
    case Source::Loaded:
        return PrintStatus::Finished;
    case Source::Dropped:
        return PrintStatus::Ready;
    case Source::Run:
        break;
    }
    return m_printer.status();
}

int PreviewTarget::pageCount() const {
    switch (m_source) {
    case Source::Loaded:
        return m_pages.pageCount();
    case Source::Dropped:
        return 0;
    case Source::Run:
        break;
    }
    return m_printer.pagesStarted();
}

int PreviewTarget::pagesCompleted() const {
    return m_source == Source::Run ? m_printer.pagesCompleted() : pageCount();
}

void PreviewTarget::setShowsPreview(bool shows) {
    m_showsPreview = shows;
    if (!shows)
        emit previewEnded();
}

// The run's pages, while they still belong on view.
void PreviewTarget::startDocument() {
    if (m_source == Source::Run)
        m_pages.startDocument();
}

void PreviewTarget::appendPageImage(const QByteArray& page) {
    if (m_source == Source::Run)
        m_pages.appendPageImage(page);
}

void PreviewTarget::finishDocument(int pageCount) {
    if (m_source == Source::Run)
        m_pages.finishDocument(pageCount);
}

std::optional<QPicture> PreviewTarget::readPage(int n) {
    return m_pages.readPage(n);
}

bool PreviewTarget::saveToFile(const QString& fileName) {
    if (status() != PrintStatus::Finished)
        return false;
    m_pages.saveToFile(fileName);
    return true;
}

void PreviewTarget::dropPages() {
    if (m_printer.status() == PrintStatus::Producing)
        m_printer.cancel();
    m_pages.release();
    m_source = Source::Dropped;
}

void PreviewTarget::loadFromFile(const QString& fileName) {
    if (status() != PrintStatus::Ready)
        dropPages();
    m_source = Source::Dropped;
    m_pages.load(fileName);
    m_source = Source::Loaded;
    if (m_pages.pageCount() >= 1) {
        try {
            if (const std::optional<QPicture> first = m_pages.readPage(1))
                recognisePaper(*first);
        } catch (const Error&) {
            // The file is loaded; a first page that is not a drawing keeps the
            // paper as it is and is reported when it is shown.
        }
    }
}

void PreviewTarget::recognisePaper(const QPicture& firstPage) {
    const double dpi = screenPixelsPerInch();
    const QRect bounds = firstPage.boundingRect();
    for (const PaperMatch& match :
         papersOfPageSize(bounds.width() * 254.0 / dpi, bounds.height() * 254.0 / dpi)) {
        // Only a paper the printer offers is taken, as at the start of a run;
        // a later match wins.
        if (!m_printer.printerCapabilities().offers(match.code))
            continue;
        m_printer.setPaperSize(match.code);
        m_printer.setOrientation(match.orientation);
    }
}

void PreviewTarget::printerSetup(const PrinterSetupQuestion& ask) {
    Report* report = m_master;
    if (report == nullptr || loaded())
        return;
    const PrinterSetup preset{report->printerName(), report->copies(),
                              report->layout().page.orientation, report->firstPage(),
                              report->lastPage()};
    const std::optional<PrinterSetup> chosen = ask(preset, std::max(1, pageCount()));
    if (!chosen)
        return;
    report->setPrinterName(chosen->printerName);
    report->setCopies(chosen->copies);
    report->setOrientation(chosen->orientation);
    report->setPageRange(chosen->firstPage, chosen->lastPage);
}

void PreviewTarget::print() {
    if (!loaded()) {
        // Handled from the event loop, like any other command: the report
        // prints the table as it is then, with its current settings.
        if (Report* report = m_master) {
            QMetaObject::invokeMethod(
                report,
                [report] {
                    try {
                        report->print();
                    } catch (const std::exception& error) {
                        showError(error);
                    }
                },
                Qt::QueuedConnection);
        }
        return;
    }
    if (status() != PrintStatus::Finished || !m_printer.printerCapabilities().installed)
        return;
    PrinterDestination destination;
    printStoredPages(destination);
}

void PreviewTarget::printStoredPages(PrintDestination& destination) {
    // A load that interrupted the run left the flag set; printing starts
    // clear so the job is not aborted after its first sheet.
    m_printer.clearCancelled();
    const int count = pageCount();
    const int first = m_printer.firstPage() > 0 ? m_printer.firstPage() : 1;
    const int last = m_printer.lastPage() > 0 ? std::min(m_printer.lastPage(), count) : count;
    destination.beginDocument(m_printer.jobSettings());
    try {
        for (int page = first; page <= last; ++page) {
            QCoreApplication::processEvents();
            const std::optional<QPicture> picture = m_pages.readPage(page);
            destination.openPage(true, m_printer.paperWidth(), m_printer.paperLength());
            if (picture) {
                // Stretched over the whole printable area of the sheet.
                QPainter& painter = destination.painter();
                drawPageImage(painter, *picture, painter.viewport());
            }
            destination.finishPage();
            if (m_printer.cancelled()) {
                destination.abortDocument();
                return;
            }
        }
    } catch (...) {
        destination.abortDocument();
        throw;
    }
    destination.endDocument(last - first + 1);
}

} // namespace pellion
