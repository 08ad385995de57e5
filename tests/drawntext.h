#pragma once

// What a widget draws as text, taken from its own painting: each run of text
// with the rectangle its ink covers, in the widget's coordinates. A widget is
// rendered without its children onto a device that keeps the text runs and
// throws the rest away, so a caption cut short or elided shows as a different
// text and a caption that does not fit shows as ink outside the widget.

#include <QFontMetricsF>
#include <QGraphicsEffect>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QWidget>

#include <memory>
#include <vector>

struct DrawnText {
    QString text;
    QRectF ink;
};

namespace drawntext {

class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(qreal devicePixelRatio)
        : QPaintEngine(QPaintEngine::AllFeatures), m_ratio(devicePixelRatio) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyTransform)
            m_transform = state.transform();
    }

    void drawTextItem(const QPointF& origin, const QTextItem& item) override {
        if (item.text().isEmpty())
            return;
        const QRectF ink =
            QFontMetricsF(item.font()).tightBoundingRect(item.text()).translated(origin);
        // The painter scales to device pixels; the widget thinks in its own.
        const QTransform toWidget = m_transform * QTransform::fromScale(1 / m_ratio, 1 / m_ratio);
        texts.push_back({item.text(), toWidget.mapRect(ink)});
    }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath&) override {}
    void drawRects(const QRectF*, int) override {}
    void drawRects(const QRect*, int) override {}
    void drawLines(const QLineF*, int) override {}
    void drawLines(const QLine*, int) override {}
    void drawEllipse(const QRectF&) override {}
    void drawPoints(const QPointF*, int) override {}
    void drawTiledPixmap(const QRectF&, const QPixmap&, const QPointF&) override {}

    std::vector<DrawnText> texts;

private:
    qreal m_ratio;
    QTransform m_transform;
};

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(QSize size, qreal devicePixelRatio)
        : m_size(size), m_ratio(devicePixelRatio), m_engine(devicePixelRatio) {}

    QPaintEngine* paintEngine() const override { return &m_engine; }
    std::vector<DrawnText>& texts() { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return qRound(m_size.width() * 25.4 / 96);
        case PdmHeightMM:
            return qRound(m_size.height() * 25.4 / 96);
        case PdmNumColors:
            return 0;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return qRound(m_ratio);
        case PdmDevicePixelRatioScaled:
            return qRound(m_ratio * devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    QSize m_size;
    qreal m_ratio;
    mutable RecordingEngine m_engine;
};

} // namespace drawntext

// The text runs the widget itself draws (not its children), at the device
// pixel ratio of its screen. A graphics effect is left out while recording:
// it only adds a shadow, and it would hand the text over as a picture.
inline std::vector<DrawnText> drawnTexts(QWidget& widget) {
    QGraphicsEffect* effect = widget.graphicsEffect();
    const bool effectOn = effect && effect->isEnabled();
    if (effectOn)
        effect->setEnabled(false);
    drawntext::RecordingDevice device(widget.size(), widget.devicePixelRatioF());
    widget.render(&device, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    if (effectOn)
        effect->setEnabled(true);
    return std::move(device.texts());
}
