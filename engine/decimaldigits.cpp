#include "engine/decimaldigits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace pellion {

namespace {

// std::to_chars with a precision prints the exact binary value correctly
// rounded, which is what makes every later decimal rounding trustworthy.
// Returns the decimal exponent in the 0.d1d2... convention.
int writeEighteenDigits(double magnitude, char* digits) {
    char text[40];
    const auto result = std::to_chars(text, text + sizeof text, magnitude,
                                      std::chars_format::scientific, DecimalDigits::maxDigits - 1);
    // The text reads d.ddddddddddddddddde[+-]xx.
    digits[0] = text[0];
    std::memcpy(digits + 1, text + 2, DecimalDigits::maxDigits - 1);
    const char* p = text + 2 + (DecimalDigits::maxDigits - 1) + 1;
    const bool negativeExponent = *p == '-';
    int exponent = 0;
    for (++p; p != result.ptr; ++p)
        exponent = exponent * 10 + (*p - '0');
    return (negativeExponent ? -exponent : exponent) + 1;
}

} // namespace

DecimalDigits toDecimalDigits(double value, int precision, int decimals) {
    DecimalDigits result;
    if (std::isnan(value)) {
        result.special = DecimalDigits::Special::NotANumber;
        return result;
    }
    if (std::isinf(value)) {
        result.special = DecimalDigits::Special::Infinite;
        result.negative = value < 0;
        return result;
    }
    if (value == 0)
        return result;

    char digits[DecimalDigits::maxDigits];
    int exponent = writeEighteenDigits(std::fabs(value), digits);

    precision = std::clamp(precision, 1, DecimalDigits::maxDigits);
    long long wanted = decimals == DecimalDigits::unlimitedDecimals
                           ? precision
                           : static_cast<long long>(exponent) + decimals;
    if (wanted < 0)
        return result;
    int kept = static_cast<int>(std::min<long long>(wanted, precision));

    if (kept < DecimalDigits::maxDigits && digits[kept] >= '5') {
        // Round up: the nines before the cut turn into dropped zeros.
        int last = kept - 1;
        while (last >= 0 && digits[last] == '9')
            --last;
        if (last < 0) {
            digits[0] = '1';
            kept = 1;
            ++exponent;
        } else {
            ++digits[last];
            kept = last + 1;
        }
    }
    while (kept > 0 && digits[kept - 1] == '0')
        --kept;
    if (kept == 0)
        return result;

    std::copy(digits, digits + kept, result.digitBuffer.begin());
    result.count = kept;
    result.exponent = exponent;
    result.negative = value < 0;
    return result;
}

} // namespace pellion
