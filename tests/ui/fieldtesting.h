#pragma once

#include "tests/beepcounter.h"

#include <QDialog>
#include <QString>
#include <QWidget>

#include <ostream>

namespace pellion::testing {

// Shows the window and waits until it is the active one, so focus events flow.
void showActive(QWidget& window);

// Lays the dialog's field out above an "OK" button that is the dialog's
// default and accepts it, to see where Enter and Escape typed in the field go.
void placeAboveDefaultButton(QDialog& dialog, QWidget* field);

} // namespace pellion::testing

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
