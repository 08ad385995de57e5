#pragma once

#include "report/printdestination.h"

#include <QPainter>
#include <QPicture>

namespace pellion {

class PageSink;

// Records every page as a QPicture in screen pixels (no printable-area
// offsets) and hands it to a page sink. Page ranges do not apply: every page
// is kept.
class PageImageDestination : public PrintDestination {
public:
    explicit PageImageDestination(PageSink& sink);
    ~PageImageDestination() override;

    void beginDocument(const JobSettings& settings) override;
    DeviceGeometry geometry() const override { return m_geometry; }
    void openPage(bool inRange, double paperWidth, double paperLength) override;
    void finishPage() override;
    void endDocument(int pageCount) override;
    void abortDocument() override;
    QPainter& painter() override { return m_painter; }
    QPaintDevice& metricsDevice() override { return m_picture; }

private:
    PageSink& m_sink;
    DeviceGeometry m_geometry;
    QPicture m_picture;
    QPainter m_painter;
    QRect m_pageRect;
};

// The screen's pixels per inch; 96 when there is no screen.
int screenPixelsPerInch();

} // namespace pellion
