// Deterministic random cases judged by an oracle that shares no code with the
// conversions: the double's exact decimal expansion is computed here with big
// integer arithmetic, rounded to 18 digits and then to the wanted decimals with
// plain integer division.

#include "engine/numberformat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

using namespace pellion;

namespace {

// Exact decimal digits of a finite nonzero magnitude: value = 0.digits x 10^exponent.
struct ExactDecimal {
    std::string digits;
    int exponent = 0;
};

// Little-endian base 10^9 limbs.
using BigNumber = std::vector<std::uint32_t>;

void multiplySmall(BigNumber& n, std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : n) {
        const std::uint64_t product = std::uint64_t(limb) * factor + carry;
        limb = std::uint32_t(product % 1000000000);
        carry = product / 1000000000;
    }
    while (carry) {
        n.push_back(std::uint32_t(carry % 1000000000));
        carry /= 1000000000;
    }
}

std::string toDecimalString(const BigNumber& n) {
    std::string text = std::to_string(n.back());
    for (auto limb = n.rbegin() + 1; limb != n.rend(); ++limb) {
        const std::string part = std::to_string(*limb);
        text += std::string(9 - part.size(), '0') + part;
    }
    return text;
}

ExactDecimal exactDecimal(double magnitude) {
    int binaryExponent = 0;
    const double fraction = std::frexp(magnitude, &binaryExponent);
    // magnitude = mantissa x 2^(binaryExponent - 53), mantissa an integer below 2^53.
    const auto mantissa = std::uint64_t(std::ldexp(fraction, 53));
    int power = binaryExponent - 53;
    BigNumber n{std::uint32_t(mantissa % 1000000000), std::uint32_t(mantissa / 1000000000)};
    if (n.back() == 0)
        n.pop_back();
    int decimalShift = 0;
    for (; power > 0; --power)
        multiplySmall(n, 2);
    for (; power < 0; ++power) { // x 2^-1 = x 5 / 10
        multiplySmall(n, 5);
        --decimalShift;
    }
    ExactDecimal exact;
    exact.digits = toDecimalString(n);
    exact.exponent = int(exact.digits.size()) + decimalShift;
    while (exact.digits.back() == '0')
        exact.digits.pop_back();
    return exact;
}

// The 18 significant digits nearest the exact value (ties to even), as an integer
// q with value = q x 10^(exponent - 18); q may reach 10^18 after the carry.
struct EighteenDigits {
    std::uint64_t q = 0;
    int exponent = 0;
};

EighteenDigits nearestEighteenDigits(const ExactDecimal& exact) {
    std::string head = exact.digits.substr(0, 18);
    head.append(18 - head.size(), '0');
    EighteenDigits result{std::stoull(head), exact.exponent};
    if (exact.digits.size() > 18) {
        const std::string rest = exact.digits.substr(18);
        const std::string half = "5" + std::string(rest.size() - 1, '0');
        if (rest > half || (rest == half && result.q % 2 == 1))
            ++result.q;
    }
    if (result.q == 1000000000000000000ULL) {
        result.q /= 10;
        ++result.exponent;
    }
    return result;
}

// The fixed-point text with `decimals` decimals, rounded half away from zero.
std::string oracleFixedText(double value, int decimals) {
    std::string units = "0"; // the rounded value times 10^decimals
    if (value != 0) {
        const EighteenDigits eighteen = nearestEighteenDigits(exactDecimal(std::fabs(value)));
        const int kept = eighteen.exponent + decimals; // significant digits that stay
        if (kept >= 18) {
            units = std::to_string(eighteen.q) + std::string(std::size_t(kept - 18), '0');
        } else if (kept >= 0) {
            std::uint64_t divisor = 1;
            for (int i = kept; i < 18; ++i)
                divisor *= 10;
            std::uint64_t rounded = eighteen.q / divisor;
            if (eighteen.q % divisor >= divisor - eighteen.q % divisor)
                ++rounded;
            units = std::to_string(rounded);
        }
    }
    const bool negative = value < 0 && units != "0";
    if (units.size() <= std::size_t(decimals))
        units.insert(0, std::size_t(decimals) + 1 - units.size(), '0');
    if (decimals > 0)
        units.insert(units.size() - std::size_t(decimals), 1, formatSettings().decimalSeparator);
    return (negative ? "-" : "") + units;
}

std::string zeroPattern(int decimals) {
    return decimals == 0 ? "0" : "0." + std::string(std::size_t(decimals), '0');
}

// Values the program meets (prices, watts, hours) and values built to sit on
// or next to a decimal tie, plus arbitrary bit patterns.
class ValueSource {
public:
    double next() {
        switch (m_random() % 4) {
        case 0: { // a short decimal, often a tie at some decimal place
            const auto digits = std::int64_t(m_random() % 100000000);
            return double(digits) / std::pow(10.0, double(m_random() % 9)) *
                   (m_random() % 2 ? 1 : -1);
        }
        case 1: { // one ulp around a short decimal
            const double base = double(m_random() % 1000000) / 1000.0 + 0.0005;
            return m_random() % 2 ? std::nextafter(base, 0.0) : std::nextafter(base, 1e9);
        }
        case 2: { // moderate magnitudes
            return std::ldexp(double(m_random() % (1ULL << 53)), int(m_random() % 100) - 120);
        }
        default: { // any finite double
            double value = 0;
            do
                value = std::bit_cast<double>(m_random());
            while (!std::isfinite(value));
            return value;
        }
        }
    }

private:
    std::mt19937_64 m_random{20240611};
};

const char separatorsUnderTest[] = {'.', ','};

} // namespace

TEST(NumberFormatOracle, FixedTextMatchesExactDecimalRounding) {
    for (const char separator : separatorsUnderTest) {
        FormatSettings settings;
        settings.decimalSeparator = separator;
        settings.thousandSeparator = separator == '.' ? ',' : '.';
        const ScopedFormatSettings scope(settings);
        ValueSource values;
        for (int i = 0; i < 4000; ++i) {
            const double value = values.next();
            if (std::fabs(value) >= 1e17)
                continue; // beyond the fixed range both fall back to the general format
            const int decimals = i % 7;
            const std::string expected = oracleFixedText(value, decimals);
            SCOPED_TRACE(NumberToText(value, 17) + " to " + std::to_string(decimals) + " decimals");
            ASSERT_EQ(NumberToFixedText(value, 18, decimals), expected);
            ASSERT_EQ(FormatNumber(zeroPattern(decimals), value), expected);
        }
    }
}

TEST(NumberFormatOracle, SeventeenDigitsRoundTripExactly) {
    for (const char separator : separatorsUnderTest) {
        FormatSettings settings;
        settings.decimalSeparator = separator;
        const ScopedFormatSettings scope(settings);
        ValueSource values;
        for (int i = 0; i < 20000; ++i) {
            const double value = values.next();
            for (const int precision : {17, 18}) {
                const std::string text = NumberToText(value, precision);
                double back = 0;
                ASSERT_TRUE(TryTextToNumber(text, back)) << text;
                ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(value))
                    << text;
            }
        }
    }
}

TEST(NumberFormatOracle, FifteenDigitDecimalsSurviveTheDouble) {
    // Any decimal of at most 15 significant digits comes back unchanged through a
    // double, so parsing then printing must reproduce its canonical text.
    const ScopedFormatSettings pointDecimals(FormatSettings{});
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        std::string digits = std::to_string(random() % 1000000000000000ULL + 1);
        while (digits.back() == '0')
            digits.pop_back();
        const int exponent = int(random() % 40) - 20; // of 0.digits
        std::string expected;
        if (exponent > 15 || exponent < -3) {
            expected = digits.substr(0, 1) + (digits.size() > 1 ? "." + digits.substr(1) : "") +
                       "E" + std::to_string(exponent - 1);
        } else if (exponent <= 0) {
            expected = "0." + std::string(std::size_t(-exponent), '0') + digits;
        } else if (digits.size() <= std::size_t(exponent)) {
            expected = digits + std::string(std::size_t(exponent) - digits.size(), '0');
        } else {
            expected = digits.substr(0, std::size_t(exponent)) + "." +
                       digits.substr(std::size_t(exponent));
        }
        // Written differently on the way in: all digits as an integer, then an exponent.
        const std::string text =
            "  " + digits + "e" + std::to_string(exponent - int(digits.size())) + " ";
        SCOPED_TRACE(text);
        ASSERT_EQ(NumberToText(TextToNumber(text), 15), expected);
    }
}
