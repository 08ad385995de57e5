#pragma once

// Runs one command of a window: an error it raises ends the command and goes
// to the application's error display, and the window stays usable.

#include "ui/errordisplay.h"

#include <exception>
#include <utility>

class QWidget;

namespace pellion {

// Returns false when the command failed (the error has been shown).
template <typename Body> bool runCommand(QWidget* parent, Body&& body) {
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const std::exception& error) {
        showError(error, parent);
    }
    return false;
}

} // namespace pellion
