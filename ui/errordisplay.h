#pragma once

#include <QString>

#include <exception>

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

} // namespace pellion
