#pragma once

// The print target as the preview sees it: the report's print target with
// its page-image destination, the page store the pages go to, and what only
// a preview needs: the master report and its printer set-up, the loaded mark
// once a saved report replaced the produced pages, saving, and printing.
//
// A load may arrive while the run still produces pages: the run is told to
// stop, and pages it still delivers are dropped rather than mixed into the
// loaded file.

#include "preview/pagestore.h"
#include "preview/printersetupdialog.h"
#include "report/pagesink.h"
#include "report/printercapabilities.h"
#include "report/report.h"
#include "report/reportprinter.h"
#include "reportlayout/reportlayout.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QPicture;

namespace pellion {

class PrintDestination;

// Asks for the printer set-up starting from the report's; the range is
// offered from 1 to the page count. None when nothing is to change.
using PrinterSetupQuestion =
    std::function<std::optional<PrinterSetup>(const PrinterSetup& preset, int pageCount)>;

class PreviewTarget : public QObject, private PageSink {
    Q_OBJECT

public:
    // The report's default printer.
    explicit PreviewTarget(Report* master, QObject* parent = nullptr);
    PreviewTarget(Report* master, const PrinterCapabilities& printer, QObject* parent = nullptr);
    ~PreviewTarget() override;

    ReportPrinter& printer() { return m_printer; }
    const ReportPrinter& printer() const { return m_printer; }
    Report* master() const { return m_master; }
    QString title() const { return m_printer.title(); }

    // Finished once a file is loaded; ready after a failed load.
    PrintStatus status() const;
    int pageCount() const; // pages started, or the loaded file's pages
    int pagesCompleted() const;
    bool loaded() const { return m_source == Source::Loaded; }
    const PageList& pages() const { return m_pages; }

    bool showsPreview() const { return m_showsPreview; }
    void setShowsPreview(bool shows);

    // The report's printer set-up; none once a file is loaded.
    bool hasPrinterSetup() const { return m_master != nullptr && !loaded(); }
    void printerSetup(const PrinterSetupQuestion& ask);

    std::optional<QPicture> readPage(int n);
    // Writes nothing while the run has not finished; returns whether it wrote.
    bool saveToFile(const QString& fileName);
    void loadFromFile(const QString& fileName);

    // Produced pages: a print request queued to the report. A loaded file:
    // its stored pages onto the printer.
    void print();
    void printStoredPages(PrintDestination& destination);

signals:
    // The preview stopped showing: its waiting operation may return.
    void previewEnded();

private:
    enum class Source { Run, Loaded, Dropped };

    void startDocument() override;
    void appendPageImage(const QByteArray& page) override;
    void finishDocument(int pageCount) override;
    void dropPages();
    void recognisePaper(const QPicture& firstPage);

    QPointer<Report> m_master;
    PageList m_pages; // outlives the printer, whose destination writes into it
    ReportPrinter m_printer;
    Source m_source = Source::Run;
    bool m_showsPreview = false;
};

} // namespace pellion
