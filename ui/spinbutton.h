#pragma once

#include <QTimer>
#include <QWidget>

namespace pellion {

// The square up/down button of a spin field. A diagonal from its lower-left
// to its upper-right corner splits it: the upper-left triangle steps up, the
// lower-right one steps down. Holding the mouse button repeats the step while
// the pointer stays on the pressed triangle.
class SpinButton : public QWidget {
    Q_OBJECT

public:
    enum class Part { None, Up, Down };

    explicit SpinButton(QWidget* parent = nullptr);

    Part partAt(QPoint position) const;
    Part pressedPart() const { return m_pressed; } // drawn pressed
    bool isHeld() const { return m_held != Part::None; }

    void setRepeatIntervals(int firstMs, int nextMs);

signals:
    void pressed(); // before the first step, so the field can take the focus
    void stepUp();
    void stepDown();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void stepFor(Part part);
    void repeat();
    void release();

    Part m_held = Part::None;    // triangle the mouse button went down on
    Part m_pressed = Part::None; // m_held while the pointer is on it
    QTimer m_repeat;
    int m_firstInterval = 400;
    int m_nextInterval = 100;
};

} // namespace pellion
