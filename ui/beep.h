#pragma once

#include <functional>

namespace pellion {

// The system's default beep for refused keystrokes and calculator errors.
// Tests swap the sound for a counter.
void beep();
using BeepHandler = std::function<void()>;
BeepHandler setBeepHandler(BeepHandler handler); // returns the previous one

} // namespace pellion
