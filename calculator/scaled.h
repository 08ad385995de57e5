#pragma once

// The calculator's layout is given in pixels at 96 dpi; these scale it to
// the screen it opens on, rounding each figure to the nearest pixel.

#include <QRect>

#include <cmath>

namespace pellion {

inline int scaled(int pixels, double scale) {
    return int(std::lround(pixels * scale));
}

inline QRect scaled(const QRect& r, double scale) {
    return QRect(scaled(r.left(), scale), scaled(r.top(), scale), scaled(r.width(), scale),
                 scaled(r.height(), scale));
}

} // namespace pellion
