#pragma once

// The pocket calculator's key processing, apart from any window.
//
// Data flow: the dialog turns a typed key or a button into one character for
// ProcessKey (or a call such as memoryStore), the engine updates its display
// text, entry state, pending operation and memory, and the dialog shows
// display() again. There is no operator precedence: each operator key first
// completes the pending operation, so 2 + 3 * 4 = gives 20.
//
// Everything the engine needs from the platform (the beep, the clipboard) goes
// through CalculatorEvents. Numbers are shown with NumberToText and read with
// TextToNumber, so the user's decimal separator applies throughout.
//
// A result beyond the double range raises pellion::Error("Floating point
// overflow"); the key's action stops there, leaving the display, the pending
// operator and the operand as they were.

#include <functional>
#include <optional>
#include <string>

namespace pellion {

enum class EntryState {
    StartNew, // the next digit begins a new number
    Entering, // digits are appended
    Failed,   // "Error" is shown until 'C'
};

namespace calculatorkeys {
inline constexpr char Backspace = '\b';
inline constexpr char Enter = '\r';
inline constexpr char Escape = '\x1b';
inline constexpr char CtrlC = '\x03';
inline constexpr char CtrlV = '\x16';
} // namespace calculatorkeys

struct CalculatorEvents {
    std::function<void()> beep; // an error or a refused digit, only while beeps are on
    std::function<void(const std::string&)> copyText;          // puts text on the clipboard
    std::function<std::optional<std::string>()> clipboardText; // the clipboard's text, if any
    std::function<void(char)> calcKey;                         // each key before it is processed
    std::function<void()> displayChange;                       // the display shows another number
};

class CalculatorEngine {
public:
    // precision: significant digits shown (at least 2 are used); it is also
    // the length limit of a typed number.
    explicit CalculatorEngine(int precision = 15, bool beepOnError = true);

    void setEvents(CalculatorEvents events) { m_events = std::move(events); }

    // Starts a session: a non-zero value is shown as the result of '=', so a
    // digit typed next replaces it; zero shows "0" with nothing pending.
    void open(double value, double memory);

    void ProcessKey(char key);

    void memoryClear();
    void memoryRecall();
    void memoryStore();
    void memoryPlus();

    // OK: false (with a beep) while "Error" is shown; otherwise tidies the
    // display, e.g. "12." into "12", and returns true.
    bool acceptDisplay();

    // The context menu's Copy and Paste, which act in every state.
    void copy();
    void paste();

    void ShowNumber(double value);
    double ReadDisplay() const;

    const std::string& display() const { return m_display; }
    EntryState state() const { return m_state; }
    char pendingOperator() const { return m_pendingOperator; } // '\0' when none
    double operand() const { return m_operand; }
    double memory() const { return m_memory; }
    int precision() const { return m_precision; }

    // Maps a typed character to the key of the button that handles it ('.',
    // ',' and the decimal separator to '.', Enter to '=', Escape to 'C',
    // letters upper-cased); nullopt when no button handles it.
    static std::optional<char> buttonKeyFor(char typed);

private:
    void startNewRule();
    void fail();
    void beepIfOn();
    void showResult(long double value);
    void decimalSeparatorKey();
    void digitKey(char digit);
    void backspaceKey();
    void operatorKey(char op);
    void clearKey();
    void squareRootKey();
    void reciprocalKey();
    void signChangeKey();

    int m_precision;
    bool m_beepOnError;
    CalculatorEvents m_events;
    std::string m_display = "0";
    EntryState m_state = EntryState::StartNew;
    char m_pendingOperator = '\0';
    double m_operand = 0;
    double m_memory = 0;
};

} // namespace pellion
