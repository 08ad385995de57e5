#pragma once

// The page area of the preview: a scrolling area holding one
// page image at a zoom. It shows only the current page, read from the print
// target's page store when it is chosen or when it becomes available.
//
// The zoom arithmetic is preview/previewzoom.h. The mode (fit, width, other)
// decides what a resize does; fit and width keep their mode even when the
// zoom they compute is refused.

#include <QPicture>
#include <QPointer>
#include <QScrollArea>

#include <optional>

namespace pellion {

class PageImage;
class PreviewTarget;

enum class ZoomMode { Fit, Width, Other };

class PreviewArea : public QScrollArea {
    Q_OBJECT

public:
    explicit PreviewArea(QWidget* parent = nullptr);

    // Makes this area the print target's client: its page-available and
    // progress notifications reach the area queued, in order.
    void attach(PreviewTarget& target);
    PreviewTarget* target() const { return m_target; }

    int PageNumber() const { return m_pageNumber; }
    void setPageNumber(int n);
    // Reads the page again even if it is already on view (after a load).
    void showPage(int n);
    // Page 1 without an image, as before the first page (after a failed load).
    void showNoPage();
    bool pageShown() const { return m_image.has_value(); }
    const std::optional<QPicture>& image() const { return m_image; }

    int Zoom() const { return m_zoom; }
    ZoomMode zoomMode() const { return m_mode; }
    void setZoom(int zoom);
    void zoomToFit();
    void zoomToWidth();
    // Sizes and centres the page image for the zoom; scrolls to the top-left.
    void updateZoom();

    int pageWidthPixels() const;
    int pageLengthPixels() const;
    QSize pageSizePixels() const;
    PageImage* pageImage() const { return m_pageImage; }

signals:
    void pageAvailable(int pagesCompleted);
    void progressChanged(int percent);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // What the report's printer tells of its progress, passed on above.
    void onPrinterPage(int pagesCompleted);
    void onPrinterProgress(int percent);
    void scrollHome();

    QPointer<PreviewTarget> m_target;
    QWidget* m_canvas;
    PageImage* m_pageImage;
    int m_pageNumber = 1;
    int m_zoom = 100;
    ZoomMode m_mode = ZoomMode::Other;
    std::optional<QPicture> m_image;
};

// The page image control: the page on white with an outline and a shadow.
class PageImage : public QWidget {
    Q_OBJECT

public:
    explicit PageImage(PreviewArea& area, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PreviewArea& m_area;
};

} // namespace pellion
