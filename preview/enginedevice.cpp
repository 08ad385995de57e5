#include "preview/enginedevice.h"

#include <QtMath>

namespace pellion {

EngineDevice::EngineDevice(QPaintEngine& engine, QSize size, int dpiX, int dpiY)
    : m_engine(engine), m_size(size), m_dpiX(dpiX), m_dpiY(dpiY) {}

int EngineDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return qRound(m_size.width() * 25.4 / m_dpiX);
    case PdmHeightMM:
        return qRound(m_size.height() * 25.4 / m_dpiY);
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return m_dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return m_dpiY;
    case PdmDepth:
        return 32;
    case PdmNumColors:
        return 0xffffff;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace pellion
