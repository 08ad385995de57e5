#pragma once

#include <QTimer>
#include <QWidget>

namespace pellion {

// The About box's little animation: a magnifying glass searching over a
// computer, eight frames played over and over while the widget is visible.
class FindAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int frameCount = 8;

    explicit FindAnimation(QWidget* parent = nullptr);

    int frame() const { return m_frame; } // 1 to frameCount
    bool isPlaying() const { return m_timer.isActive(); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void advance();

    QTimer m_timer;
    int m_frame = 1;
};

} // namespace pellion
