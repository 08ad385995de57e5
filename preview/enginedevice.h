#pragma once

// A paint device of a fixed size and resolution that hands every drawing to
// a given paint engine, for replaying a picture into an engine that records
// what it draws. The size and resolution keep the replay unscaled.

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
