#pragma once

// What the edit fields (spin, currency, grid cell) make of keys and focus changes.

#include "engine/numberformat.h"

#include <QChar>
#include <Qt>

namespace pellion {

// The user's decimal separator as a character of a field's text.
inline QChar decimalSeparator() {
    return QChar::fromLatin1(formatSettings().decimalSeparator);
}

// Enter and Escape belong to the window: its default and cancel buttons.
inline bool isDialogKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

// Entering a field by Tab, Backtab or a shortcut is entering it by keyboard.
inline bool enteredByKeyboard(Qt::FocusReason reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

// Leaving the window (a menu, another window, an error box) is not leaving
// the field: it stays the window's focus widget.
inline bool staysInWindow(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

} // namespace pellion
