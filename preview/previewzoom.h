#pragma once

// The preview's zoom arithmetic, apart from the page area that shows it so
// that it is tested without a window. Lengths are screen pixels, zooms whole
// per cent.

#include <QRect>
#include <QSize>

namespace pellion {

constexpr int minimumZoom = 2;
constexpr int maximumZoom = 2000;
// The page image is this much larger than the zoomed page: outline and shadow.
constexpr int pageImageFrame = 4;

bool zoomAllowed(int zoom);
// The smaller of the zooms that fit the page's width and its length into 95
// per cent of the area. The page must not be empty.
int fitZoom(QSize area, QSize page);
// The zoom that fits the page's width into 90 per cent of the area's width.
int widthZoom(int areaWidth, int pageWidth);
// The page image for a zoom, centred in the area where it is smaller than
// the area, else at its left or top edge.
QRect pageImageGeometry(QSize area, QSize page, int zoom);

} // namespace pellion
