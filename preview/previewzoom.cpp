#include "preview/previewzoom.h"

#include "reportlayout/reportlayout.h"

#include <algorithm>

namespace pellion {

namespace {

int zoomedLength(int pageLength, int zoom) {
    return nearestEven(pageLength * zoom / 100.0) + pageImageFrame;
}

int centredStart(int areaLength, int imageLength) {
    return imageLength < areaLength ? (areaLength - imageLength) / 2 : 0;
}

} // namespace

bool zoomAllowed(int zoom) {
    return zoom >= minimumZoom && zoom <= maximumZoom;
}

int fitZoom(QSize area, QSize page) {
    const int byWidth = nearestEven(static_cast<double>(area.width()) / page.width() * 95);
    const int byLength = nearestEven(static_cast<double>(area.height()) / page.height() * 95);
    return std::min(byWidth, byLength);
}

int widthZoom(int areaWidth, int pageWidth) {
    return nearestEven(static_cast<double>(areaWidth) / pageWidth * 90);
}

QRect pageImageGeometry(QSize area, QSize page, int zoom) {
    const int width = zoomedLength(page.width(), zoom);
    const int height = zoomedLength(page.height(), zoom);
    return {centredStart(area.width(), width), centredStart(area.height(), height), width, height};
}

} // namespace pellion
