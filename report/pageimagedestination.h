#pragma once

#include "report/printdestination.h"

#include <QPainter>

#include <memory>

namespace pellion {

class PageImageRecorder;
class PageSink;

// Records every page as a page image (pageimage.h) in screen pixels (no
// printable-area offsets) and hands it to a page sink. Page ranges do not
// apply: every page is kept.
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
    QPaintDevice& metricsDevice() override;

private:
    PageSink& m_sink;
    DeviceGeometry m_geometry;
    // The open page, or the last one; one of the screen's resolution stands
    // in for the metrics before the first page.
    std::unique_ptr<PageImageRecorder> m_page;
    QPainter m_painter;
};

// The screen's pixels per inch; 96 when there is no screen.
int screenPixelsPerInch();

} // namespace pellion
