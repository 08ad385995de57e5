#pragma once

#include "report/printdestination.h"

#include <QPainter>
#include <QPdfWriter>

class QIODevice;

namespace pellion {

// Writes the pages into a PDF document through Qt's PDF writer: text stays
// text (a reader can select and search it), on pages of the paper the print
// target lays the report out on. Positions count from the paper's corner, as
// a PDF page has no margin it cannot print. A PDF holds the whole report:
// page ranges and copies are a printer's business, so every page is written.
class PdfDestination : public PrintDestination {
public:
    // The document goes to the device, which must be open for writing.
    explicit PdfDestination(QIODevice& device);
    ~PdfDestination() override;

    void beginDocument(const JobSettings& settings) override;
    DeviceGeometry geometry() const override;
    void openPage(bool inRange, double paperWidth, double paperLength) override;
    void finishPage() override {}
    void endDocument(int pageCount) override;
    void abortDocument() override;
    QPainter& painter() override { return m_painter; }
    QPaintDevice& metricsDevice() override { return m_writer; }

private:
    QPdfWriter m_writer;
    QPainter m_painter;
};

} // namespace pellion
