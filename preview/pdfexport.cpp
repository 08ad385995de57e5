#include "preview/pdfexport.h"

#include "base/error.h"
#include "base/replacingfile.h"
#include "preview/pagestore.h"
#include "preview/previewdialogs.h"
#include "preview/previewtarget.h"
#include "report/pageimagedestination.h"
#include "report/pdfdestination.h"
#include "report/printcommand.h"
#include "report/report.h"
#include "report/reportform.h"
#include "report/reportprinter.h"
#include "ui/errordisplay.h"
#include "ui/messagedialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QObject>
#include <QPicture>

#include <memory>
#include <optional>
#include <string>

namespace pellion {

namespace {

constexpr qint64 writeChunk = 64 * 1024;

// Hands what the PDF writer writes, a few bytes at a time, to the replacing
// file in large pieces. A failure is kept for finish(): an exception must not
// travel through Qt's PDF engine.
class ReplacingFileDevice : public QIODevice {
public:
    explicit ReplacingFileDevice(ReplacingFile& file) : m_file(file) { open(QIODevice::WriteOnly); }

    bool isSequential() const override { return true; }

    // Writes what is still held back; raises the first failure.
    void finish() {
        writeHeldBytes();
        if (!m_failure.empty())
            throw Error(m_failure);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }

    qint64 writeData(const char* data, qint64 size) override {
        if (!m_failure.empty())
            return -1;
        m_held.append(data, static_cast<std::size_t>(size));
        if (static_cast<qint64>(m_held.size()) >= writeChunk)
            writeHeldBytes();
        return m_failure.empty() ? size : -1;
    }

private:
    void writeHeldBytes() {
        if (m_held.empty() || !m_failure.empty())
            return;
        try {
            m_file.write(m_held);
        } catch (const std::exception& error) {
            m_failure = error.what();
        }
        m_held.clear();
    }

    ReplacingFile& m_file;
    std::string m_held;
    std::string m_failure;
};

ReplacingFile::Messages pdfFileMessages(const QString& fileName) {
    const std::string shown = QDir::toNativeSeparators(fileName).toStdString();
    return {"Cannot create file " + shown, "Stream write error", "Cannot create file " + shown};
}

// A PDF takes any paper of the paper table, starting with the report's own;
// it has no copies. It carries the name of the report's printer, so that the
// run does not replace these papers with those of the printer a printer
// set-up chose.
PrinterCapabilities pdfPapers(const QString& reportPrinterName) {
    PrinterCapabilities pdf;
    pdf.installed = true;
    pdf.printerName = reportPrinterName;
    for (const PaperSize& paper : paperTable())
        if (paper.widthMm > 0)
            pdf.offeredPapers.push_back(paper.code);
    pdf.currentPaper = letterPaperCode;
    pdf.physicalWidth = findPaper(letterPaperCode)->widthMm * 10;
    pdf.physicalLength = findPaper(letterPaperCode)->lengthMm * 10;
    pdf.canSetCopies = false;
    pdf.canSetPaperSource = false;
    return pdf;
}

// A loaded report file's pages, each on the paper it was drawn for.
void writeStoredPages(PreviewTarget& target, const QString& fileName) {
    const int pageCount = target.pageCount();
    if (pageCount < 1)
        return;
    ReplacingFile file(QFile::encodeName(fileName).toStdString(), pdfFileMessages(fileName));
    ReplacingFileDevice device(file);
    PdfDestination pdf(device);
    pdf.beginDocument(target.printer().jobSettings());
    const double dpi = screenPixelsPerInch();
    for (int n = 1; n <= pageCount; ++n) {
        const std::optional<QPicture> page = target.readPage(n);
        const QRect bounds = page ? page->boundingRect() : QRect();
        if (bounds.isEmpty())
            pdf.openPage(true, target.printer().paperWidth(), target.printer().paperLength());
        else
            pdf.openPage(true, bounds.width() * 254.0 / dpi, bounds.height() * 254.0 / dpi);
        if (page) {
            QPainter& painter = pdf.painter();
            drawPageImage(painter, *page, painter.viewport());
        }
        pdf.finishPage();
    }
    pdf.endDocument(pageCount);
    device.finish();
    file.commit();
}

} // namespace

bool exportReportPdf(Report& report, const QString& fileName) {
    if (report.busy())
        return false;
    ReplacingFile file(QFile::encodeName(fileName).toStdString(), pdfFileMessages(fileName));
    ReplacingFileDevice device(file);
    ReportPrinter target(pdfPapers(report.printerName()));
    target.setDestination(std::make_unique<PdfDestination>(device));
    report.run(target);
    // A run stopped half-way leaves any old file as it was.
    if (report.cancelled() || target.cancelled())
        return false;
    device.finish();
    file.commit();
    return true;
}

void savePreviewAsPdf(PreviewTarget& target, const QString& fileName) {
    if (target.status() != PrintStatus::Finished)
        return;
    if (target.loaded()) {
        writeStoredPages(target, fileName);
        return;
    }
    // Handled from the event loop, like a print from the preview: the run
    // takes window events, and the preview may close meanwhile.
    if (Report* report = target.master()) {
        QMetaObject::invokeMethod(
            report,
            [report, fileName] {
                try {
                    exportReportPdf(*report, fileName);
                } catch (const std::exception& error) {
                    showError(error);
                }
            },
            Qt::QueuedConnection);
    }
}

void exportUsageReportPdf(ApplianceTable& table, const ReportTexts& texts, const QString& fileName,
                          QWidget* owner) {
    withReportForm(table, texts, owner,
                   [&fileName](ReportForm& form) { exportReportPdf(form.report(), fileName); });
}

QString askPdfFileName(const QString& title, QWidget* parent) {
    const QString fileName = previewDialogs().saveFileName(
        title, QObject::tr("PDF document") + QStringLiteral(" (*.pdf)"), QStringLiteral("pdf"));
    if (fileName.isEmpty())
        return {};
    if (QFileInfo::exists(fileName) &&
        messageDialog(parent, DialogKind::Confirmation,
                      QObject::tr("%1 already exists.\nDo you want to replace it?")
                          .arg(QFileInfo(fileName).fileName()),
                      DialogYes | DialogNo) != DialogYes)
        return {};
    return fileName;
}

} // namespace pellion
