#include "report/pageimagedestination.h"

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
}

PageImageDestination::~PageImageDestination() {
    if (m_painter.isActive())
        m_painter.end();
}

void PageImageDestination::beginDocument(const JobSettings&) {
    m_sink.startDocument();
}

void PageImageDestination::openPage(bool, double paperWidth, double paperLength) {
    m_picture = QPicture();
    m_pageRect = QRect(0, 0, m_geometry.lengthX(paperWidth), m_geometry.lengthY(paperLength));
    m_painter.begin(&m_picture);
}

void PageImageDestination::finishPage() {
    if (!m_painter.isActive())
        return;
    m_painter.end();
    // The page's size, not the extent of what happens to be drawn on it.
    m_picture.setBoundingRect(m_pageRect);
    m_sink.appendPage(m_picture);
}

void PageImageDestination::endDocument(int pageCount) {
    finishPage();
    m_sink.finishDocument(pageCount);
}

void PageImageDestination::abortDocument() {
    finishPage();
}

} // namespace pellion
