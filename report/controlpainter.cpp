#include "report/controlpainter.h"

#include "report/controltext.h"
#include "report/pageimagedestination.h"
#include "report/reportprinter.h"

#include <QBrush>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPen>

#include <algorithm>

namespace pellion {

QFont reportFont(const ReportFont& font) {
    QFont result(QString::fromStdString(font.family), font.pointSize);
    result.setBold(font.style.bold);
    result.setItalic(font.style.italic);
    return result;
}

double autoSizedWidth(const QStringList& lines, const QFont& font) {
    const QFontMetrics screenMetrics(font);
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, screenMetrics.horizontalAdvance(line));
    return (widest + 1) * 254.0 / screenPixelsPerInch();
}

void fillPageArea(ReportPrinter& target, double left, double top, double width, double height) {
    const QRect area(target.pagePositionX(left), target.pagePositionY(top), target.pageSizeX(width),
                     target.pageSizeY(height));
    // A plain white rectangle without outline. Unlike fillRect, which saves and
    // restores the pen and brush around every call, this records the state only
    // when it changes, which keeps page images about a quarter smaller.
    QPainter& painter = target.surface();
    if (painter.brush() != QBrush(Qt::white))
        painter.setBrush(Qt::white);
    if (painter.pen().style() != Qt::NoPen)
        painter.setPen(Qt::NoPen);
    painter.drawRect(area);
}

namespace {

// The height of a line on the target, in tenths of a millimetre.
double lineHeight(ReportPrinter& target, const QFont& font) {
    const QFontMetricsF targetMetrics(font, &target.metricsDevice());
    return targetMetrics.height() * 254.0 / target.deviceGeometry().resolutionY;
}

} // namespace

void drawControl(ReportPrinter& target, const ReportControl& control, const QString& text,
                 double ox, double oy) {
    const QFont font = reportFont(control.font);
    const QStringList lines = controlLines(text);
    const double width = autoSizedWidth(lines, font);
    double left = ox + control.left;
    if (control.rightEdge > 0 && control.left + width > control.rightEdge)
        left = ox + std::max(0.0, control.rightEdge - width);
    const double top = oy + control.top;
    fillPageArea(target, left, top, width, control.height);

    QPainter& painter = target.surface();
    // Only real changes: every state change is recorded into a page image.
    if (painter.font() != font)
        painter.setFont(font);
    const QColor ink = QGuiApplication::palette().color(QPalette::WindowText);
    if (painter.pen() != QPen(ink))
        painter.setPen(ink);
    if (painter.backgroundMode() != Qt::TransparentMode)
        painter.setBackgroundMode(Qt::TransparentMode);
    const double ascent = painter.fontMetrics().ascent();
    const double height = lineHeight(target, font);
    double lineTop = top;
    for (const QString& line : lines) {
        // The controls do not stretch: what does not fit the box is dropped.
        if (lineTop + height > top + control.height + 1)
            break;
        painter.drawText(
            QPointF(target.pagePositionX(left), target.pagePositionY(lineTop) + ascent), line);
        lineTop += height;
    }
}

} // namespace pellion
