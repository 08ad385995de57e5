#include "report/pageimagedestination.h"

#include "report/pageimage.h"
#include "report/pagesink.h"

#include <QGuiApplication>
#include <QScreen>

namespace pellion {

int screenPixelsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? nearestEven(screen->logicalDotsPerInchY()) : 96;
}

PageImageDestination::PageImageDestination(PageSink& sink) : m_sink(sink) {
    const int dpi = screenPixelsPerInch();
    m_geometry = DeviceGeometry{dpi, dpi, 0, 0};
    m_page = std::make_unique<PageImageRecorder>(QSize(1, 1), dpi, dpi);
}

PageImageDestination::~PageImageDestination() {
    if (m_painter.isActive())
        m_painter.end();
}

QPaintDevice& PageImageDestination::metricsDevice() {
    return m_page->device();
}

void PageImageDestination::beginDocument(const JobSettings&) {
    m_sink.startDocument();
}

void PageImageDestination::openPage(bool, double paperWidth, double paperLength) {
    const QSize size(m_geometry.lengthX(paperWidth), m_geometry.lengthY(paperLength));
    m_page =
        std::make_unique<PageImageRecorder>(size, m_geometry.resolutionX, m_geometry.resolutionY);
    m_painter.begin(&m_page->device());
}

void PageImageDestination::finishPage() {
    if (!m_painter.isActive())
        return;
    m_painter.end();
    m_sink.appendPageImage(m_page->bytes());
}

void PageImageDestination::endDocument(int pageCount) {
    finishPage();
    m_sink.finishDocument(pageCount);
}

void PageImageDestination::abortDocument() {
    finishPage();
}

} // namespace pellion
