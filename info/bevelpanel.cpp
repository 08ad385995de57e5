#include "info/bevelpanel.h"

#include <QPainter>
#include <qdrawutil.h>

namespace pellion {

BevelPanel::BevelPanel(QWidget* parent) : QFrame(parent) {
    setContentsMargins(2, 2, 2, 2);
}

void BevelPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect outer = rect();
    qDrawShadePanel(&painter, outer, palette(), true, 1);
    qDrawShadePanel(&painter, outer.adjusted(1, 1, -1, -1), palette(), false, 1);
}

} // namespace pellion
