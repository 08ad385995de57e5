// A second, independent reading of the number conversions. The model below
// follows the documented algorithms step by step, on strings and on the
// double's exact decimal expansion (big integer arithmetic here), and shares no
// code with engine/. Deterministic random values, patterns and texts are run
// through both, in both separator settings, and every difference is reported
// with the case that shows it.
//
// The 18-digit form may be off by one unit in its 18th digit, and a parsed
// value by its last bit; where the conversions differ from the model only
// within that freedom the case passes and is counted as tolerated (the model
// rounds an exact tie in the 19th digit up, the conversions to even).
//
// Where the algorithms leave a point open the model takes these readings: a
// value that rounds to zero prints as 0 does (its exponent is 0); a section
// without '0' requires no integer digit; NumberToFixedText keeps at least one
// significant digit and rounds at no more than 18 decimals; a text beyond the
// double's range may be refused.

#include "base/error.h"
#include "engine/decimaldigits.h"
#include "engine/numberformat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace pellion;

namespace model {

using Limbs = std::vector<std::uint32_t>; // base 10^9, least significant first
constexpr std::uint32_t limbBase = 1000000000;

void multiplySmall(Limbs& n, std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : n) {
        const std::uint64_t product = std::uint64_t(limb) * factor + carry;
        limb = std::uint32_t(product % limbBase);
        carry = product / limbBase;
    }
    for (; carry; carry /= limbBase)
        n.push_back(std::uint32_t(carry % limbBase));
}

std::string limbsToText(const Limbs& n) {
    std::string text;
    for (auto limb = n.rbegin(); limb != n.rend(); ++limb) {
        const std::string part = std::to_string(*limb);
        text += text.empty() ? part : std::string(9 - part.size(), '0') + part;
    }
    return text;
}

// magnitude = 0.digits x 10^exponent; digits without leading or trailing '0'.
struct Expansion {
    std::string digits;
    int exponent = 0;
};

// Of mantissa x 2^twos, mantissa nonzero.
Expansion expand(std::uint64_t mantissa, int twos) {
    Limbs n{std::uint32_t(mantissa % limbBase), std::uint32_t(mantissa / limbBase)};
    int tens = 0;
    if (twos >= 0) {
        for (int done = 0; done < twos; done += 31)
            multiplySmall(n, std::uint32_t(1) << std::min(31, twos - done));
    } else {
        // m / 2^k = m * 5^k / 10^k
        for (int done = 0; done < -twos; done += 13) {
            std::uint32_t power = 1;
            for (int i = 0; i < std::min(13, -twos - done); ++i)
                power *= 5;
            multiplySmall(n, power);
        }
        tens = twos;
    }
    while (n.size() > 1 && n.back() == 0)
        n.pop_back();
    std::string text = limbsToText(n);
    while (text.back() == '0') {
        text.pop_back();
        ++tens;
    }
    return {text, int(text.size()) + tens};
}

Expansion expand(double magnitude) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biased = int((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);
    const std::uint64_t mantissa = biased ? fraction | (std::uint64_t(1) << 52) : fraction;
    return expand(mantissa, biased ? biased - 1075 : -1074);
}

// The exact halfway point between a positive finite double and the next one up.
Expansion midpointAbove(double magnitude) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biased = int((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);
    const std::uint64_t mantissa = biased ? fraction | (std::uint64_t(1) << 52) : fraction;
    return expand(2 * mantissa + 1, (biased ? biased - 1075 : -1074) - 1);
}

// Which of the two 18-digit neighbours of the exact value to round on: the
// nearest (ties upward), or the other one that the conversions may also use.
enum class Form { Nearest, OtherNeighbour };

constexpr int unlimited = INT_MAX;

struct Digits {
    enum class Special { None, Infinite, NotANumber };
    std::string digits;
    int exponent = 0;
    bool negative = false;
    Special special = Special::None;
    bool isZero() const { return special == Special::None && digits.empty(); }
};

// Adds one to the last digit; a carry out of the first digit gives "1" and a
// higher exponent.
void addOneToLast(std::string& digits, int& exponent) {
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        if (*digit != '9') {
            ++*digit;
            return;
        }
        *digit = '0';
    }
    digits = "1";
    ++exponent;
}

void removeTrailingZeros(std::string& digits) {
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
}

Digits decimalDigits(double v, int precision, int decimals, Form form) {
    Digits result;
    if (v == 0)
        return result;
    if (std::isinf(v)) {
        result.special = Digits::Special::Infinite;
        result.negative = v < 0;
        return result;
    }
    if (std::isnan(v)) {
        result.special = Digits::Special::NotANumber;
        return result;
    }

    // Step 2: the 18-digit form.
    const Expansion exact = expand(std::fabs(v));
    std::string digits = exact.digits;
    int e = exact.exponent;
    if (digits.size() > 18) {
        const bool nearestIsAbove = digits[18] >= '5';
        digits.resize(18);
        if (nearestIsAbove == (form == Form::Nearest))
            addOneToLast(digits, e);
    }
    removeTrailingZeros(digits);

    // Steps 3 to 6.
    long long n = decimals == unlimited ? precision : (long long)e + decimals;
    if (n < 0)
        return result;
    n = std::min<long long>({n, precision, 18});
    if (n < (long long)digits.size()) {
        const bool up = digits[std::size_t(n)] >= '5';
        digits.resize(std::size_t(n));
        if (up)
            addOneToLast(digits, e);
    }
    removeTrailingZeros(digits);
    if (digits.empty())
        return result;
    result.digits = digits;
    result.exponent = e;
    result.negative = v < 0;
    return result;
}

struct Separators {
    char decimal;
    char thousand;
};

std::string numberToText(double v, int precision, Separators s, Form form) {
    const int p = std::clamp(precision, 2, 18);
    const Digits d = decimalDigits(v, p, unlimited, form);
    if (d.special == Digits::Special::Infinite)
        return d.negative ? "-INF" : "INF";
    if (d.special == Digits::Special::NotANumber)
        return "NAN";
    std::string out = d.negative ? "-" : "";
    const int e = d.exponent;
    if (!d.isZero() && (e > p || e < -3)) {
        out += d.digits[0];
        if (d.digits.size() > 1)
            out += s.decimal + d.digits.substr(1);
        out += 'E';
        if (e - 1 < 0)
            out += '-';
        out += std::to_string(std::abs(e - 1));
    } else if (e <= 0) {
        out += '0';
        if (!d.isZero())
            out += s.decimal + std::string(std::size_t(-e), '0') + d.digits;
    } else {
        std::string integer = d.digits.substr(0, std::size_t(e));
        integer.resize(std::size_t(e), '0');
        out += integer;
        if (d.digits.size() > std::size_t(e))
            out += s.decimal + d.digits.substr(std::size_t(e));
    }
    return out;
}

std::string numberToFixedText(double v, int precision, int decimals, Separators s, Form form) {
    // At least one significant digit is kept (no digit at all would show any value
    // as zero); decimals beyond 18 are not honoured, neither in the text nor in the
    // rounding (a text cut short of its rounding would be truncated).
    precision = std::max(precision, 1);
    decimals = std::min(decimals, 18);
    const Digits d = decimalDigits(v, precision, decimals, form);
    if (d.special != Digits::Special::None || d.exponent > precision)
        return numberToText(v, precision, s, form);
    const int e = d.exponent;
    std::string out = d.negative ? "-" : "";
    if (e <= 0) {
        out += '0';
    } else {
        std::string integer =
            d.digits.substr(0, std::size_t(std::min<int>(e, int(d.digits.size()))));
        integer.resize(std::size_t(e), '0');
        out += integer;
    }
    if (decimals > 0) {
        const std::size_t wanted = std::size_t(decimals);
        std::string fraction;
        if (e < 0)
            fraction = std::string(std::size_t(-e), '0') + d.digits;
        else if (d.digits.size() > std::size_t(e))
            fraction = d.digits.substr(std::size_t(e));
        fraction.resize(wanted, '0');
        out += s.decimal + fraction;
    }
    return out;
}

// Splits on ';' outside quotes; an unclosed quote runs to the end.
std::vector<std::string> sections(std::string_view pattern) {
    std::vector<std::string> result(1);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '\'' || c == '"') {
            const std::size_t close = pattern.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close + 1;
            result.back() += pattern.substr(i, end - i);
            i = end - 1;
        } else if (c == ';') {
            result.emplace_back();
        } else {
            result.back() += c;
        }
    }
    return result;
}

struct Scan {
    int count = 0;
    int point = -1;
    int firstZero = -1;
    int lastZero = 0;
    bool grouping = false;
};

Scan scan(std::string_view section) {
    Scan result;
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        if (c == '\'' || c == '"') {
            const std::size_t close = section.find(c, i + 1);
            i = close == std::string_view::npos ? section.size() : close;
        } else if (c == '0') {
            if (result.firstZero < 0)
                result.firstZero = result.count;
            ++result.count;
            result.lastZero = result.count;
        } else if (c == '#') {
            ++result.count;
        } else if (c == '.') {
            if (result.point < 0)
                result.point = result.count;
        } else if (c == ',') {
            result.grouping = true;
        }
    }
    if (result.point < 0)
        result.point = result.count;
    if (result.firstZero < 0)
        result.firstZero = result.count; // no '0': no integer digit is required
    return result;
}

// Index of the section to use: the wanted one unless it is missing or empty.
std::size_t chooseSection(const std::vector<std::string>& all, std::size_t wanted) {
    return wanted < all.size() && !all[wanted].empty() ? wanted : 0;
}

std::string formatNumber(std::string_view pattern, double v, Separators s, Form form) {
    if (pattern.size() > 224)
        throw Error("Format string too long");
    const std::vector<std::string> all = sections(pattern);
    if (all[0].empty())
        return numberToText(v, 15, s, form);
    std::size_t chosen = chooseSection(all, v == 0 ? 2 : v < 0 ? 1 : 0);
    Scan layout = scan(all[chosen]);
    const Digits d = decimalDigits(v, 18, layout.count - layout.point, form);
    if (d.special != Digits::Special::None || d.exponent > 18)
        return numberToText(v, 15, s, form);
    if (d.isZero()) {
        const std::size_t again = chooseSection(all, 2);
        if (again != chosen) {
            chosen = again;
            layout = scan(all[chosen]);
        }
    }

    const int e = d.exponent;
    const int requiredInt = std::max(layout.point - layout.firstZero, 0);
    const int requiredDec = std::max(layout.lastZero - layout.point, 0);
    int pos = std::max(e, layout.point);
    int delta = e - layout.point;
    std::size_t next = 0;

    std::string out;
    if (chosen == 0 && d.negative)
        out += '-';
    const auto place = [&](char c) {
        if (pos == 0) {
            out += s.decimal;
            out += c;
        } else {
            out += c;
            if (layout.grouping && pos > 1 && pos % 3 == 1)
                out += s.thousand;
        }
        --pos;
    };
    const std::string& section = all[chosen];
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        if (c == '\'' || c == '"') {
            const std::size_t close = section.find(c, i + 1);
            const std::size_t end = close == std::string::npos ? section.size() : close;
            out += section.substr(i + 1, end - i - 1);
            i = end;
        } else if (c == '0' || c == '#') {
            if (delta > 0) {
                for (int k = 0; k <= delta; ++k)
                    place(next < d.digits.size() ? d.digits[next++] : '0');
                delta = 0;
            } else if (delta < 0) {
                ++delta;
                if (pos <= requiredInt)
                    place('0');
                else
                    --pos;
            } else if (next < d.digits.size()) {
                place(d.digits[next++]);
            } else if (pos > -requiredDec) {
                place('0');
            } else {
                --pos;
            }
        } else if (c != '.' && c != ',') {
            out += c;
        }
    }
    return out;
}

struct ParsedNumber {
    enum class Verdict { Refused, Accepted, AcceptedOrRefused };
    Verdict verdict = Verdict::Refused;
    double value = 0; // correctly rounded, when accepted
};

ParsedNumber textToNumber(std::string_view text, Separators s) {
    std::size_t i = 0;
    const auto at = [&](std::size_t k) { return k < text.size() ? text[k] : '\0'; };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    while (at(i) == ' ')
        ++i;
    bool negative = false;
    if (at(i) == '+' || at(i) == '-')
        negative = text[i++] == '-';
    const std::size_t mantissaStart = i;
    std::string mantissa;
    long long decimals = 0;
    while (isDigit(at(i)))
        mantissa += text[i++];
    if (at(i) == s.decimal) {
        ++i;
        while (isDigit(at(i))) {
            mantissa += text[i++];
            ++decimals;
        }
    }
    if (i == mantissaStart)
        return {};
    long long exponent = 0;
    if (at(i) == 'E' || at(i) == 'e') {
        ++i;
        bool exponentNegative = false;
        if (at(i) == '+' || at(i) == '-')
            exponentNegative = text[i++] == '-';
        while (isDigit(at(i)) && exponent < 500)
            exponent = exponent * 10 + (text[i++] - '0');
        if (exponentNegative)
            exponent = -exponent;
    }
    while (at(i) == ' ')
        ++i;
    if (i != text.size())
        return {};

    mantissa.erase(0, mantissa.find_first_not_of('0'));
    ParsedNumber result;
    result.verdict = ParsedNumber::Verdict::Accepted;
    if (mantissa.empty()) {
        result.value = negative ? -0.0 : 0.0;
        return result;
    }
    const long long scale = exponent - decimals;
    // The magnitude lies in [10^(size+scale-1), 10^(size+scale)).
    const long long magnitude = (long long)mantissa.size() + scale;
    if (magnitude > 4933)
        return {}; // beyond the extended range
    if (magnitude > 309) {
        // Beyond the double's range: the parser may take it or refuse it.
        result.verdict = ParsedNumber::Verdict::AcceptedOrRefused;
        result.value = negative ? -HUGE_VAL : HUGE_VAL;
        return result;
    }
    const std::string normalised = mantissa + "e" + std::to_string(scale);
    result.value = std::strtod(normalised.c_str(), nullptr);
    if (std::isinf(result.value))
        result.verdict = ParsedNumber::Verdict::AcceptedOrRefused;
    if (negative)
        result.value = -result.value;
    return result;
}

std::optional<std::int32_t> textToInteger(std::string_view text) {
    std::size_t i = 0;
    const auto at = [&](std::size_t k) { return k < text.size() ? text[k] : '\0'; };
    const auto hexValue = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    while (at(i) == ' ')
        ++i;
    std::size_t hexStart = 0;
    if (at(i) == '$' || at(i) == 'x' || at(i) == 'X')
        hexStart = i + 1;
    else if (at(i) == '0' && (at(i + 1) == 'x' || at(i + 1) == 'X'))
        hexStart = i + 2;
    if (hexStart) {
        const std::string_view hex = text.substr(hexStart);
        if (hex.empty() || hex.size() > 8)
            return std::nullopt;
        std::uint32_t pattern = 0;
        for (char c : hex) {
            if (hexValue(c) < 0)
                return std::nullopt;
            pattern = pattern * 16 + std::uint32_t(hexValue(c));
        }
        return std::bit_cast<std::int32_t>(pattern);
    }
    bool negative = false;
    if (at(i) == '+' || at(i) == '-')
        negative = text[i++] == '-';
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = std::min(value * 10 + (text[i] - '0'), 1LL << 40);
    }
    value = negative ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return std::int32_t(value);
}

std::string integerToText(std::int64_t value) {
    std::string digits;
    std::uint64_t magnitude = value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
    do {
        digits.insert(digits.begin(), char('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude);
    return value < 0 ? "-" + digits : digits;
}

} // namespace model

namespace {

class Cases {
public:
    explicit Cases(std::uint32_t seed) : m_rng(seed) {}

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    bool chance(int percent) { return between(1, 100) <= percent; }
    template <typename T> const T& pick(std::initializer_list<T> items) {
        return items.begin()[between(0, int(items.size()) - 1)];
    }
    std::string digits(int count, bool leadingZeroAllowed = true) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += char('0' + between(i == 0 && !leadingZeroAllowed ? 1 : 0, 9));
        return text;
    }

    double value() {
        const double magnitude = unsignedValue();
        return chance(40) ? -magnitude : magnitude;
    }

    std::string pattern();
    std::string numberText(char decimal, char thousand);
    std::string integerText();
    std::int64_t integer();

private:
    double unsignedValue();
    double fromText(const std::string& text) { return std::strtod(text.c_str(), nullptr); }
    std::string section();

    std::mt19937 m_rng;
};

double Cases::unsignedValue() {
    switch (between(0, 11)) {
    case 0: { // any bit pattern: subnormals, huge values, infinities and NaNs too
        const auto high = std::uint64_t(std::uniform_int_distribution<std::uint32_t>()(m_rng));
        const auto low = std::uint64_t(std::uniform_int_distribution<std::uint32_t>()(m_rng));
        return std::fabs(std::bit_cast<double>(high << 32 | low));
    }
    case 1: // a short decimal at any everyday magnitude
        return fromText(digits(between(1, 8), false) + "e" + std::to_string(between(-12, 12)));
    case 2: // a tie in the decimal text: x.xx5, 0.0005, 12345.5
        return fromText(digits(between(0, 6)) + "." + digits(between(0, 5)) + "5");
    case 3: // near 10^15 .. 10^19, where the integer part reaches the 18 digits
        return fromText(digits(between(14, 20), false) + "." + digits(between(0, 4)));
    case 4: // tiny and subnormal
        return fromText(digits(between(1, 17), false) + "e" + std::to_string(between(-330, -290)));
    case 5:
        return pick<double>({0.0,
                             INFINITY,
                             NAN,
                             DBL_MAX,
                             DBL_MIN,
                             DBL_TRUE_MIN,
                             0.5,
                             1.0,
                             9.5,
                             99.5,
                             999.5,
                             0.05,
                             0.005,
                             0.0005,
                             1e15,
                             1e18,
                             999999999999999999.0,
                             1e19,
                             0.125,
                             2.675,
                             2.5,
                             1.0 / 3});
    case 6: // binary fractions: exact in decimal, often exact ties
        return std::ldexp(double(between(1, 1 << 20)), -between(0, 24));
    case 7: // runs of nines, one carry away from the next power of ten
        return fromText(std::string(std::size_t(between(1, 20)), '9') + digits(between(0, 3)) +
                        "e" + std::to_string(between(-25, 5)));
    case 8:
        return double(between(0, 100000));
    case 10: // just below the decimals of a pattern or a fixed text
        return fromText(digits(between(1, 6), false) + "e" + std::to_string(between(-25, -5)));
    case 9: // full 17-digit doubles at everyday magnitudes
        return fromText("0." + digits(17, false) + "e" + std::to_string(between(-8, 20)));
    default: // money-like values
        return fromText(digits(between(1, 7)) + "." + digits(between(1, 3)));
    }
}

std::string Cases::section() {
    std::string text;
    const int length = chance(10) ? between(10, 40) : between(0, 9);
    for (int i = 0; i < length; ++i) {
        switch (between(0, 12)) {
        case 0:
        case 1:
        case 2:
            text += '#';
            break;
        case 3:
        case 4:
        case 5:
            text += '0';
            break;
        case 6:
        case 7:
            text += '.';
            break;
        case 8:
            text += ',';
            break;
        case 9:
            text += pick<const char*>({"'", "\""});
            text += pick<const char*>({"", "x", "0#.,", ";", "'", "\"", "kWh"});
            if (chance(85))
                text += text.back() == '\'' ? "'" : "\"";
            break;
        default:
            text += pick<char>({'$', '-', '+', ' ', '(', ')', '%', 'E', 'e', '/', 'k'});
        }
    }
    return text;
}

std::string Cases::pattern() {
    if (chance(2))
        return std::string(std::size_t(between(223, 226)), '0');
    if (chance(25)) { // the shapes the program itself uses, with a twist
        std::string text = pick<const char*>(
            {"#.00", "0.00", "0.#####", "$,0.00000;-$,0.00000", ",0.00", "#,##0.00", "0", "#",
             "0.000", "#.##", "0.00;(0.00);'zero'", "", ";0", "0;;", "#.00;-#.00;"});
        if (chance(50))
            text.insert(std::size_t(between(0, int(text.size()))), section());
        return text;
    }
    std::string text = section();
    const int more = between(0, 3);
    for (int i = 0; i < more; ++i)
        text += ";" + section();
    return text;
}

std::string Cases::numberText(char decimal, char thousand) {
    std::string text(std::size_t(pick<int>({0, 0, 0, 1, 2})), ' ');
    text += pick<const char*>({"", "", "", "-", "+", "--", "+-", " -"});
    if (chance(3)) {
        // A halfway point between two doubles, exact, or nudged by a digit far beyond
        // the ones most parsers keep.
        const double below = std::fabs(std::bit_cast<double>(std::uint64_t(
            std::uniform_int_distribution<std::uint64_t>(1, 0x7fefffffffffffff)(m_rng))));
        const model::Expansion halfway = model::midpointAbove(below);
        std::string mantissa = halfway.digits;
        if (chance(40))
            mantissa += std::string(std::size_t(between(0, 900)), '0') + "1";
        else if (chance(30))
            mantissa.back() = '4';
        text += "0" + std::string(1, decimal) + mantissa + "E" + std::to_string(halfway.exponent);
        text += std::string(std::size_t(pick<int>({0, 0, 1})), ' ');
        return text;
    }
    if (chance(2))
        text += digits(between(700, 900)); // past the digits that can decide a rounding
    else if (chance(2))
        text += "0" + std::string(1, decimal) + std::string(std::size_t(between(300, 340)), '0') +
                digits(between(1, 20)); // down among the subnormals
    else if (chance(10))
        text += digits(between(20, 60)); // long digit strings
    else
        text += digits(pick<int>({0, 1, 1, 2, 3, 5, 8, 16}));
    if (chance(55)) {
        text += chance(85) ? decimal : pick<char>({'.', ',', thousand});
        text += digits(pick<int>({0, 1, 2, 3, 7, 20}));
    }
    if (chance(35)) {
        text += pick<char>({'E', 'e'});
        text += pick<const char*>({"", "", "+", "-"});
        text += pick<std::string>({"", "0", "5", "-5", "308", "309", "324", "325", "499", "500",
                                   "501", "4999", "5000", "0000499", "49999", digits(3)});
    }
    text += std::string(std::size_t(pick<int>({0, 0, 0, 1, 2})), ' ');
    if (chance(20)) { // a near miss
        const char junk = pick<char>({' ', '\t', 'x', ',', '.', 'E', '-', '+', '0'});
        text.insert(std::size_t(between(0, int(text.size()))), 1, junk);
    }
    return text;
}

std::string Cases::integerText() {
    std::string text(std::size_t(pick<int>({0, 0, 0, 1, 2})), ' ');
    if (chance(35)) {
        text += pick<const char*>({"$", "x", "X", "0x", "0X", "-$", "+0x", "00x"});
        std::string hex;
        const int length = pick<int>({0, 1, 2, 4, 7, 8, 8, 8, 9, 10});
        for (int i = 0; i < length; ++i)
            hex += "0123456789abcdefABCDEF"[between(0, 21)];
        text += hex;
    } else {
        text += pick<const char*>({"", "", "", "-", "+", "--", "+-"});
        text += pick<std::string>({digits(between(1, 9)), digits(between(10, 12)), "2147483647",
                                   "2147483648", "2147483649", "0002147483647", "", "0"});
    }
    if (chance(15)) {
        const char junk = pick<char>({' ', '\t', '.', ',', 'e', 'g', '0', '-'});
        text.insert(std::size_t(between(0, int(text.size()))), 1, junk);
    }
    return text;
}

std::int64_t Cases::integer() {
    if (chance(10))
        return pick<std::int64_t>({0, -1, INT64_MIN, INT64_MAX, INT32_MIN, INT32_MAX});
    const auto raw = std::int64_t(std::uniform_int_distribution<std::uint64_t>()(m_rng));
    return raw >> between(0, 62);
}

std::string describe(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// What a call gives: its text, or the message of the error it raises.
std::string outcome(const std::function<std::string()>& call) {
    try {
        return call();
    } catch (const Error& error) {
        return std::string("error: ") + error.what();
    }
}

class Tally {
public:
    explicit Tally(std::string conversion) : m_conversion(std::move(conversion)) {}
    ~Tally() {
        EXPECT_EQ(m_failures, 0) << m_conversion << ": " << m_failures << " of " << m_cases
                                 << " cases differ from the model";
        if (m_tolerated)
            std::printf("%s: %d of %d cases differ from the model only by the 18-digit form's "
                        "last unit or the parsed value's last bit\n",
                        m_conversion.c_str(), m_tolerated, m_cases);
    }

    // `model` gives the expected outcome for either 18-digit neighbour.
    void check(const std::string& situation, const std::string& actual,
               const std::function<std::string(model::Form)>& model) {
        ++m_cases;
        const std::string expected = model(model::Form::Nearest);
        if (actual == expected)
            return;
        if (actual == model(model::Form::OtherNeighbour)) {
            ++m_tolerated;
            return;
        }
        fail(situation, actual, expected);
    }

    void checkExact(const std::string& situation, const std::string& actual,
                    const std::string& expected) {
        ++m_cases;
        if (actual != expected)
            fail(situation, actual, expected);
    }

    void tolerate() { ++m_tolerated; }

    void fail(const std::string& situation, const std::string& actual,
              const std::string& expected) {
        if (++m_failures <= 30)
            ADD_FAILURE() << m_conversion << " " << situation
                          << "\n  conversion: " << inQuotes(actual)
                          << "\n  model:      " << inQuotes(expected);
    }

    void count() { ++m_cases; }

private:
    std::string m_conversion;
    int m_cases = 0;
    int m_failures = 0;
    int m_tolerated = 0;
};

struct SeparatorCase {
    const char* name;
    char decimal;
    char thousand;
};

const SeparatorCase separatorCases[] = {{"PointDecimalsCommaGroups", '.', ','},
                                        {"CommaDecimalsPointGroups", ',', '.'}};

class ConversionsAgainstModel : public ::testing::TestWithParam<SeparatorCase> {
protected:
    void SetUp() override {
        FormatSettings settings;
        settings.decimalSeparator = GetParam().decimal;
        settings.thousandSeparator = GetParam().thousand;
        m_scope = std::make_unique<ScopedFormatSettings>(settings);
    }
    model::Separators separators() const { return {GetParam().decimal, GetParam().thousand}; }
    // A different stream of cases for each separator setting.
    std::uint32_t seed(std::uint32_t base) const {
        return base + std::uint32_t(GetParam().decimal);
    }

private:
    std::unique_ptr<ScopedFormatSettings> m_scope;
};

INSTANTIATE_TEST_SUITE_P(Separators, ConversionsAgainstModel, ::testing::ValuesIn(separatorCases),
                         [](const auto& info) { return std::string(info.param.name); });

// PELLION_MODEL_CASES=100000 runs a deeper search with the same seeds.
const int casesPerConversion =
    std::getenv("PELLION_MODEL_CASES") ? std::atoi(std::getenv("PELLION_MODEL_CASES")) : 4000;

std::string digitsText(const DecimalDigits& d) {
    const char* special[] = {"", " infinite", " nan"};
    return std::string(d.digits()) + " e" + std::to_string(d.exponent) +
           (d.negative ? " negative" : "") + special[int(d.special)];
}

std::string digitsText(const model::Digits& d) {
    const char* special[] = {"", " infinite", " nan"};
    return d.digits + " e" + std::to_string(d.exponent) + (d.negative ? " negative" : "") +
           special[int(d.special)];
}

// The model is only a judge if it gets the documented examples right itself.
TEST(ReferenceModel, ReproducesTheDocumentedExamples) {
    const model::Separators point{'.', ','};
    const auto form = model::Form::Nearest;
    struct Example {
        const char* pattern;
        double value;
        const char* text;
    };
    const Example formatExamples[] = {
        {"#.00", 0.5, ".50"},
        {"#.00", 0, ".00"},
        {"#.00", -0.5, "-.50"},
        {"#.00", 1234.5, "1234.50"},
        {"#.00", 0.005, ".01"},
        {"0.00", 0.125, "0.13"},
        {"0.00", 3, "3.00"},
        {"0.00", -0.004, "0.00"},
        {"0.00", 2.675, "2.67"},
        {"0.00", 2.5e18, "2.5E18"},
        {"$,0.00000;-$,0.00000", 1234.5, "$1,234.50000"},
        {"$,0.00000;-$,0.00000", 1000000, "$1,000,000.00000"},
        {"$,0.00000;-$,0.00000", -2, "-$2.00000"},
        {"$,0.00000;-$,0.00000", 0, "$0.00000"},
        {"$,0.00000;-$,0.00000", -0.000001, "$0.00000"},
        {"0.#####", 12.345678, "12.34568"},
        {"0.#####", 2.5, "2.5"},
        {"0.#####", 3, "3"},
        {"0.#####", -1.5, "-1.5"},
        {"0.#####", 0.0000005, "0"},
    };
    for (const Example& example : formatExamples) {
        SCOPED_TRACE(std::string(example.pattern) + " " + describe(example.value));
        EXPECT_EQ(model::formatNumber(example.pattern, example.value, point, form), example.text);
    }

    struct GeneralExample {
        double value;
        int precision;
        const char* text;
    };
    const GeneralExample generalExamples[] = {
        {0.1 + 0.2, 15, "0.3"},
        {1.0 / 3, 15, "0.333333333333333"},
        {0.0001, 15, "0.0001"},
        {0.00009, 15, "9E-5"},
        {1e15, 15, "1E15"},
        {-2.5e-7, 15, "-2.5E-7"},
        {0, 15, "0"},
        {123456789.125, 15, "123456789.125"},
        {2.45, 2, "2.5"},
        {12.5, 2, "13"},
        {0.333, 2, "0.33"},
        {10.4, 2, "10"},
        {123, 2, "1.2E2"},
        {99.5, 2, "1E2"},
        {999999999999999, 15, "999999999999999"},
    };
    for (const GeneralExample& example : generalExamples) {
        SCOPED_TRACE(describe(example.value));
        EXPECT_EQ(model::numberToText(example.value, example.precision, point, form), example.text);
    }

    EXPECT_EQ(model::numberToFixedText(0.01, 15, 4, point, form), "0.0100");
    EXPECT_EQ(model::numberToFixedText(0.12345, 15, 4, point, form), "0.1235");
    EXPECT_EQ(model::numberToFixedText(-0.00001, 15, 4, point, form), "0.0000");
    EXPECT_EQ(model::numberToFixedText(100000000, 15, 4, point, form), "100000000.0000");
    EXPECT_EQ(model::numberToFixedText(1e15, 15, 4, point, form), "1E15");

    using Verdict = model::ParsedNumber::Verdict;
    EXPECT_EQ(model::textToNumber("1.5", {',', '.'}).verdict, Verdict::Refused);
    EXPECT_EQ(model::textToNumber("1,5", {',', '.'}).value, 1.5);
    EXPECT_EQ(model::textToNumber(" -.", point).verdict, Verdict::Accepted);
    EXPECT_EQ(model::textToNumber("-", point).verdict, Verdict::Refused);
    EXPECT_EQ(model::textToNumber("7E", point).value, 7);
    EXPECT_EQ(model::textToNumber("1e5000", point).verdict, Verdict::Refused);
    EXPECT_EQ(model::textToInteger(" 5"), 5);
    EXPECT_EQ(model::textToInteger("5 "), std::nullopt);
    EXPECT_EQ(model::textToInteger("5.0"), std::nullopt);
    EXPECT_EQ(model::textToInteger("$FFFFFFFF"), -1);
}

// Faults the random comparison found, each pinned by the case that showed it.
TEST(ConversionsAgainstModel, FoundFixedTextFaults) {
    const ScopedFormatSettings point(FormatSettings{});
    struct Case {
        const char* situation;
        double value;
        int precision;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {"negative decimals round to tens", 49.22, 15, -1, "50"},
        {"negative decimals round a tie to tens away from zero", -235, 15, -1, "-240"},
        {"negative decimals keep a round ten", 87880, 15, -1, "87880"},
        {"negative decimals round a single digit below five to zero", 1.487725, 15, -1, "0"},
        {"negative decimals carry into a new digit", 7.5, 15, -1, "10"},
        {"one significant digit", 0.306, 1, 3, "0.300"},
        {"one significant digit, integer part beyond it", 20.93, 1, 2, "21"},
        {"no significant digit asked keeps one", 0.306, 0, 3, "0.300"},
        {"precision beyond 18 lets a longer integer part through", 1.5e19, 20, 0,
         "15000000000000000000"},
        {"precision beyond 18 adds no digits", 12345678901234567168.0, 20, 1,
         "12345678901234567200.0"},
        {"precision 19 still falls back beyond it", 1.5e19, 19, 0, "1.5E19"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        EXPECT_EQ(NumberToFixedText(c.value, c.precision, c.decimals), c.text);
    }
}

TEST(ConversionsAgainstModel, FoundFormatFaults) {
    const ScopedFormatSettings point(FormatSettings{});
    struct Case {
        const char* situation;
        const char* pattern;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {"empty first section outranks the negative section", ";0", -1.5, "-1.5"},
        {"empty first section outranks the zero section", ";;'nil'", 0, "0"},
        {"empty first section, negative value rounding to zero", ";#", -0.0066313, "-0.0066313"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        EXPECT_EQ(FormatNumber(c.pattern, c.value), c.text);
    }
}

TEST(DecimalDigitsAgainstModel, RandomValuesPrecisionsAndDecimals) {
    Cases cases(20261210);
    Tally tally("toDecimalDigits");
    for (int i = 0; i < casesPerConversion; ++i) {
        const double v = cases.value();
        const int precision = cases.between(1, 18);
        const int decimals = cases.chance(20) ? model::unlimited : cases.between(-1, 20);
        tally.check("(" + describe(v) + ", " + std::to_string(precision) + ", " +
                        std::to_string(decimals) + ")",
                    digitsText(toDecimalDigits(v, precision, decimals)), [&](model::Form form) {
                        return digitsText(model::decimalDigits(v, precision, decimals, form));
                    });
    }
}

TEST_P(ConversionsAgainstModel, NumberToText) {
    Cases cases(seed(1));
    Tally tally("NumberToText");
    for (int i = 0; i < casesPerConversion; ++i) {
        const double v = cases.value();
        const int precision = cases.chance(30) ? 15 : cases.between(0, 20);
        tally.check("(" + describe(v) + ", " + std::to_string(precision) + ")",
                    NumberToText(v, precision), [&](model::Form form) {
                        return model::numberToText(v, precision, separators(), form);
                    });
    }
}

TEST_P(ConversionsAgainstModel, NumberToFixedText) {
    Cases cases(seed(2));
    Tally tally("NumberToFixedText");
    for (int i = 0; i < casesPerConversion; ++i) {
        const double v = cases.value();
        const int precision = cases.chance(50) ? 15 : cases.between(0, 20);
        const int decimals = cases.between(-1, 20);
        tally.check("(" + describe(v) + ", " + std::to_string(precision) + ", " +
                        std::to_string(decimals) + ")",
                    NumberToFixedText(v, precision, decimals), [&](model::Form form) {
                        return model::numberToFixedText(v, precision, decimals, separators(), form);
                    });
    }
}

TEST_P(ConversionsAgainstModel, FormatNumber) {
    Cases cases(seed(3));
    Tally tally("FormatNumber");
    for (int i = 0; i < casesPerConversion; ++i) {
        const std::string pattern = cases.pattern();
        const double v = cases.value();
        tally.check("(" + inQuotes(pattern) + ", " + describe(v) + ")",
                    outcome([&] { return FormatNumber(pattern, v); }), [&](model::Form form) {
                        return outcome(
                            [&] { return model::formatNumber(pattern, v, separators(), form); });
                    });
    }
}

TEST_P(ConversionsAgainstModel, TryTextToNumber) {
    Cases cases(seed(4));
    Tally tally("TryTextToNumber");
    for (int i = 0; i < casesPerConversion; ++i) {
        const std::string text = cases.numberText(GetParam().decimal, GetParam().thousand);
        const model::ParsedNumber expected = model::textToNumber(text, separators());
        double value = 12345;
        const bool accepted = TryTextToNumber(text, value);
        const std::string situation = inQuotes(text);
        using Verdict = model::ParsedNumber::Verdict;
        const auto verdictText = [](bool accept, double v) {
            return accept ? "accepted " + describe(v) : std::string("refused");
        };
        if (expected.verdict == Verdict::AcceptedOrRefused) {
            tally.count();
            if (accepted && value != expected.value)
                tally.fail(situation, verdictText(accepted, value), "refused or infinity");
            continue;
        }
        const bool shouldAccept = expected.verdict == Verdict::Accepted;
        if (!accepted || !shouldAccept || value == expected.value) {
            tally.checkExact(situation, verdictText(accepted, value),
                             verdictText(shouldAccept, expected.value));
            if (accepted && shouldAccept && std::signbit(value) != std::signbit(expected.value))
                tally.fail(situation + " (sign of zero)", describe(value),
                           describe(expected.value));
        } else if (value == std::nextafter(expected.value, 0.0) ||
                   value == std::nextafter(expected.value, 2 * expected.value)) {
            tally.count();
            tally.tolerate();
        } else {
            tally.checkExact(situation, verdictText(accepted, value),
                             verdictText(shouldAccept, expected.value));
        }
        if (!accepted)
            tally.checkExact(situation + " TextToNumber",
                             outcome([&] { return describe(TextToNumber(text)); }),
                             "error: '" + text + "' is not a valid floating point value");
    }
}

TEST_P(ConversionsAgainstModel, TextToInteger) {
    Cases cases(seed(5));
    Tally tally("TextToInteger");
    for (int i = 0; i < casesPerConversion; ++i) {
        const std::string text = cases.integerText();
        const std::optional<std::int32_t> expected = model::textToInteger(text);
        tally.checkExact(inQuotes(text),
                         outcome([&] { return std::to_string(TextToInteger(text)); }),
                         expected ? std::to_string(*expected)
                                  : "error: '" + text + "' is not a valid integer value");
    }
}

TEST_P(ConversionsAgainstModel, IntegerToText) {
    Cases cases(seed(6));
    Tally tally("IntegerToText");
    for (int i = 0; i < casesPerConversion; ++i) {
        const std::int64_t value = cases.integer();
        tally.checkExact(std::to_string(value), IntegerToText(value), model::integerToText(value));
    }
}

} // namespace
