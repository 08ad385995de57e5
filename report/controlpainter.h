#pragma once

// Draws report controls and band areas onto the print target's surface.
// Boxes are measured with the screen's text metrics (so a report lays out
// the same on every printer); lines are drawn with the target's metrics.

#include "reportlayout/reportlayout.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace pellion {

class ReportPrinter;

QFont reportFont(const ReportFont& font);

// Width in tenths of a millimetre of the widest line plus one screen pixel.
double autoSizedWidth(const QStringList& lines, const QFont& font);

// Fills an area of the page (tenths of a millimetre) with white.
void fillPageArea(ReportPrinter& target, double left, double top, double width, double height);

// Draws the control's text at the band offset (ox, oy): white box first, then
// every line that fits the box.
void drawControl(ReportPrinter& target, const ReportControl& control, const QString& text,
                 double ox, double oy);

} // namespace pellion
