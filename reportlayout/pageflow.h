#pragma once

// Where bands land on the pages: the running page position and the space
// check. Pure arithmetic in whole tenths of a millimetre, so page breaking is
// testable without any drawing surface.

namespace pellion {

struct PageFlowGeometry {
    double paperLength = 2794; // vertical extent of the target's paper
    double topMargin = 127;
    double bottomMargin = 127;
    double leftMargin = 127;
    double pageUsableLength = 2540; // of the report page: taller bands are never moved on
};

class PageFlow {
public:
    explicit PageFlow(const PageFlowGeometry& geometry);

    bool pageStarted() const { return m_pageStarted; }
    int pageCount() const { return m_pageCount; }
    int currentX() const { return m_currentX; }
    int currentY() const { return m_currentY; }

    // True when a band of this height has to go on a new page: always when no
    // page is open yet, otherwise when it does not fit in the space left and
    // would fit on an empty page. A band that fits exactly stays.
    bool needsNewPage(int bandHeight) const;
    void startPage();
    void advance(int bandHeight) { m_currentY += bandHeight; }

private:
    int availableSpace() const;

    PageFlowGeometry m_geometry;
    bool m_pageStarted = false;
    int m_pageCount = 0;
    int m_currentX = 0;
    int m_currentY = 0;
};

} // namespace pellion
