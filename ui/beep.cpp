#include "ui/beep.h"

#include <QApplication>

namespace pellion {

namespace {
BeepHandler& handler() {
    static BeepHandler current = [] { QApplication::beep(); };
    return current;
}
} // namespace

void beep() {
    if (handler())
        handler()();
}

BeepHandler setBeepHandler(BeepHandler replacement) {
    BeepHandler previous = std::move(handler());
    handler() = std::move(replacement);
    return previous;
}

} // namespace pellion
