#pragma once

#include <QAbstractButton>
#include <QColor>

namespace pellion {

// A flat push button with a round 10 x 10 bullet beside its caption. The
// bullet shows the state: dark blue at rest, glowing blue while the pointer is
// over the button, bright blue while it is held down, grey when disabled; the
// edges follow the same states. Pressing takes the focus, the click comes when
// the mouse is released over the button, and Enter clicks a focused button.
class FlatButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class State { Normal, Hover, Pressed, Disabled };

    explicit FlatButton(const QString& text, QWidget* parent = nullptr);

    QColor faceColor() const { return m_faceColor; }
    void setFaceColor(const QColor& color);

    State state() const;
    static QColor bulletColor(State state);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void paintEdges(QPainter& painter, State state) const;
    void paintBullet(QPainter& painter, const QRect& box, State state) const;

    QColor m_faceColor;
};

} // namespace pellion
