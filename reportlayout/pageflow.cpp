#include "reportlayout/pageflow.h"

#include "reportlayout/reportlayout.h"

namespace pellion {

PageFlow::PageFlow(const PageFlowGeometry& geometry)
    : m_geometry(geometry), m_currentX(nearestEven(geometry.leftMargin)) {}

int PageFlow::availableSpace() const {
    return nearestEven(m_geometry.paperLength - m_geometry.bottomMargin - m_currentY);
}

bool PageFlow::needsNewPage(int bandHeight) const {
    if (!m_pageStarted)
        return true;
    return bandHeight > availableSpace() && bandHeight <= m_geometry.pageUsableLength;
}

void PageFlow::startPage() {
    m_pageStarted = true;
    ++m_pageCount;
    m_currentY = nearestEven(m_geometry.topMargin);
    m_currentX = nearestEven(m_geometry.leftMargin);
}

} // namespace pellion
