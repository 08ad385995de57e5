#pragma once

// The decimal form that every number conversion rounds on. A double is first
// written with 18 significant digits (exact to one unit in the 18th digit) and
// then rounded half away from zero to the digits the caller asks for, so the
// result follows the decimal value the user sees, not the binary one:
//   toDecimalDigits(0.125, 18, 2)    -> digits "13",  exponent 0    (0.13)
//   toDecimalDigits(2.675, 18, 2)    -> digits "267", exponent 1    (the double is 2.67499999...)
//   toDecimalDigits(2.5, 18, 0)      -> digits "3",   exponent 1
//   toDecimalDigits(99.5, 2)         -> digits "1",   exponent 3    (the carry adds a digit)
//   toDecimalDigits(-0.004, 18, 2)   -> zero: no digits, exponent 0, not negative
//   toDecimalDigits(0.05, 18, 0)     -> zero (the first digit lies two places after the point)
//   toDecimalDigits(0.5, 18, 0)      -> digits "1",   exponent 1
//   toDecimalDigits(1.0 / 3, 15)     -> digits "333333333333333", exponent 0

#include <array>
#include <climits>
#include <string_view>

namespace pellion {

struct DecimalDigits {
    // Never more than this many significant digits: 18 decimal digits are the
    // most that a double's neighbourhood pins down and that still fit an int64.
    static constexpr int maxDigits = 18;
    // Pass as the decimals to keep only the precision's digits.
    static constexpr int unlimitedDecimals = INT_MAX;

    enum class Special { None, Infinite, NotANumber };

    // The magnitude is 0.d1d2d3... x 10^exponent; no leading or trailing '0'.
    std::array<char, maxDigits> digitBuffer{};
    int count = 0;
    int exponent = 0;
    bool negative = false; // only when at least one digit survived the rounding
    Special special = Special::None;

    std::string_view digits() const { return {digitBuffer.data(), std::size_t(count)}; }
    bool isZero() const { return special == Special::None && count == 0; }
};

// Keeps at most `precision` significant digits (clamped to 1..18) and no digit
// beyond `decimals` places after the decimal point.
DecimalDigits toDecimalDigits(double value, int precision,
                              int decimals = DecimalDigits::unlimitedDecimals);

} // namespace pellion
