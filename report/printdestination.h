#pragma once

// Where a report run's pages go: a printer or page images. The print target
// drives one of these through the same calls, so the run draws every page
// the same way whatever receives it.

#include "reportlayout/reportlayout.h"

#include <QString>

class QPainter;
class QPaintDevice;

namespace pellion {

// Converts page positions and lengths in tenths of a millimetre to device
// pixels. The offsets are the printable area's distance from the paper's
// edge, so a position lands at the same place on the paper on any printer.
struct DeviceGeometry {
    int resolutionX = 96; // pixels per inch
    int resolutionY = 96;
    int offsetX = 0; // tenths of a millimetre
    int offsetY = 0;

    int positionX(double tenths) const {
        return nearestEven((tenths - offsetX) * resolutionX / 254.0);
    }
    int positionY(double tenths) const {
        return nearestEven((tenths - offsetY) * resolutionY / 254.0);
    }
    int lengthX(double tenths) const { return nearestEven(tenths * resolutionX / 254.0); }
    int lengthY(double tenths) const { return nearestEven(tenths * resolutionY / 254.0); }
};

// What a print job is set up with when the document begins.
struct JobSettings {
    QString title;
    QString printerName; // empty: the system's default
    int paperCode = letterPaperCode;
    Orientation orientation = Orientation::Portrait;
    int copies = 1;
    bool setOrientation = true;
    bool setCopies = true;
    bool automaticPaperSource = true;
};

class PrintDestination {
public:
    virtual ~PrintDestination() = default;

    virtual void beginDocument(const JobSettings& settings) = 0;
    virtual DeviceGeometry geometry() const = 0;
    // paperWidth and paperLength are in tenths of a millimetre, for the orientation.
    // A page outside the page range is drawn but never printed.
    virtual void openPage(bool inRange, double paperWidth, double paperLength) = 0;
    virtual void finishPage() = 0;
    virtual void endDocument(int pageCount) = 0;
    virtual void abortDocument() = 0;

    virtual QPainter& painter() = 0;
    // The device whose text metrics decide how tall a line is on the target.
    virtual QPaintDevice& metricsDevice() = 0;
};

} // namespace pellion
