#pragma once

// Exact conversions between doubles and text. Every number the program shows,
// stores or reads goes through these functions and no other conversion.
//
// Rounding is half away from zero on the 18-significant-digit decimal form of
// the double (engine/decimaldigits.h), so it follows the value the user sees
// rather than the binary one. The separators come from formatSettings(); the
// core never asks the system. The examples below use '.' and ','.
//
// FormatNumber(pattern, value): up to three sections split by ';' outside
// quotes: positive (and fall-back), negative, zero. In a section '0' is a digit
// that always prints, '#' one that prints only when needed, the first '.' marks
// the decimal separator, a ',' anywhere groups the integer digits by three, text
// in '...' or "..." and any other character are copied. The integer digits never
// get lost: the first placeholder takes all that do not fit.
//   ("#.00", 0.5)              -> ".50"       ("#.00", 0)         -> ".00"
//   ("#.00", -0.5)             -> "-.50"      ("#.00", 1234.5)    -> "1234.50"
//   ("#.00", 0.005)            -> ".01"       (the double lies just above 0.005)
//   ("0.00", 0.125)            -> "0.13"      ("0.00", 2.675)     -> "2.67" (just below)
//   ("0.00", -0.004)           -> "0.00"      (no '-' when nothing survives the rounding)
//   ("0.00", 2.5e18)           -> "2.5E18"    (10^18 and beyond fall back to NumberToText)
//   ("$,0.00000;-$,0.00000", 1000000)   -> "$1,000,000.00000"
//   ("$,0.00000;-$,0.00000", -2)        -> "-$2.00000"
//   ("$,0.00000;-$,0.00000", -0.000001) -> "$0.00000"  (rounds to zero: the zero section)
//   ("0.#####", 12.345678)     -> "12.34568"  ("0.#####", 3)      -> "3"
//   ("0.#####", 0.000004)      -> "0"         (every zero prints as zero does)
//   ("#", 0)                   -> ""          ("0;(0);'nil'", -3) -> "(3)"
//   ("", 1.5) -> "1.5"  (";0", -1.5) -> "-1.5"  (an empty first section means
//                                                NumberToText, whatever the others hold)
//   a pattern of 225 characters or more throws Error("Format string too long")
//
// NumberToText(value, precision): the general format, at most `precision`
// (2..18) significant digits, never trailing zeros; scientific when the exponent
// would exceed the precision or the number is below 0.0001.
//   (0.1 + 0.2) -> "0.3"       (1.0 / 3) -> "0.333333333333333"
//   (0.0001)    -> "0.0001"    (0.00009) -> "9E-5"      (1e15) -> "1E15"
//   (-2.5e-7)   -> "-2.5E-7"   (123456789.125) -> "123456789.125"
//   (inf) -> "INF", (-inf) -> "-INF", (nan) -> "NAN"
//   precision 2: (2.45) -> "2.5", (12.5) -> "13", (123) -> "1.2E2", (99.5) -> "1E2"
//
// NumberToFixedText(value, precision, decimals): exactly `decimals` (at most
// 18) decimals, no grouping, at most `precision` (at least 1, digits beyond the
// 18th are zeros) significant digits; NumberToText when the integer part has
// more digits than the precision. Negative decimals round to tens, hundreds...
//   (0.01, 15, 4) -> "0.0100"   (0.12345, 15, 4) -> "0.1235"   (-0.00001, 15, 4) -> "0.0000"
//   (100000000, 15, 4) -> "100000000.0000"   (1e15, 15, 4) -> "1E15"
//   (0.306, 1, 3) -> "0.300"    (1.5e19, 20, 0) -> "15000000000000000000"
//   (49.22, 15, -1) -> "50"     (1.4, 15, -1) -> "0"
//
// TryTextToNumber / TextToNumber: leading and trailing spaces (' ' only), a
// sign, digits with at most one decimal separator, an exponent 'E'/'e' with an
// optional sign. No thousands separators, and no '.' when the decimal
// separator is another character.
//   " -1.5e3 " -> -1500    "." -> 0    "-." -> 0    "7E" -> 7    "2e-" -> 2
//   "1e500" is refused: beyond the double range; "1e-500" -> 0; "1e5000" is not
//   a number (exponent digits stop at 500)
//   What a display shows of the largest double reads back as that double, though
//   the rounding put it just above: "1.79769313486232E308" (15 digits) and
//   "1.8E308" (2) -> 1.7976931348623157e308; "1.79769313486233E308" and "2E308"
//   are beyond the range and refused
//   "", "-", "1,000", "1.5x", "\t1", "1 5", "E5" are refused
//   TextToNumber("abc") throws Error("'abc' is not a valid floating point value")
//
// TextToInteger: leading spaces, then a signed decimal in the int32 range or
// '$', 'x', 'X', '0x', '0X' with one to eight hex digits taken as a 32-bit
// pattern. Nothing may follow.
//   " 5" -> 5   "-2147483648" -> INT32_MIN   "$FFFFFFFF" -> -1   "0x7fffffff" -> INT32_MAX
//   "5 ", "5.0", "2147483648", "$100000000", "-$1", "0x" throw
//   Error("'5 ' is not a valid integer value")
//
// IntegerToText: '-' and decimal digits, no grouping: -1234567 -> "-1234567".

#include <cstdint>
#include <string>
#include <string_view>

namespace pellion {

struct FormatSettings {
    char decimalSeparator = '.';
    char thousandSeparator = ',';
    std::string currencySymbol = "$";
    std::string shortDateFormat = "M/d/yyyy";  // Qt date pattern, filled by the app
    std::string longTimeFormat = "h:mm:ss AP"; // Qt time pattern, filled by the app
};

// The settings every conversion uses.
FormatSettings& formatSettings();

// Switches the settings for a scope and restores them on every way out.
class ScopedFormatSettings {
public:
    explicit ScopedFormatSettings(const FormatSettings& temporary);
    ~ScopedFormatSettings();
    ScopedFormatSettings(const ScopedFormatSettings&) = delete;
    ScopedFormatSettings& operator=(const ScopedFormatSettings&) = delete;

private:
    FormatSettings m_saved;
};

// Longest pattern FormatNumber accepts.
inline constexpr std::size_t maxFormatPatternLength = 224;

std::string FormatNumber(std::string_view pattern, double value);
std::string NumberToText(double value, int precision = 15);
std::string NumberToFixedText(double value, int precision, int decimals);
bool TryTextToNumber(std::string_view text, double& value);
double TextToNumber(std::string_view text);
std::int32_t TextToInteger(std::string_view text);
std::string IntegerToText(std::int64_t value);

} // namespace pellion
