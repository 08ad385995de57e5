#pragma once

#include <QFrame>

namespace pellion {

// A panel framed by a lowered outer and a raised inner bevel, one pixel each,
// the frame the help window's button bar and the About box's panels share.
class BevelPanel : public QFrame {
    Q_OBJECT
public:
    explicit BevelPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace pellion
