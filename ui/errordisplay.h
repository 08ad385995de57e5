#pragma once

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace pellion {

// The text the error box shows: a message whose last character sorts after
// '.' (a letter, a digit, '?') gets a full stop; one ending in '.', '!' or ')'
// is shown as it is.
QString errorDisplayText(const QString& message);

// The application's error display: a stop-icon box captioned "Pellion" with
// an OK button. Every command's failure ends up here.
void showError(const QString& message, QWidget* parent = nullptr);
void showError(const std::exception& error, QWidget* parent = nullptr);

// Runs from the command line that open no window have no one to answer a
// box: while a sink is set, the error display and the message dialogs hand
// their text to it instead (the error display's with its full stop) and open
// nothing. An empty sink brings the boxes back.
using UnattendedSink = std::function<void(const QString& text)>;
void setUnattendedSink(UnattendedSink sink);
const UnattendedSink& unattendedSink();

} // namespace pellion
