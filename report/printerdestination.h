#pragma once

#include "report/printdestination.h"

#include <QPainter>
#include <QPicture>

#include <memory>

class QPrinter;

namespace pellion {

// Sends the pages to a QPrinter: a CUPS queue, or a PDF file when the printer
// given is set up for one. The job starts with the first page in range;
// pages outside the range are drawn on a scratch picture and dropped.
class PrinterDestination : public PrintDestination {
public:
    PrinterDestination(); // the printer named at begin document
    explicit PrinterDestination(std::unique_ptr<QPrinter> printer);
    ~PrinterDestination() override;

    void beginDocument(const JobSettings& settings) override;
    DeviceGeometry geometry() const override { return m_geometry; }
    void openPage(bool inRange, double paperWidth, double paperLength) override;
    void finishPage() override;
    void endDocument(int pageCount) override;
    void abortDocument() override;
    QPainter& painter() override;
    QPaintDevice& metricsDevice() override;

    QPrinter& printer() { return *m_printer; }

private:
    void applySettings(const JobSettings& settings);
    void readGeometry();

    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    bool m_jobBegun = false;
    bool m_onScratch = false;
    QPicture m_scratch;
    QPainter m_scratchPainter;
    DeviceGeometry m_geometry;
};

} // namespace pellion
