#include "calculator/calculatorengine.h"

#include "base/asciicase.h"
#include "base/error.h"
#include "engine/numberformat.h"

#include <algorithm>
#include <cmath>

namespace pellion {

using namespace calculatorkeys;

namespace {

bool isDecimalSeparatorKey(char c) {
    return c == '.' || c == ',' || c == formatSettings().decimalSeparator;
}

bool isOperatorKey(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '=' || c == '%' || c == Enter;
}

bool contains(const std::string& text, char c) {
    return text.find(c) != std::string::npos;
}

std::string trimmed(std::string_view text, bool anyControl) {
    auto isBlank = [anyControl](char c) {
        return c == ' ' || (anyControl && static_cast<unsigned char>(c) < ' ');
    };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string withoutAll(std::string text, const std::string& part) {
    if (part.empty())
        return text;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
    return text;
}

} // namespace

CalculatorEngine::CalculatorEngine(int precision, bool beepOnError)
    : m_precision(std::max(2, precision)), m_beepOnError(beepOnError) {}

void CalculatorEngine::open(double value, double memory) {
    m_memory = memory;
    m_operand = 0;
    m_state = EntryState::StartNew;
    if (value != 0) {
        ShowNumber(value);
        m_pendingOperator = '=';
    } else {
        m_display = "0";
        m_pendingOperator = '\0';
    }
}

std::optional<char> CalculatorEngine::buttonKeyFor(char typed) {
    char key = toAsciiUpper(typed);
    if (isDecimalSeparatorKey(typed))
        key = '.';
    else if (typed == Enter)
        key = '=';
    else if (typed == Escape)
        key = 'C';
    static constexpr std::string_view buttonKeys = "0123456789_./*-+Q%R=\bC";
    if (key != '\0' && buttonKeys.find(key) != std::string_view::npos)
        return key;
    return std::nullopt;
}

void CalculatorEngine::ProcessKey(char key) {
    key = toAsciiUpper(key);
    if (key == Escape)
        key = 'C';
    if (m_state == EntryState::Failed && key != 'C')
        return;
    if (m_events.calcKey)
        m_events.calcKey(key);

    if (isDecimalSeparatorKey(key))
        decimalSeparatorKey();
    else if (key >= '0' && key <= '9')
        digitKey(key);
    else if (key == Backspace)
        backspaceKey();
    else if (isOperatorKey(key))
        operatorKey(key);
    else if (key == 'C')
        clearKey();
    else if (key == 'Q')
        squareRootKey();
    else if (key == 'R')
        reciprocalKey();
    else if (key == '_')
        signChangeKey();
    else if (key == CtrlC)
        copy();
    else if (key == CtrlV)
        paste();
}

void CalculatorEngine::startNewRule() {
    if (m_state == EntryState::StartNew) {
        m_state = EntryState::Entering;
        m_display = "0";
    }
}

void CalculatorEngine::fail() {
    m_state = EntryState::Failed;
    m_display = "Error";
    beepIfOn();
}

void CalculatorEngine::beepIfOn() {
    if (m_beepOnError && m_events.beep)
        m_events.beep();
}

void CalculatorEngine::ShowNumber(double value) {
    std::string text = NumberToText(value, m_precision);
    if (text != m_display) {
        m_display = std::move(text);
        if (m_events.displayChange)
            m_events.displayChange();
    }
}

// Results are worked out in extended precision and only then rounded to a
// double; a double that cannot hold the result is an overflow.
void CalculatorEngine::showResult(long double value) {
    const double rounded = static_cast<double>(value);
    if (std::isinf(rounded) && !std::isinf(value))
        throw Error(floatingPointOverflow);
    ShowNumber(rounded);
}

double CalculatorEngine::ReadDisplay() const {
    if (m_state == EntryState::Failed)
        return 0;
    return TextToNumber(trimmed(m_display, false));
}

void CalculatorEngine::decimalSeparatorKey() {
    startNewRule();
    if (contains(m_display, 'E'))
        return;
    const char separator = formatSettings().decimalSeparator;
    if (!contains(m_display, separator))
        m_display += separator;
}

void CalculatorEngine::digitKey(char digit) {
    startNewRule();
    if (m_display == "0")
        m_display.clear();
    if (contains(m_display, 'E'))
        return;
    const std::size_t limit = m_display.starts_with('-') ? m_precision + 1 : m_precision;
    if (m_display.size() < limit)
        m_display += digit;
    else
        beepIfOn();
}

void CalculatorEngine::backspaceKey() {
    startNewRule();
    if (m_display.size() == 1 || (m_display.size() == 2 && m_display.front() == '-'))
        m_display = "0";
    else
        m_display.pop_back();
}

void CalculatorEngine::operatorKey(char op) {
    if (m_state == EntryState::Entering) {
        m_state = EntryState::StartNew;
        long double r = ReadDisplay();
        const long double operand = m_operand;
        if (op == '%') {
            if (m_pendingOperator == '*' || m_pendingOperator == '/')
                r = r / 100;
            else if (m_pendingOperator == '+' || m_pendingOperator == '-')
                r = operand * r / 100;
        }
        switch (m_pendingOperator) {
        case '+':
            showResult(operand + r);
            break;
        case '-':
            showResult(operand - r);
            break;
        case '*':
            showResult(operand * r);
            break;
        case '/':
            if (r != 0)
                showResult(operand / r);
            else
                fail();
            break;
        default:
            break;
        }
    }
    m_pendingOperator = op;
    m_operand = ReadDisplay();
}

void CalculatorEngine::clearKey() {
    m_state = EntryState::StartNew;
    ShowNumber(0);
    m_pendingOperator = '=';
}

void CalculatorEngine::squareRootKey() {
    m_state = EntryState::StartNew;
    const long double x = ReadDisplay();
    if (x >= 0)
        showResult(std::sqrt(x));
    else
        fail();
}

void CalculatorEngine::reciprocalKey() {
    m_state = EntryState::StartNew;
    const long double x = ReadDisplay();
    if (x != 0)
        showResult(1 / x);
    else
        fail();
}

void CalculatorEngine::signChangeKey() {
    ShowNumber(-ReadDisplay());
}

void CalculatorEngine::memoryClear() {
    m_memory = 0;
}

void CalculatorEngine::memoryRecall() {
    if (m_state == EntryState::Failed)
        return;
    m_state = EntryState::StartNew;
    startNewRule();
    ShowNumber(m_memory);
}

void CalculatorEngine::memoryStore() {
    if (m_state == EntryState::Failed)
        return;
    m_state = EntryState::StartNew;
    m_memory = ReadDisplay();
}

void CalculatorEngine::memoryPlus() {
    if (m_state == EntryState::Failed)
        return;
    m_state = EntryState::StartNew;
    const long double sum = static_cast<long double>(m_memory) + ReadDisplay();
    const double rounded = static_cast<double>(sum);
    if (std::isinf(rounded))
        throw Error(floatingPointOverflow);
    m_memory = rounded;
}

bool CalculatorEngine::acceptDisplay() {
    if (m_state == EntryState::Failed) {
        beepIfOn();
        return false;
    }
    ShowNumber(ReadDisplay());
    return true;
}

void CalculatorEngine::copy() {
    if (m_events.copyText)
        m_events.copyText(m_display);
}

void CalculatorEngine::paste() {
    if (!m_events.clipboardText)
        return;
    const std::optional<std::string> clipboard = m_events.clipboardText();
    if (!clipboard)
        return;
    const std::string text = trimmed(withoutAll(*clipboard, formatSettings().currencySymbol), true);
    double value = 0;
    if (TryTextToNumber(text, value) && std::isfinite(value))
        ShowNumber(value);
    else
        m_display = "0";
}

} // namespace pellion
