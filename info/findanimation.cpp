#include "info/findanimation.h"

#include <QPainter>

#include <cmath>
#include <numbers>

namespace pellion {

namespace {
constexpr int frameWidth = 48;
constexpr int frameHeight = 40;
constexpr int frameMilliseconds = 120;

void drawComputer(QPainter& painter) {
    // Monitor, screen, stand and keyboard.
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    painter.setBrush(QColor(200, 200, 200));
    painter.drawRect(QRectF(4.5, 3.5, 28, 21));
    painter.setBrush(QColor(0, 96, 128));
    painter.drawRect(QRectF(7.5, 6.5, 22, 15));
    painter.setBrush(QColor(170, 170, 170));
    painter.drawRect(QRectF(14.5, 24.5, 8, 3));
    painter.drawRect(QRectF(2.5, 29.5, 33, 6));
    painter.setPen(QColor(110, 110, 110));
    for (int key = 0; key < 7; ++key)
        painter.drawPoint(QPointF(6 + key * 4.3, 32.5));
}

void drawGlass(QPainter& painter, QPointF centre) {
    painter.setPen(QPen(QColor(110, 70, 20), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(5, 5), centre + QPointF(11, 11));
    painter.setPen(QPen(QColor(40, 40, 40), 1.5));
    QColor lens(190, 230, 255, 150);
    painter.setBrush(lens);
    painter.drawEllipse(centre, 6.5, 6.5);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1));
    painter.drawArc(QRectF(centre.x() - 4, centre.y() - 4, 8, 8), 100 * 16, 60 * 16);
}
} // namespace

FindAnimation::FindAnimation(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Animate1"));
    setFixedSize(frameWidth, frameHeight);
    m_timer.setInterval(frameMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &FindAnimation::advance);
}

QSize FindAnimation::sizeHint() const {
    return {frameWidth, frameHeight};
}

void FindAnimation::advance() {
    m_frame = m_frame % frameCount + 1;
    update();
}

void FindAnimation::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_timer.start();
}

void FindAnimation::hideEvent(QHideEvent* event) {
    m_timer.stop();
    QWidget::hideEvent(event);
}

void FindAnimation::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawComputer(painter);
    // The glass circles over the screen, one eighth of a turn per frame.
    const double angle = 2 * std::numbers::pi * (m_frame - 1) / frameCount;
    const QPointF centre(24 + 8 * std::cos(angle), 15 + 6 * std::sin(angle));
    drawGlass(painter, centre);
}

} // namespace pellion
