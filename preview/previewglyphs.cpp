#include "preview/previewglyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <cmath>

namespace pellion {

namespace {

const QColor ink(0x2e, 0x34, 0x36);
const QColor arrow(0x20, 0x4a, 0x87);
const QColor paper(Qt::white);
const QColor printerBody(0x88, 0x8a, 0x85);
const QColor folder(0xc4, 0x8a, 0x1e);
const QColor folderFront(0xe9, 0xb9, 0x6e);
const QColor pdfRed(0xc0, 0x1c, 0x28);

QPen outline(const QColor& colour = ink, double width = 1.0) {
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// A sheet of paper with a few lines of print.
void drawPage(QPainter& painter, const QRectF& sheet) {
    painter.setPen(outline());
    painter.setBrush(paper);
    painter.drawRect(sheet);
    painter.setPen(outline(printerBody));
    for (double y = sheet.top() + 2.5; y < sheet.bottom() - 1; y += 2)
        painter.drawLine(QPointF(sheet.left() + 2, y), QPointF(sheet.right() - 2, y));
}

// A lens with its handle; what is drawn in the lens tells the zoom apart.
void drawMagnifier(QPainter& painter) {
    painter.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10.2, 10.2), QPointF(14.2, 14.2));
    painter.setPen(outline(ink, 1.4));
    painter.setBrush(paper);
    painter.drawEllipse(QPointF(6.5, 6.5), 5, 5);
}

// A filled triangle pointing left (direction -1) or right (1) from its tip.
void drawTriangle(QPainter& painter, double tipX, int direction) {
    const double baseX = tipX - direction * 7;
    painter.setPen(outline(arrow));
    painter.setBrush(arrow);
    painter.drawPolygon(QPolygonF{{tipX, 8}, {baseX, 3}, {baseX, 13}});
}

void drawBar(QPainter& painter, double x) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(arrow);
    painter.drawRect(QRectF(x, 3, 2, 10));
}

void drawPrinter(QPainter& painter) {
    painter.setPen(outline());
    painter.setBrush(paper);
    painter.drawRect(QRectF(4.5, 1.5, 7, 5)); // paper waiting at the top
    painter.setBrush(printerBody);
    painter.drawRoundedRect(QRectF(1.5, 5.5, 13, 6), 1, 1);
    painter.setBrush(paper);
    painter.drawRect(QRectF(3.5, 9.5, 9, 5)); // the printed sheet
    painter.setPen(outline(printerBody));
    painter.drawLine(QPointF(5, 11.5), QPointF(11, 11.5));
    painter.drawLine(QPointF(5, 13), QPointF(9, 13));
}

void drawGear(QPainter& painter, const QPointF& centre, double radius) {
    QPainterPath gear;
    gear.setFillRule(Qt::OddEvenFill);
    constexpr int teeth = 6;
    QPolygonF rim;
    for (int step = 0; step < teeth * 4; ++step) {
        const double angle = step * 3.14159265358979 * 2 / (teeth * 4);
        const double r = (step % 4 < 2) ? radius : radius * 0.72;
        rim << centre + QPointF(r * std::cos(angle), r * std::sin(angle));
    }
    gear.addPolygon(rim);
    gear.closeSubpath();
    gear.addEllipse(centre, radius * 0.3, radius * 0.3);
    painter.setPen(outline(ink, 0.8));
    painter.setBrush(QColor(0x55, 0x57, 0x53));
    painter.drawPath(gear);
}

void drawGlyph(QPainter& painter, PreviewGlyph glyph) {
    switch (glyph) {
    case PreviewGlyph::ZoomToFit: {
        // The whole page inside the corners of the view.
        drawPage(painter, QRectF(4.5, 3.5, 7, 9));
        painter.setPen(outline(arrow, 1.4));
        painter.setBrush(Qt::NoBrush);
        for (const QPointF& corner :
             {QPointF(1, 1), QPointF(15, 1), QPointF(1, 15), QPointF(15, 15)}) {
            const double dx = corner.x() < 8 ? 3.5 : -3.5;
            const double dy = corner.y() < 8 ? 3.5 : -3.5;
            painter.drawPolyline(
                QPolygonF{corner + QPointF(dx, 0), corner, corner + QPointF(0, dy)});
        }
        break;
    }
    case PreviewGlyph::Zoom100: {
        drawMagnifier(painter);
        // A "1" in the lens: the page at its own size.
        painter.setPen(QPen(arrow, 1.6, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(7, 3.6), QPointF(7, 9.6));
        painter.drawLine(QPointF(7, 3.8), QPointF(5, 5.4));
        break;
    }
    case PreviewGlyph::ZoomToWidth: {
        // The page with an arrow reaching from edge to edge.
        drawPage(painter, QRectF(3.5, 1.5, 9, 13));
        painter.setPen(QPen(arrow, 1.6));
        painter.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
        painter.setPen(Qt::NoPen);
        painter.setBrush(arrow);
        painter.drawPolygon(QPolygonF{{0.5, 8}, {4, 4.5}, {4, 11.5}});
        painter.drawPolygon(QPolygonF{{15.5, 8}, {12, 4.5}, {12, 11.5}});
        break;
    }
    case PreviewGlyph::FirstPage:
        drawBar(painter, 2);
        drawTriangle(painter, 5, -1);
        break;
    case PreviewGlyph::PreviousPage:
        drawTriangle(painter, 4.5, -1);
        break;
    case PreviewGlyph::NextPage:
        drawTriangle(painter, 11.5, 1);
        break;
    case PreviewGlyph::LastPage:
        drawTriangle(painter, 11, 1);
        drawBar(painter, 12);
        break;
    case PreviewGlyph::PrinterSetup:
        painter.save();
        painter.translate(-1, -1);
        painter.scale(0.8, 0.8);
        drawPrinter(painter);
        painter.restore();
        drawGear(painter, QPointF(11.2, 11.2), 4.6);
        break;
    case PreviewGlyph::Print:
        drawPrinter(painter);
        break;
    case PreviewGlyph::SaveReport: {
        // A diskette: shutter at the top, label below.
        QPainterPath disk;
        disk.moveTo(1.5, 1.5);
        disk.lineTo(12, 1.5);
        disk.lineTo(14.5, 4);
        disk.lineTo(14.5, 14.5);
        disk.lineTo(1.5, 14.5);
        disk.closeSubpath();
        painter.setPen(outline());
        painter.setBrush(arrow);
        painter.drawPath(disk);
        painter.setBrush(QColor(0xd3, 0xd7, 0xcf));
        painter.drawRect(QRectF(4.5, 1.5, 6, 4));
        painter.setBrush(paper);
        painter.drawRect(QRectF(3.5, 8.5, 9, 6));
        break;
    }
    case PreviewGlyph::LoadReport: {
        // An open folder.
        painter.setPen(outline());
        painter.setBrush(folder);
        painter.drawPolygon(
            QPolygonF{{1.5, 13.5}, {1.5, 2.5}, {6, 2.5}, {7.5, 4.5}, {13.5, 4.5}, {13.5, 13.5}});
        painter.setBrush(folderFront);
        painter.drawPolygon(QPolygonF{{1.5, 13.5}, {4, 7.5}, {15.5, 7.5}, {13.5, 13.5}});
        break;
    }
    case PreviewGlyph::SaveAsPdf: {
        // A sheet with its corner folded and a red label lettered PDF.
        painter.setPen(outline());
        painter.setBrush(paper);
        painter.drawPolygon(QPolygonF{{2.5, 0.5}, {10, 0.5}, {13.5, 4}, {13.5, 15.5}, {2.5, 15.5}});
        painter.drawPolyline(QPolygonF{{10, 0.5}, {10, 4}, {13.5, 4}});
        painter.setPen(Qt::NoPen);
        painter.setBrush(pdfRed);
        painter.drawRect(QRectF(0.5, 8.5, 15, 6.5));
        painter.setPen(QPen(paper, 1.1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(
            QPolygonF{{2.5, 14}, {2.5, 9.8}, {4.6, 9.8}, {4.6, 11.9}, {2.5, 11.9}});
        painter.drawPolygon(
            QPolygonF{{6.3, 9.8}, {8, 9.8}, {9.2, 11}, {9.2, 12.7}, {8, 13.9}, {6.3, 13.9}});
        painter.drawPolyline(QPolygonF{{13.8, 9.8}, {11.2, 9.8}, {11.2, 14}});
        painter.drawLine(QPointF(11.2, 11.9), QPointF(13.2, 11.9));
        break;
    }
    }
}

QPixmap drawnPixmap(PreviewGlyph glyph, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    drawGlyph(painter, glyph);
    return pixmap;
}

} // namespace

QString themeIconName(PreviewGlyph glyph) {
    switch (glyph) {
    case PreviewGlyph::ZoomToFit:
        return QStringLiteral("zoom-fit-best");
    case PreviewGlyph::Zoom100:
        return QStringLiteral("zoom-original");
    case PreviewGlyph::ZoomToWidth:
        return QStringLiteral("zoom-fit-width");
    case PreviewGlyph::FirstPage:
        return QStringLiteral("go-first");
    case PreviewGlyph::PreviousPage:
        return QStringLiteral("go-previous");
    case PreviewGlyph::NextPage:
        return QStringLiteral("go-next");
    case PreviewGlyph::LastPage:
        return QStringLiteral("go-last");
    case PreviewGlyph::PrinterSetup:
        return QStringLiteral("document-page-setup");
    case PreviewGlyph::Print:
        return QStringLiteral("document-print");
    case PreviewGlyph::SaveReport:
        return QStringLiteral("document-save");
    case PreviewGlyph::LoadReport:
        return QStringLiteral("document-open");
    case PreviewGlyph::SaveAsPdf:
        return QStringLiteral("application-pdf");
    }
    return {};
}

QIcon drawnPreviewIcon(PreviewGlyph glyph) {
    QIcon icon;
    for (const int size : {16, 32})
        icon.addPixmap(drawnPixmap(glyph, size));
    return icon;
}

QIcon previewIcon(PreviewGlyph glyph) {
    return QIcon::fromTheme(themeIconName(glyph), drawnPreviewIcon(glyph));
}

} // namespace pellion
