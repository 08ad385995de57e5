#pragma once

// The print target of one print or preview operation. The run draws through
// it without knowing where the pages go; it keeps the printer settings, the
// page counts and the cancelled flag, and tells its client window (the
// progress window or the preview) about progress and finished pages. Clients
// connect with Qt::QueuedConnection, so they hear of these when they next
// process their events.

#include "report/printdestination.h"
#include "report/printercapabilities.h"
#include "reportlayout/reportlayout.h"

#include <QObject>
#include <QSizeF>

#include <memory>

class QPainter;

namespace pellion {

class PageSink;

enum class PrintStatus { Ready, Producing, Finished };

class ReportPrinter : public QObject {
    Q_OBJECT

public:
    // Reads the system's default printer.
    explicit ReportPrinter(QObject* parent = nullptr);
    ReportPrinter(const PrinterCapabilities& printer, QObject* parent = nullptr);
    ~ReportPrinter() override;

    // Destination
    void setDestination(std::unique_ptr<PrintDestination> destination);
    void setPrinterDestination();
    void setPageImageDestination(PageSink& sink);
    PrintDestination* destination() { return m_destination.get(); }

    // Printer settings, applied when the document begins
    void setTitle(const QString& title) { m_settings.title = title; }
    QString title() const { return m_settings.title; }
    void setPrinterName(const QString& name); // reads that printer's settings
    QString printerName() const { return m_printer.printerName; }
    void setPrinterCapabilities(const PrinterCapabilities& printer);
    const PrinterCapabilities& printerCapabilities() const { return m_printer; }
    void setPaperSize(int paperCode); // taken only if the printer offers it
    int paperSize() const { return m_settings.paperCode; }
    void setOrientation(Orientation orientation);
    Orientation orientation() const { return m_settings.orientation; }
    void setCopies(int copies);
    int copies() const { return m_settings.copies; }
    void setFirstPage(int page) { m_firstPage = page; }
    void setLastPage(int page) { m_lastPage = page; }
    int firstPage() const { return m_firstPage; }
    int lastPage() const { return m_lastPage; }
    // What the print job begins with.
    const JobSettings& jobSettings() const { return m_settings; }
    // The paper in tenths of a millimetre for the orientation.
    double paperWidth() const;
    double paperLength() const;

    // Document
    void beginDocument();
    void newPage();
    void endDocument();
    void abortDocument();
    PrintStatus status() const { return m_status; }
    int pagesStarted() const { return m_pagesStarted; }
    int pagesCompleted() const { return m_pagesCompleted; }

    void cancel() { m_cancelled = true; }
    // Printing a loaded report's stored pages starts with the flag clear.
    void clearCancelled() { m_cancelled = false; }
    bool cancelled() const { return m_cancelled; }
    void setProgress(int percent);
    int progress() const { return m_progress; }

    // Page units to device units
    int pagePositionX(double tenths) const { return m_geometry.positionX(tenths); }
    int pagePositionY(double tenths) const { return m_geometry.positionY(tenths); }
    int pageSizeX(double tenths) const { return m_geometry.lengthX(tenths); }
    int pageSizeY(double tenths) const { return m_geometry.lengthY(tenths); }
    const DeviceGeometry& deviceGeometry() const { return m_geometry; }
    QPainter& surface();
    QPaintDevice& metricsDevice();

signals:
    void progressUpdated(int percent);
    void pageAvailable(int pagesCompleted);

private:
    bool inRange(int page) const;
    QSizeF portraitPaper() const;
    PrintDestination& requireDestination();

    std::unique_ptr<PrintDestination> m_destination;
    PrinterCapabilities m_printer;
    JobSettings m_settings;
    int m_firstPage = 0; // 0: no bound
    int m_lastPage = 0;
    PrintStatus m_status = PrintStatus::Ready;
    int m_pagesStarted = 0;
    int m_pagesCompleted = 0;
    int m_progress = 0;
    bool m_cancelled = false;
    bool m_pageOpen = false;
    DeviceGeometry m_geometry;
};

} // namespace pellion
