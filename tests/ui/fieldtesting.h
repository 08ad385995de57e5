#pragma once

#include "tests/beepcounter.h"
#include "tests/qstringprinter.h"

#include <QDialog>
#include <QString>
#include <QWidget>

namespace pellion::testing {

// Shows the window and waits until it is the active one, so focus events flow.
void showActive(QWidget& window);

// Lays the dialog's field out above an "OK" button that is the dialog's
// default and accepts it, to see where Enter and Escape typed in the field go.
void placeAboveDefaultButton(QDialog& dialog, QWidget* field);

} // namespace pellion::testing
