#pragma once

// The program's message dialogs. Each kind has its caption and icon; the
// buttons are drawn from "OK", "Cancel", "&Yes" and "&No". The default button
// is OK when present, else Yes; Escape answers Cancel when present, else No,
// else OK.

#include <QString>

class QWidget;

namespace pellion {

enum class DialogKind { Warning, Error, Information, Confirmation };

enum DialogButton {
    DialogOk = 1,
    DialogCancel = 2,
    DialogYes = 4,
    DialogNo = 8,
};

// Shows the dialog modally and returns the button that answered it. While
// an unattended sink is set (errordisplay.h) the text goes there and the
// answer is the one Escape gives.
DialogButton messageDialog(QWidget* parent, DialogKind kind, const QString& text, int buttons);

} // namespace pellion
