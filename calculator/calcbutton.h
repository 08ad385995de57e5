#pragma once

#include <QPushButton>

namespace pellion {

// What a calculator button does when clicked: most send a key to the engine,
// the memory buttons and OK and Cancel act by themselves.
enum class CalcButtonAction { Key, MemoryClear, MemoryRecall, MemoryStore, MemoryPlus, Ok, Cancel };

// A push button that never takes the keyboard focus, so every typed key
// reaches the calculator dialog itself.
class CalcButton : public QPushButton {
public:
    CalcButton(CalcButtonAction action, char key, QWidget* parent);

    CalcButtonAction action() const { return m_action; }
    char key() const { return m_key; } // the key that presses it, '\0' for none

    // A key typed for this button: drawn pressed for 20 ms, then clicked.
    void pressFromKeyboard();

private:
    CalcButtonAction m_action;
    char m_key;
};

} // namespace pellion
