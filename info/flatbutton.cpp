#include "info/flatbutton.h"

#include <QKeyEvent>
#include <QPainter>
#include <QRadialGradient>
#include <qdrawutil.h>

namespace pellion {

namespace {
constexpr int bulletSize = 10;
constexpr int bulletGap = 4;
} // namespace

FlatButton::FlatButton(const QString& text, QWidget* parent)
    : QAbstractButton(parent), m_faceColor(palette().color(QPalette::Button)) {
    setText(text);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

void FlatButton::setFaceColor(const QColor& color) {
    m_faceColor = color;
    update();
}

FlatButton::State FlatButton::state() const {
    if (!isEnabled())
        return State::Disabled;
    if (isDown())
        return State::Pressed;
    if (underMouse())
        return State::Hover;
    return State::Normal;
}

QColor FlatButton::bulletColor(State state) {
    switch (state) {
    case State::Normal:
        return QColor(0, 0, 128);
    case State::Hover:
        return QColor(64, 160, 255);
    case State::Pressed:
        return QColor(0, 96, 255);
    case State::Disabled:
        break;
    }
    return QColor(160, 160, 160);
}

QSize FlatButton::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(text()) + bulletSize + bulletGap + 12,
            std::max(metrics.height(), bulletSize) + 6};
}

bool FlatButton::event(QEvent* event) {
    if (event->type() == QEvent::HoverEnter || event->type() == QEvent::HoverLeave)
        update();
    return QAbstractButton::event(event);
}

void FlatButton::keyPressEvent(QKeyEvent* event) {
    const bool enterKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enterKey && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void FlatButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const State current = state();
    painter.fillRect(rect(), m_faceColor);
    paintEdges(painter, current);

    const QFontMetrics metrics = fontMetrics();
    const int textWidth = metrics.horizontalAdvance(text());
    const int shift = current == State::Pressed ? 1 : 0;
    // Bullet and caption are centred together, so a tight panel cuts neither.
    const int groupWidth = bulletSize + bulletGap + textWidth;
    const int textLeft = (width() - groupWidth) / 2 + bulletSize + bulletGap;
    const QRect textBox(textLeft + shift, shift, textWidth, height());
    const QRect bullet(textBox.left() - bulletGap - bulletSize, (height() - bulletSize) / 2 + shift,
                       bulletSize, bulletSize);
    paintBullet(painter, bullet, current);

    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(textBox, Qt::AlignCenter | Qt::TextSingleLine, text());
    if (hasFocus()) {
        // Around bullet and caption, a pixel clear of the caption's line and
        // inside the button's edges.
        const int textTop = (height() - metrics.height()) / 2 + shift;
        const QRect around =
            QRect(bullet.left() - 2, textTop - 1, groupWidth + 4, metrics.height() + 2)
                .intersected(rect().adjusted(1, 1, -1, -1));
        painter.setPen(QPen(palette().color(QPalette::Shadow), 1, Qt::DotLine));
        painter.drawRect(around.adjusted(0, 0, -1, -1));
    }
}

void FlatButton::paintEdges(QPainter& painter, State current) const {
    switch (current) {
    case State::Normal:
    case State::Disabled:
        break;
    case State::Hover:
        qDrawShadePanel(&painter, rect(), palette(), false, 1);
        break;
    case State::Pressed:
        qDrawShadePanel(&painter, rect(), palette(), true, 1);
        break;
    }
}

void FlatButton::paintBullet(QPainter& painter, const QRect& box, State current) const {
    const QColor colour = bulletColor(current);
    QRadialGradient shine(box.center() - QPointF(1.5, 1.5), bulletSize / 2.0);
    shine.setColorAt(0, colour.lighter(current == State::Hover ? 190 : 150));
    shine.setColorAt(1, colour);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (current == State::Hover) {
        // The glow: a soft halo one pixel around the bullet.
        QColor halo = colour;
        halo.setAlpha(90);
        painter.setPen(Qt::NoPen);
        painter.setBrush(halo);
        painter.drawEllipse(QRectF(box).adjusted(-1, -1, 1, 1));
    }
    painter.setPen(QPen(colour.darker(140), 0.8));
    painter.setBrush(shine);
    painter.drawEllipse(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}

} // namespace pellion
