#include "calculator/calcbutton.h"

#include <chrono>
#include <thread>

namespace pellion {

CalcButton::CalcButton(CalcButtonAction action, char key, QWidget* parent)
    : QPushButton(parent), m_action(action), m_key(key) {
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
}

// The pause is taken in place rather than on a timer so that keys typed in
// quick succession still reach the engine in the order they were typed.
void CalcButton::pressFromKeyboard() {
    setDown(true);
    repaint();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    setDown(false);
    click();
}

} // namespace pellion
