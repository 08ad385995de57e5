#include "preview/previewarea.h"

#include "preview/pagestore.h"
#include "preview/previewtarget.h"
#include "preview/previewzoom.h"
#include "report/pageimagedestination.h"
#include "ui/errordisplay.h"

#include <QPainter>
#include <QScopeGuard>
#include <QScrollBar>

#include <algorithm>
#include <exception>

namespace pellion {

PreviewArea::PreviewArea(QWidget* parent)
    : QScrollArea(parent), m_canvas(new QWidget), m_pageImage(new PageImage(*this, m_canvas)) {
    setObjectName(QStringLiteral("PreviewArea"));
    setWidgetResizable(false);
    setWidget(m_canvas);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    updateZoom();
}

void PreviewArea::attach(PreviewTarget& target) {
    m_target = &target;
    target.setShowsPreview(true);
    ReportPrinter& printer = target.printer();
    connect(&printer, &ReportPrinter::pageAvailable, this, &PreviewArea::onPrinterPage,
            Qt::QueuedConnection);
    connect(&printer, &ReportPrinter::progressUpdated, this, &PreviewArea::onPrinterProgress,
            Qt::QueuedConnection);
    m_pageNumber = 1;
    m_image.reset();
    updateZoom();
}

int PreviewArea::pageWidthPixels() const {
    if (!m_target)
        return 0;
    return nearestEven(m_target->printer().paperWidth() * screenPixelsPerInch() / 254.0);
}

int PreviewArea::pageLengthPixels() const {
    if (!m_target)
        return 0;
    return nearestEven(m_target->printer().paperLength() * screenPixelsPerInch() / 254.0);
}

QSize PreviewArea::pageSizePixels() const {
    return {pageWidthPixels(), pageLengthPixels()};
}

void PreviewArea::setPageNumber(int n) {
    if (n <= 0 || !m_target || n > m_target->pageCount())
        return;
    if (n == m_pageNumber && m_image)
        return;
    showPage(n);
}

void PreviewArea::showPage(int n) {
    if (!m_target)
        return;
    m_image.reset();
    m_pageNumber = n;
    // Repainted also when the page cannot be read: the area is then empty,
    // never the page that was on view before.
    const auto repaint = qScopeGuard([this] {
        m_pageImage->update();
        scrollHome();
    });
    m_image = m_target->readPage(n);
}

void PreviewArea::showNoPage() {
    m_image.reset();
    m_pageNumber = 1;
    m_pageImage->update();
    scrollHome();
}

void PreviewArea::onPrinterPage(int pagesCompleted) {
    if (m_target && pagesCompleted == m_pageNumber && !m_image &&
        m_target->pagesCompleted() >= m_pageNumber) {
        zoomToWidth();
        try {
            showPage(m_pageNumber);
        } catch (const std::exception& error) {
            // No command to end here: the page stays empty and the user is told.
            showError(error, this);
        }
    }
    emit pageAvailable(pagesCompleted);
}

void PreviewArea::onPrinterProgress(int percent) {
    emit progressChanged(percent);
}

void PreviewArea::setZoom(int zoom) {
    if (!zoomAllowed(zoom))
        return;
    m_zoom = zoom;
    m_mode = ZoomMode::Other;
    updateZoom();
}

void PreviewArea::zoomToFit() {
    const QSize page = pageSizePixels();
    if (!page.isEmpty())
        setZoom(fitZoom(size(), page));
    m_mode = ZoomMode::Fit;
}

void PreviewArea::zoomToWidth() {
    const int pageWidth = pageWidthPixels();
    if (pageWidth > 0)
        setZoom(widthZoom(width(), pageWidth));
    updateZoom();
    m_mode = ZoomMode::Width;
}

void PreviewArea::updateZoom() {
    // Centred in the area's outer size, where the page is smaller.
    const QRect image = pageImageGeometry(size(), pageSizePixels(), m_zoom);
    m_pageImage->setGeometry(image);
    const QSize room = viewport()->size();
    m_canvas->resize(std::max(image.right() + 1, room.width()),
                     std::max(image.bottom() + 1, room.height()));
    scrollHome();
}

void PreviewArea::scrollHome() {
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void PreviewArea::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    switch (m_mode) {
    case ZoomMode::Fit:
        zoomToFit();
        break;
    case ZoomMode::Width:
        zoomToWidth();
        break;
    case ZoomMode::Other:
        break;
    }
    updateZoom();
}

PageImage::PageImage(PreviewArea& area, QWidget* parent) : QWidget(parent), m_area(area) {
    setObjectName(QStringLiteral("PageImage"));
}

void PageImage::paintEvent(QPaintEvent*) {
    const std::optional<QPicture>& image = m_area.image();
    if (!image)
        return; // the area's background shows
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(1, 1), QPoint(w - 4, h - 4)), Qt::white);

    drawPageImage(painter, *image, QRect(0, 0, w, h));

    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(0, 0, w - 4, h - 4)); // outline on columns 0 and w - 4
    painter.fillRect(QRect(QPoint(w - 2, 2), QPoint(w - 1, h - 1)), Qt::black);
    painter.fillRect(QRect(QPoint(2, h - 2), QPoint(w - 1, h - 1)), Qt::black);
}

} // namespace pellion
