#pragma once

class QScreen;
class QWidget;

namespace pellion {

// Moves the window to the middle of the screen's available area (the desktop
// less its panels); leaves it where it is when there is no screen.
void moveToCentreOf(QWidget& window, const QScreen* screen);

} // namespace pellion
