#include "ui/windowplacement.h"

#include <QScreen>
#include <QWidget>

namespace pellion {

void moveToCentreOf(QWidget& window, const QScreen* screen) {
    if (screen)
        window.move(screen->availableGeometry().center() - window.rect().center());
}

} // namespace pellion
