#pragma once

// The page image as the page store and the saved-report file hold it: the
// page's size and its drawing as a list of filled rectangles and text lines,
// which is everything a report page draws. A run records pages as QPicture;
// they are stored in this plain format because a saved report is untrusted
// input, and QPicture's own serialization cannot be read safely (a forged
// count in it makes the replay allocate gigabytes). Decoding checks every
// length against the bytes that are there and rebuilds a QPicture that the
// preview and the printer replay.
//
//   "PPG1", page width and height in pixels (i32 each), then operations:
//     1 fill rectangle: x, y, width, height (i32 each), colour (u32 ARGB)
//     2 font: family (u16 length + UTF-8), point size (f64), flags (u8: 1 bold, 2 italic)
//     3 text: x, y of the baseline start (f64 each), colour (u32 ARGB), text (u32 length + UTF-8)
//   all little-endian, in drawing order.

#include <QByteArray>

class QPicture;

namespace pellion {

// The picture's bounding rectangle is taken as the page.
QByteArray encodePageImage(const QPicture& page);
// Fails with "Invalid page image" for bytes that are not such a drawing.
QPicture decodePageImage(const QByteArray& bytes);

} // namespace pellion
