#include "report/pageimage.h"

#include "base/error.h"
#include "base/littleendian.h"
#include "report/enginedevice.h"

#include <QFont>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QTextItem>

#include <bit>
#include <cmath>
#include <cstdint>

namespace pellion {

namespace {

const QByteArray magic("PPG1");
constexpr std::uint8_t fillOperation = 1;
constexpr std::uint8_t fontOperation = 2;
constexpr std::uint8_t textOperation = 3;
constexpr int maximumPagePixels = 100000;
constexpr double maximumCoordinate = 1e6;
constexpr int maximumFamilyBytes = 256;
constexpr double maximumPointSize = 200; // a report prints in 10 points

[[noreturn]] void invalidImage() {
    throw Error("Invalid page image");
}

class Writer {
public:
    void u8(std::uint8_t value) { appendLittleEndian(m_bytes, value, 1); }
    void u16(std::uint16_t value) { appendLittleEndian(m_bytes, value, 2); }
    void u32(std::uint32_t value) { appendLittleEndian(m_bytes, value, 4); }
    void i32(std::int32_t value) {
        appendLittleEndian(m_bytes, static_cast<std::uint32_t>(value), 4);
    }
    void f64(double value) { appendLittleEndian(m_bytes, std::bit_cast<std::uint64_t>(value), 8); }
    void raw(const QByteArray& bytes) { m_bytes.append(bytes); }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}
    bool atEnd() const { return m_position >= m_bytes.size(); }
    std::uint8_t u8() { return static_cast<std::uint8_t>(get(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(get(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(get(4)); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    double f64() {
        const double value = std::bit_cast<double>(get(8));
        if (!std::isfinite(value) || std::fabs(value) > maximumCoordinate)
            invalidImage();
        return value;
    }
    QByteArray raw(qint64 length) {
        // Checked before anything is allocated.
        if (length > m_bytes.size() - m_position)
            invalidImage();
        QByteArray bytes = m_bytes.mid(m_position, length);
        m_position += length;
        return bytes;
    }

private:
    std::uint64_t get(int size) {
        if (size > m_bytes.size() - m_position)
            invalidImage();
        const std::uint64_t value = littleEndianAt(m_bytes, m_position, size);
        m_position += size;
        return value;
    }
    const QByteArray& m_bytes;
    qint64 m_position = 0;
};

// Receives a replayed page and writes what it draws.
class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(Writer& out) : QPaintEngine(QPaintEngine::AllFeatures), m_out(out) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        const QPaintEngine::DirtyFlags dirty = state.state();
        if (dirty & QPaintEngine::DirtyTransform)
            m_transform = state.transform();
        if (dirty & QPaintEngine::DirtyBrush)
            m_brush = state.brush();
        if (dirty & QPaintEngine::DirtyPen)
            m_pen = state.pen();
    }

    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i)
            writeFill(m_transform.mapRect(rects[i]));
    }
    void drawRects(const QRect* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            const QRectF area(rects[i]);
            drawRects(&area, 1);
        }
    }

    void drawTextItem(const QPointF& position, const QTextItem& item) override {
        writeFont(item.font());
        const QPointF at = m_transform.map(position);
        const QByteArray text = item.text().toUtf8();
        m_out.u8(textOperation);
        m_out.f64(at.x());
        m_out.f64(at.y());
        m_out.u32(m_pen.color().rgba());
        m_out.u32(static_cast<std::uint32_t>(text.size()));
        m_out.raw(text);
    }

    // A rectangle filled through a state the engine cannot take directly
    // arrives as a path of its four corners.
    void drawPath(const QPainterPath& path) override {
        const QPainterPath mapped = m_transform.map(path);
        const QRectF bounds = mapped.boundingRect();
        for (int i = 0; i < mapped.elementCount(); ++i) {
            const QPainterPath::Element element = mapped.elementAt(i);
            const bool onCorner = (element.x == bounds.left() || element.x == bounds.right()) &&
                                  (element.y == bounds.top() || element.y == bounds.bottom());
            if (element.isCurveTo() || !onCorner)
                return; // not a rectangle: a report page draws none
        }
        writeFill(bounds);
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

private:
    void writeFill(const QRectF& rect) {
        if (m_brush.style() == Qt::NoBrush)
            return; // only fills: a report page draws no outlines
        const QRect area = rect.toRect();
        m_out.u8(fillOperation);
        m_out.i32(area.x());
        m_out.i32(area.y());
        m_out.i32(area.width());
        m_out.i32(area.height());
        m_out.u32(m_brush.color().rgba());
    }

    void writeFont(const QFont& font) {
        if (m_hasFont && font == m_font)
            return;
        m_font = font;
        m_hasFont = true;
        const QByteArray family = font.family().toUtf8().left(maximumFamilyBytes);
        m_out.u8(fontOperation);
        m_out.u16(static_cast<std::uint16_t>(family.size()));
        m_out.raw(family);
        m_out.f64(font.pointSizeF());
        m_out.u8(static_cast<std::uint8_t>((font.bold() ? 1 : 0) | (font.italic() ? 2 : 0)));
    }

    Writer& m_out;
    QTransform m_transform;
    QBrush m_brush;
    QPen m_pen;
    QFont m_font;
    bool m_hasFont = false;
};

} // namespace

struct PageImageRecorder::Parts {
    Parts(QSize pageSize, int dpiX, int dpiY) : engine(out), device(engine, pageSize, dpiX, dpiY) {
        out.raw(magic);
        out.i32(pageSize.width());
        out.i32(pageSize.height());
    }
    Writer out;
    RecordingEngine engine;
    EngineDevice device;
};

PageImageRecorder::PageImageRecorder(QSize pageSize, int dpiX, int dpiY)
    : m(std::make_unique<Parts>(pageSize, dpiX, dpiY)) {}

PageImageRecorder::~PageImageRecorder() = default;

QPaintDevice& PageImageRecorder::device() {
    return m->device;
}

const QByteArray& PageImageRecorder::bytes() const {
    return m->out.bytes();
}

QByteArray encodePageImage(const QPicture& page) {
    const QRect bounds = page.boundingRect();
    // The picture's size and resolution, so the replay is not scaled.
    PageImageRecorder recorder(bounds.size(), page.logicalDpiX(), page.logicalDpiY());
    QPainter painter(&recorder.device());
    painter.drawPicture(-bounds.topLeft(), page);
    painter.end();
    return recorder.bytes();
}

QPicture decodePageImage(const QByteArray& bytes) {
    Reader in(bytes);
    if (in.raw(magic.size()) != magic)
        invalidImage();
    const std::int32_t width = in.i32();
    const std::int32_t height = in.i32();
    if (width < 1 || height < 1 || width > maximumPagePixels || height > maximumPagePixels)
        invalidImage();

    QPicture page;
    QPainter painter(&page);
    // An invisible rectangle over the page makes its size the picture's extent.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width, height);
    painter.setBackgroundMode(Qt::TransparentMode);
    bool fontSet = false;
    while (!in.atEnd()) {
        switch (in.u8()) {
        case fillOperation: {
            const std::int32_t x = in.i32();
            const std::int32_t y = in.i32();
            const std::int32_t w = in.i32();
            const std::int32_t h = in.i32();
            const QColor colour = QColor::fromRgba(in.u32());
            if (std::abs(static_cast<double>(x)) > maximumCoordinate ||
                std::abs(static_cast<double>(y)) > maximumCoordinate || w < 0 || h < 0 ||
                w > maximumPagePixels || h > maximumPagePixels)
                invalidImage();
            painter.fillRect(QRect(x, y, w, h), colour);
            break;
        }
        case fontOperation: {
            const std::uint16_t familyLength = in.u16();
            if (familyLength > maximumFamilyBytes)
                invalidImage();
            QFont font(QString::fromUtf8(in.raw(familyLength)));
            const double pointSize = in.f64();
            if (!(pointSize > 0 && pointSize <= maximumPointSize))
                invalidImage();
            font.setPointSizeF(pointSize);
            const std::uint8_t flags = in.u8();
            font.setBold((flags & 1) != 0);
            font.setItalic((flags & 2) != 0);
            painter.setFont(font);
            fontSet = true;
            break;
        }
        case textOperation: {
            const double x = in.f64();
            const double y = in.f64();
            const QColor colour = QColor::fromRgba(in.u32());
            const QString text = QString::fromUtf8(in.raw(in.u32()));
            if (!fontSet)
                invalidImage();
            painter.setPen(colour);
            painter.drawText(QPointF(x, y), text);
            break;
        }
        default:
            invalidImage();
        }
    }
    painter.end();
    return page;
}

} // namespace pellion
