#include "report/pdfdestination.h"

#include "base/error.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>

#include <algorithm>

namespace pellion {

PdfDestination::PdfDestination(QIODevice& device) : m_writer(&device) {}

PdfDestination::~PdfDestination() {
    if (m_painter.isActive())
        m_painter.end();
}

void PdfDestination::beginDocument(const JobSettings& settings) {
    m_writer.setTitle(settings.title);
    m_writer.setCreator(QCoreApplication::applicationName());
}

DeviceGeometry PdfDestination::geometry() const {
    const int dpi = m_writer.resolution();
    return DeviceGeometry{dpi, dpi, 0, 0};
}

void PdfDestination::openPage(bool, double paperWidth, double paperLength) {
    // The paper in millimetres, portrait; a size within a few points of a
    // standard one (Letter, A4) takes its name, so readers show "Letter".
    const QSizeF portrait(std::min(paperWidth, paperLength) / 10,
                          std::max(paperWidth, paperLength) / 10);
    const QPageLayout layout(
        QPageSize(portrait, QPageSize::Millimeter),
        paperWidth > paperLength ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
    if (!(m_writer.pageLayout() == layout))
        m_writer.setPageLayout(layout);
    if (!m_painter.isActive()) {
        if (!m_painter.begin(&m_writer))
            throw Error("Stream write error");
    } else if (!m_writer.newPage()) {
        throw Error("Stream write error");
    }
}

void PdfDestination::endDocument(int) {
    if (m_painter.isActive())
        m_painter.end();
}

// The caller discards what was written; ending the painter only closes the
// half-made document.
void PdfDestination::abortDocument() {
    endDocument(0);
}

} // namespace pellion
