#include "engine/numberformat.h"

#include "base/error.h"
#include "engine/decimaldigits.h"
#include "tests/errortext.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

using namespace pellion;

namespace {

FormatSettings separators(char decimalSeparator, char thousandSeparator) {
    FormatSettings settings;
    settings.decimalSeparator = decimalSeparator;
    settings.thousandSeparator = thousandSeparator;
    return settings;
}

// The expected texts below are written for '.' and ','; under the swapped
// separators every '.' and ',' of the output trades places.
std::string swapSeparators(std::string text) {
    for (char& c : text)
        c = c == '.' ? ',' : c == ',' ? '.' : c;
    return text;
}

struct SeparatorCase {
    const char* name; // a test name: letters only
    char decimalSeparator;
    char thousandSeparator;
};

const SeparatorCase separatorCases[] = {{"PointDecimalsCommaGroups", '.', ','},
                                        {"CommaDecimalsPointGroups", ',', '.'}};

std::string expectedFor(const SeparatorCase& settings, const std::string& text) {
    return settings.decimalSeparator == '.' ? text : swapSeparators(text);
}

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

using pellion::testing::errorText;

} // namespace

TEST(DecimalDigits, RoundsHalfAwayFromZeroOnTheEighteenDigitForm) {
    struct Case {
        const char* name;
        double value;
        int precision;
        int decimals;
        const char* digits;
        int exponent;
        bool negative;
    };
    const int unlimited = DecimalDigits::unlimitedDecimals;
    const Case cases[] = {
        {"exact tie rounds up", 0.125, 18, 2, "13", 0, false},
        {"double just below the tie", 2.675, 18, 2, "267", 1, false},
        {"tie to no decimals", 2.5, 18, 0, "3", 1, false},
        {"negative tie rounds away from zero", -2.5, 18, 0, "3", 1, true},
        {"carry adds a digit", 99.5, 2, unlimited, "1", 3, false},
        {"carry out of all nines", 0.9999, 18, 3, "1", 1, false},
        {"first digit right after the cut", 0.5, 18, 0, "1", 1, false},
        {"first digit two places after the cut", 0.05, 18, 0, "", 0, false},
        {"below half at the cut", 0.4, 18, 0, "", 0, false},
        {"negative rounds to plain zero", -0.004, 18, 2, "", 0, false},
        {"trailing zeros dropped", 1.5, 18, 5, "15", 1, false},
        {"eighteen digits at most", 1.0 / 3, 18, unlimited, "333333333333333315", 0, false},
        {"precision clamped to eighteen", 0.1, 40, unlimited, "100000000000000006", 0, false},
        {"fifteen digits", 1.0 / 3, 15, unlimited, "333333333333333", 0, false},
        {"smallest subnormal", 4.9406564584124654e-324, 18, unlimited, "494065645841246544", -323,
         false},
        {"largest double", DBL_MAX, 18, unlimited, "179769313486231571", 309, false},
        {"zero", 0.0, 18, 2, "", 0, false},
        {"negative zero", -0.0, 18, 2, "", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DecimalDigits d = toDecimalDigits(c.value, c.precision, c.decimals);
        EXPECT_EQ(d.special, DecimalDigits::Special::None);
        EXPECT_EQ(d.digits(), c.digits);
        EXPECT_EQ(d.exponent, c.exponent);
        EXPECT_EQ(d.negative, c.negative);
    }
}

TEST(DecimalDigits, MarksInfinityAndNotANumber) {
    EXPECT_EQ(toDecimalDigits(infinity, 15).special, DecimalDigits::Special::Infinite);
    EXPECT_FALSE(toDecimalDigits(infinity, 15).negative);
    EXPECT_TRUE(toDecimalDigits(-infinity, 15).negative);
    EXPECT_EQ(toDecimalDigits(notANumber, 15).special, DecimalDigits::Special::NotANumber);
}

class NumberFormatBothSeparators : public ::testing::TestWithParam<SeparatorCase> {
protected:
    void SetUp() override {
        m_scope = std::make_unique<ScopedFormatSettings>(
            separators(GetParam().decimalSeparator, GetParam().thousandSeparator));
    }
    std::string expected(const std::string& text) const { return expectedFor(GetParam(), text); }

private:
    std::unique_ptr<ScopedFormatSettings> m_scope;
};

INSTANTIATE_TEST_SUITE_P(Separators, NumberFormatBothSeparators,
                         ::testing::ValuesIn(separatorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(NumberFormatBothSeparators, FormatNumber) {
    struct Case {
        const char* name;
        const char* pattern;
        double value;
        const char* text;
    };
    const char* money = "$,0.00000;-$,0.00000";
    const Case cases[] = {
        {"grid pattern, half", "#.00", 0.5, ".50"},
        {"grid pattern, zero", "#.00", 0, ".00"},
        {"grid pattern, negative", "#.00", -0.5, "-.50"},
        {"grid pattern, integer digits beyond the placeholders", "#.00", 1234.5, "1234.50"},
        {"grid pattern, double just above 0.005", "#.00", 0.005, ".01"},
        {"exact tie rounds up", "0.00", 0.125, "0.13"},
        {"double just below 2.675", "0.00", 2.675, "2.67"},
        {"whole number padded", "0.00", 3, "3.00"},
        {"negative rounding to zero loses its sign", "0.00", -0.004, "0.00"},
        {"2.5e18 falls back to the general format", "0.00", 2.5e18, "2.5E18"},
        {"10^18 falls back", "0.00", 1e18, "1E18"},
        {"largest double below 10^18 stays fixed", "0.00", 999999999999999872.0,
         "999999999999999872.00"},
        {"money, grouped", money, 1234.5, "$1,234.50000"},
        {"money, millions", money, 1000000, "$1,000,000.00000"},
        {"money, negative section", money, -2, "-$2.00000"},
        {"money, zero", money, 0, "$0.00000"},
        {"money, negative rounding to zero takes the zero section", money, -0.000001, "$0.00000"},
        {"edit pattern, rounded", "0.#####", 12.345678, "12.34568"},
        {"edit pattern, short decimals", "0.#####", 2.5, "2.5"},
        {"edit pattern, whole", "0.#####", 3, "3"},
        {"edit pattern, negative", "0.#####", -1.5, "-1.5"},
        {"edit pattern, far below the last place", "0.#####", 0.0000005, "0"},
        {"edit pattern, one place below the last", "0.#####", 0.000004, "0"},
        {"edit pattern, rounds up into the last place", "0.#####", 0.000005, "0.00001"},
        {"grouping every three", "#,##0.00", 1234567.891, "1,234,567.89"},
        {"grouping with fewer digits than a group", "#,##0.00", 12, "12.00"},
        {"grouping carries into a new group", "#,##0.00", 999.995, "1,000.00"},
        {"grouping of zero", "#,##0.00", 0, "0.00"},
        {"grouping from a lone comma", ",0", 1234567, "1,234,567"},
        {"tie to no decimals", "0", 2.5, "3"},
        {"negative tie to no decimals", "0", -2.5, "-3"},
        {"half to no decimals", "0", 0.5, "1"},
        {"below half to no decimals", "0", 0.4, "0"},
        {"negative below half to no decimals", "0", -0.4, "0"},
        {"optional digit of zero prints nothing", "#", 0, ""},
        {"leading zeros required", "00000", 1000, "01000"},
        {"eighteen digits then zeros", "0.000000000000000000000", 1.0 / 3,
         "0.333333333333333315000"},
        {"negative section without a minus", "0;(0);'nil'", -3, "(3)"},
        {"zero section", "0;(0);'nil'", 0, "nil"},
        {"positive with three sections", "0;(0);'nil'", 3, "3"},
        {"negative rounding to zero uses the zero section", "0;(0);'nil'", -0.2, "nil"},
        {"positive rounding to zero uses the zero section", "0.0;(0.0);'nil'", 0.04, "nil"},
        {"empty negative section means the first", "0;;'nil'", -3, "-3"},
        {"empty zero section means the first", "0.0;(0.0);", -0.04, "0.0"},
        {"fourth section ignored", "0;(0);z;w", 0, "z"},
        {"quoted placeholder copied", "'#'0", 5, "#5"},
        {"double-quoted section separator copied", "\"x;y\"0", 5, "x;y5"},
        {"unclosed quote runs to the end", "0'abc", 5, "5abc"},
        {"other characters copied", "-0-", 7, "-7-"},
        {"empty pattern uses the general format", "", 1.5, "1.5"},
        {"empty first section uses the general format", ";0", 1.5, "1.5"},
        {"empty first section wins over the negative section", ";0", -1.5, "-1.5"},
        {"empty first section wins over the zero section", ";;'nil'", 0, "0"},
        {"infinity", "0.00", infinity, "INF"},
        {"negative infinity", "0.00", -infinity, "-INF"},
        {"not a number", "0.00", notANumber, "NAN"},
        {"subnormal", "0.00", 5e-324, "0.00"},
        {"placeholders split by text", "0-0", 1234, "123-4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatNumber(c.pattern, c.value), expected(c.text));
    }
}

TEST_P(NumberFormatBothSeparators, FormatNumberCopiesQuotedSeparatorsUnchanged) {
    EXPECT_EQ(FormatNumber("0'.,'", 5), "5.,");
}

TEST_P(NumberFormatBothSeparators, NumberToText) {
    struct Case {
        const char* name;
        double value;
        int precision;
        const char* text;
    };
    const Case cases[] = {
        {"binary sum shown as typed", 0.1 + 0.2, 15, "0.3"},
        {"a third", 1.0 / 3, 15, "0.333333333333333"},
        {"smallest fixed magnitude", 0.0001, 15, "0.0001"},
        {"below 0.0001 turns scientific", 0.00009, 15, "9E-5"},
        {"fifteen integer digits", 123456789012345.0, 15, "123456789012345"},
        {"sixteen integer digits turn scientific", 1e15, 15, "1E15"},
        {"negative small", -2.5e-7, 15, "-2.5E-7"},
        {"zero", 0, 15, "0"},
        {"negative zero", -0.0, 15, "0"},
        {"exact decimals", 123456789.125, 15, "123456789.125"},
        {"rounding to fifteen carries to 10^15", 999999999999999.5, 15, "1E15"},
        {"two digits, double above the tie", 2.45, 2, "2.5"},
        {"two digits, tie", 12.5, 2, "13"},
        {"two digits, decimals", 0.333, 2, "0.33"},
        {"two digits, rounds down", 10.4, 2, "10"},
        {"two digits, scientific", 123, 2, "1.2E2"},
        {"two digits, carry into scientific", 99.5, 2, "1E2"},
        {"precision below two acts as two", 1.25, 0, "1.3"},
        {"precision above eighteen acts as eighteen", 0.1, 40, "0.100000000000000006"},
        {"seventeen digits", 0.1, 17, "0.10000000000000001"},
        {"large exponent", 1e100, 15, "1E100"},
        {"largest double", DBL_MAX, 15, "1.79769313486232E308"},
        {"smallest subnormal", 5e-324, 15, "4.94065645841247E-324"},
        {"integer with a decimal part", 1234.5, 15, "1234.5"},
        {"negative", -42, 15, "-42"},
        {"infinity", infinity, 15, "INF"},
        {"negative infinity", -infinity, 15, "-INF"},
        {"not a number", notANumber, 15, "NAN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NumberToText(c.value, c.precision), expected(c.text));
    }
    EXPECT_EQ(NumberToText(0.5), expected("0.5")) << "precision 15 when not given";
}

TEST_P(NumberFormatBothSeparators, NumberToFixedText) {
    struct Case {
        const char* name;
        double value;
        int precision;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {"padded decimals", 0.01, 15, 4, "0.0100"},
        {"rounded decimals", 0.12345, 15, 4, "0.1235"},
        {"negative rounding to zero", -0.00001, 15, 4, "0.0000"},
        {"large integer", 100000000, 15, 4, "100000000.0000"},
        {"integer part beyond the precision", 1e15, 15, 4, "1E15"},
        {"no decimals", 2.5, 15, 0, "3"},
        {"negative below the tie", -1.005, 15, 2, "-1.00"},
        {"zero", 0, 15, 2, "0.00"},
        {"negative", -12.5, 15, 1, "-12.5"},
        {"precision limits the decimals", 123456789012.34567, 15, 4, "123456789012.3460"},
        {"decimals clamped to eighteen", 0.5, 18, 25, "0.500000000000000000"},
        {"negative decimals round to thousands", 7250, 15, -3, "7000"},
        {"negative decimals beyond the number round it to zero", 7.25, 15, -3, "0"},
        {"fallback uses the given precision", 1234.5, 2, 2, "1.2E3"},
        {"not a number", notANumber, 15, 2, "NAN"},
        {"infinity", -infinity, 15, 2, "-INF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NumberToFixedText(c.value, c.precision, c.decimals), expected(c.text));
    }
}

TEST_P(NumberFormatBothSeparators, TryTextToNumber) {
    struct Case {
        const char* name;
        const char* text; // written with '.' as decimal separator
        bool valid;
        double value;
    };
    const std::string sticky = "9007199254740993." + std::string(1000, '0') + "1";
    const std::string longFraction = "0." + std::string(400, '0') + "1e400";
    const Case cases[] = {
        {"plain", "1.5", true, 1.5},
        {"spaces, sign and exponent", "  -1.5e3  ", true, -1500},
        {"plus sign", "+2", true, 2},
        {"lone separator", ".", true, 0},
        {"signed lone separator", "-.", true, 0},
        {"leading separator", ".25", true, 0.25},
        {"trailing separator", "3.", true, 3},
        {"bare E keeps the value", "7E", true, 7},
        {"bare E with sign", "2e-", true, 2},
        {"exponent with plus", "1e+5", true, 1e5},
        {"exponent with leading zeros", "1e0000000000003", true, 1000},
        {"negative exponent", "25e-2", true, 0.25},
        {"largest double", "1.7976931348623157e308", true, DBL_MAX},
        {"smallest subnormal", "4.9406564584124654e-324", true, 5e-324},
        {"underflow to zero", "2e-324", true, 0},
        {"far underflow to zero", "1e-500", true, 0},
        {"zero with a large exponent", "0e500", true, 0},
        {"long fraction", longFraction.c_str(), true, 0.1},
        {"digits far past the tie still round up", sticky.c_str(), true, 9007199254740994.0},
        {"exact tie rounds to even", "9007199254740993", true, 9007199254740992.0},
        {"empty", "", false, 0},
        {"spaces only", "   ", false, 0},
        {"lone sign", "-", false, 0},
        {"two signs", "+-1", false, 0},
        {"thousands separator", "1,000", false, 0},
        {"trailing garbage", "1.5x", false, 0},
        {"tab is no space", "\t1", false, 0},
        {"space inside", "1 5", false, 0},
        {"exponent without mantissa", "E5", false, 0},
        {"space before exponent digits", "1e 5", false, 0},
        {"two separators", "1..5", false, 0},
        {"beyond the double range", "1e400", false, 0},
        {"rounds beyond the largest double", "1.7976931348623159e308", false, 0},
        {"largest double as 15 digits show it", "1.79769313486232E308", true, DBL_MAX},
        {"negative largest double as 15 digits show it", "-1.79769313486232E308", true, -DBL_MAX},
        {"largest double as 16 digits show it", "1.797693134862316e308", true, DBL_MAX},
        {"largest double as 2 digits show it", "1.8e308", true, DBL_MAX},
        {"shown digits with trailing zeros", "179.7693134862320000e306", true, DBL_MAX},
        {"one step above the 15-digit display", "1.79769313486233E308", false, 0},
        {"one digit is no display", "2e308", false, 0},
        {"above the 17-digit display, with trailing zeros", "1.797693134862315900e308", false, 0},
        {"exponent 500 beyond the double range", "1e500", false, 0},
        {"exponent digits stop at 500", "1e5000", false, 0},
        {"exponent digits stop at 500 for zero too", "0e5000", false, 0},
        {"negative exponent digits stop at 500", "1e-5000", false, 0},
        {"hex is no float", "0x10", false, 0},
        {"infinity word", "INF", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double value = -12345;
        const std::string text = expected(c.text);
        EXPECT_EQ(TryTextToNumber(text, value), c.valid) << text;
        if (c.valid)
            EXPECT_EQ(value, c.value) << text;
    }
}

TEST_P(NumberFormatBothSeparators, TextToNumberNamesTheTextItRefuses) {
    EXPECT_EQ(errorText([] { TextToNumber("abc"); }), "'abc' is not a valid floating point value");
    EXPECT_EQ(errorText([] { TextToNumber(""); }), "'' is not a valid floating point value");
    EXPECT_EQ(TextToNumber(expected("-0.5")), -0.5);
}

TEST(NumberFormat, SeparatorsAreNeverTakenForEachOther) {
    const ScopedFormatSettings comma(separators(',', '.'));
    double value = 0;
    EXPECT_FALSE(TryTextToNumber("1.5", value));
    EXPECT_FALSE(TryTextToNumber("1.000", value));
    EXPECT_EQ(TextToNumber("1,5"), 1.5);
    EXPECT_EQ(errorText([] { TextToNumber("1.5"); }), "'1.5' is not a valid floating point value");
}

TEST(NumberFormat, ScopedFormatSettingsRestoresOnEveryWayOut) {
    ASSERT_EQ(formatSettings().decimalSeparator, '.');
    try {
        const ScopedFormatSettings comma(separators(',', '.'));
        EXPECT_EQ(NumberToText(1.5), "1,5");
        throw Error("leaving");
    } catch (const Error&) {
    }
    EXPECT_EQ(formatSettings().decimalSeparator, '.');
    EXPECT_EQ(formatSettings().thousandSeparator, ',');
}

TEST(NumberFormat, PatternLengthLimit) {
    const std::string longest(maxFormatPatternLength, '0');
    EXPECT_EQ(FormatNumber(longest, 5), std::string(223, '0') + "5");
    const std::string tooLong(maxFormatPatternLength + 1, '0');
    EXPECT_EQ(errorText([&] { FormatNumber(tooLong, 5); }), "Format string too long");
    EXPECT_EQ(errorText([&] { FormatNumber(std::string(1000, '#'), 5); }),
              "Format string too long");
}

TEST(NumberFormat, TextToInteger) {
    struct Case {
        const char* name;
        const char* text;
        bool valid;
        std::int32_t value;
    };
    const Case cases[] = {
        {"plain", "42", true, 42},
        {"leading spaces", " 5", true, 5},
        {"plus sign", "+5", true, 5},
        {"minus sign", " -5", true, -5},
        {"negative zero", "-0", true, 0},
        {"leading zeros", "00000000000000000000042", true, 42},
        {"largest", "2147483647", true, INT32_MAX},
        {"smallest", "-2147483648", true, INT32_MIN},
        {"hex with dollar", "$1F", true, 31},
        {"hex with x", "x1f", true, 31},
        {"hex with X", "X10", true, 16},
        {"hex with 0x", "0x7fffffff", true, INT32_MAX},
        {"hex with 0X", "0X10", true, 16},
        {"eight F digits are -1", "$FFFFFFFF", true, -1},
        {"high bit pattern", "0x80000000", true, INT32_MIN},
        {"eight digits with leading zeros", "$00000001", true, 1},
        {"hex after spaces", "  $a", true, 10},
        {"trailing space", "5 ", false, 0},
        {"decimal point", "5.0", false, 0},
        {"one above the largest", "2147483648", false, 0},
        {"one below the smallest", "-2147483649", false, 0},
        {"far out of range", "99999999999999999999", false, 0},
        {"nine hex digits", "$100000000", false, 0},
        {"nine hex digits with leading zero", "$000000001", false, 0},
        {"dollar alone", "$", false, 0},
        {"0x alone", "0x", false, 0},
        {"signed hex", "-$1", false, 0},
        {"plus signed hex", "+0x1", false, 0},
        {"not a hex digit", "$G", false, 0},
        {"exponent", "1e3", false, 0},
        {"space after sign", "- 5", false, 0},
        {"lone sign", "-", false, 0},
        {"empty", "", false, 0},
        {"spaces only", "   ", false, 0},
        {"tab", "\t5", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.valid) {
            EXPECT_EQ(TextToInteger(c.text), c.value);
        } else {
            EXPECT_EQ(errorText([&] { TextToInteger(c.text); }),
                      "'" + std::string(c.text) + "' is not a valid integer value");
        }
    }
    EXPECT_EQ(errorText([] { TextToInteger("5 "); }), "'5 ' is not a valid integer value");
}

TEST(NumberFormat, IntegerToText) {
    EXPECT_EQ(IntegerToText(0), "0");
    EXPECT_EQ(IntegerToText(-1234567), "-1234567");
    EXPECT_EQ(IntegerToText(1234567), "1234567");
    EXPECT_EQ(IntegerToText(INT64_MIN), "-9223372036854775808");
    const ScopedFormatSettings comma(separators(',', '.'));
    EXPECT_EQ(IntegerToText(1234567), "1234567") << "never grouped";
}
