#include "ui/spinbutton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>

#include <cmath>

namespace pellion {

SpinButton::SpinButton(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("spinButton"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, &SpinButton::repeat);
}

void SpinButton::setRepeatIntervals(int firstMs, int nextMs) {
    m_firstInterval = firstMs;
    m_nextInterval = nextMs;
}

SpinButton::Part SpinButton::partAt(QPoint position) const {
    if (!rect().contains(position))
        return Part::None;
    // Pixel centres strictly above the lower-left to upper-right diagonal
    // belong to the up triangle.
    const double x = position.x() + 0.5;
    const double y = position.y() + 0.5;
    const double w = width();
    const double h = height();
    return x / w + y / h < 1.0 ? Part::Up : Part::Down;
}

void SpinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPalette& pal = palette();

    auto triangle = [&](Part part) {
        QPainterPath path;
        if (part == Part::Up) {
            path.moveTo(r.topLeft());
            path.lineTo(r.topRight());
            path.lineTo(r.bottomLeft());
        } else {
            path.moveTo(r.topRight());
            path.lineTo(r.bottomRight());
            path.lineTo(r.bottomLeft());
        }
        path.closeSubpath();
        return path;
    };
    for (Part part : {Part::Up, Part::Down}) {
        const bool down = m_pressed == part;
        painter.fillPath(triangle(part), down ? pal.dark() : pal.button());
    }
    painter.setPen(pal.color(QPalette::Shadow));
    painter.drawRect(r);
    painter.drawLine(r.bottomLeft(), r.topRight());

    // Each arrow sits at the centre of the circle that fits its triangle, its
    // base twice its height, the tip pointing the way the triangle steps.
    const QColor arrow = isEnabled() ? pal.color(QPalette::ButtonText)
                                     : pal.color(QPalette::Disabled, QPalette::ButtonText);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(arrow);
    const double w = r.width();
    const double h = r.height();
    const double radius = (w + h - std::hypot(w, h)) / 2;
    // Half the base: the arrow's corners stay a pixel inside the circle, clear
    // of the outline and the diagonal.
    const double a = 0.7 * radius;
    const QPointF upCentre = r.topLeft() + QPointF(radius, radius);
    const QPointF downCentre = r.bottomRight() - QPointF(radius, radius);
    const QPointF up[] = {upCentre + QPointF(0, -a / 2), upCentre + QPointF(a, a / 2),
                          upCentre + QPointF(-a, a / 2)};
    const QPointF down[] = {downCentre + QPointF(0, a / 2), downCentre + QPointF(a, -a / 2),
                            downCentre + QPointF(-a, -a / 2)};
    painter.drawPolygon(up, 3);
    painter.drawPolygon(down, 3);
}

void SpinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const Part part = partAt(event->position().toPoint());
    if (part == Part::None)
        return;
    emit pressed();
    m_held = part;
    m_pressed = part;
    update();
    m_repeat.start(m_firstInterval);
    stepFor(part);
}

void SpinButton::mouseMoveEvent(QMouseEvent* event) {
    if (m_held == Part::None)
        return;
    const Part shown = partAt(event->position().toPoint()) == m_held ? m_held : Part::None;
    if (shown != m_pressed) {
        m_pressed = shown;
        update();
    }
}

void SpinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        release();
}

// A press that can no longer end in a release must not keep repeating.
void SpinButton::hideEvent(QHideEvent*) {
    release();
}

void SpinButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        release();
    QWidget::changeEvent(event);
}

// Another window taking over (such as an error box raised by a step) takes
// the mouse with it; the release would never arrive here.
bool SpinButton::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate)
        release();
    return QWidget::event(event);
}

void SpinButton::release() {
    m_repeat.stop();
    m_held = Part::None;
    m_pressed = Part::None;
    update();
}

void SpinButton::repeat() {
    // A modal window opened by a step owns the mouse now; stepping on under
    // it would only open more of them.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window()) {
        release();
        return;
    }
    if (m_repeat.interval() != m_nextInterval)
        m_repeat.setInterval(m_nextInterval);
    // Off the pressed triangle the timer keeps running but does not step, so
    // moving back resumes at the repeat rate.
    if (m_pressed != Part::None)
        stepFor(m_pressed);
}

void SpinButton::stepFor(Part part) {
    if (part == Part::Up)
        emit stepUp();
    else if (part == Part::Down)
        emit stepDown();
}

} // namespace pellion
