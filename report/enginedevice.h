#pragma once

// A paint device of a fixed size and resolution that hands every drawing to
// a given paint engine: pages are recorded through it, and pictures replayed
// into engines that record what they draw. The size and resolution keep the
// drawing unscaled.

#include <QPaintDevice>
#include <QSize>

class QPaintEngine;

namespace pellion {

class EngineDevice : public QPaintDevice {
public:
    EngineDevice(QPaintEngine& engine, QSize size, int dpiX, int dpiY);
    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QPaintEngine& m_engine;
    QSize m_size;
    int m_dpiX;
    int m_dpiY;
};

} // namespace pellion
