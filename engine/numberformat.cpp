#include "engine/numberformat.h"

#include "base/error.h"
#include "engine/decimaldigits.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>

namespace pellion {

FormatSettings& formatSettings() {
    static FormatSettings settings;
    return settings;
}

ScopedFormatSettings::ScopedFormatSettings(const FormatSettings& temporary)
    : m_saved(formatSettings()) {
    formatSettings() = temporary;
}

ScopedFormatSettings::~ScopedFormatSettings() {
    formatSettings() = m_saved;
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isQuote(char c) {
    return c == '\'' || c == '"';
}
bool isPlaceholder(char c) {
    return c == '0' || c == '#';
}

// Text between a pair of quotes, copied without them; an unclosed quote runs to
// the end.
struct QuotedRun {
    std::string_view content;
    std::size_t next; // index just past the run
};

QuotedRun quotedRun(std::string_view text, std::size_t open) {
    const std::size_t close = text.find(text[open], open + 1);
    if (close == std::string_view::npos)
        return {text.substr(open + 1), text.size()};
    return {text.substr(open + 1, close - open - 1), close + 1};
}

enum SectionIndex { PositiveSection, NegativeSection, ZeroSection };

// The pattern's sections; a fourth ';' ends the third section.
std::array<std::string_view, 3> splitSections(std::string_view pattern) {
    std::array<std::string_view, 3> sections;
    std::size_t start = 0;
    int index = 0;
    for (std::size_t i = 0; i < pattern.size() && index < 3;) {
        if (isQuote(pattern[i])) {
            i = quotedRun(pattern, i).next;
        } else if (pattern[i] == ';') {
            sections[index++] = pattern.substr(start, i - start);
            start = ++i;
        } else {
            ++i;
        }
    }
    if (index < 3)
        sections[index] = pattern.substr(start);
    return sections;
}

struct Section {
    std::string_view text;
    SectionIndex index = PositiveSection;
};

// An empty or missing section falls back on the first.
Section chooseSection(const std::array<std::string_view, 3>& sections, SectionIndex wanted) {
    if (wanted != PositiveSection && !sections[wanted].empty())
        return {sections[wanted], wanted};
    return {sections[PositiveSection], PositiveSection};
}

SectionIndex sectionFor(double value) {
    if (value == 0)
        return ZeroSection;
    return value < 0 ? NegativeSection : PositiveSection;
}

struct SectionLayout {
    int count = 0;  // placeholders
    int point = -1; // placeholders before the first '.'
    int firstZero = -1;
    int lastZero = 0; // just after the last '0'
    bool grouping = false;
};

SectionLayout scanSection(std::string_view section) {
    SectionLayout layout;
    for (std::size_t i = 0; i < section.size();) {
        const char c = section[i];
        if (isQuote(c)) {
            i = quotedRun(section, i).next;
            continue;
        }
        if (c == '0') {
            if (layout.firstZero < 0)
                layout.firstZero = layout.count;
            layout.lastZero = layout.count + 1;
        }
        if (isPlaceholder(c))
            ++layout.count;
        else if (c == '.' && layout.point < 0)
            layout.point = layout.count;
        else if (c == ',')
            layout.grouping = true;
        ++i;
    }
    if (layout.point < 0)
        layout.point = layout.count;
    if (layout.firstZero < 0)
        layout.firstZero = layout.count; // no '0': no integer digit is required
    return layout;
}

// Writes the digits of a number into a section, keeping track of the decimal
// position `pos` of the next digit (1 = units, 0 = first decimal).
class DigitPlacer {
public:
    DigitPlacer(std::string& out, const DecimalDigits& number, int pos, bool grouping)
        : m_out(out), m_digits(number.digits()), m_pos(pos), m_grouping(grouping),
          m_decimalSeparator(formatSettings().decimalSeparator),
          m_thousandSeparator(formatSettings().thousandSeparator) {}

    int pos() const { return m_pos; }
    bool digitsLeft() const { return m_next < m_digits.size(); }
    void skipPosition() { --m_pos; }
    void placeNextDigit() { place(digitsLeft() ? m_digits[m_next++] : '0'); }

    void place(char digit) {
        if (m_pos == 0) {
            m_out += m_decimalSeparator;
            m_out += digit;
        } else {
            m_out += digit;
            if (m_grouping && m_pos > 1 && m_pos % 3 == 1)
                m_out += m_thousandSeparator;
        }
        --m_pos;
    }

private:
    std::string& m_out;
    std::string_view m_digits;
    std::size_t m_next = 0;
    int m_pos;
    bool m_grouping;
    char m_decimalSeparator;
    char m_thousandSeparator;
};

void writeSection(std::string& out, const Section& section, const SectionLayout& layout,
                  const DecimalDigits& number) {
    const int requiredInt = std::max(layout.point - layout.firstZero, 0);
    const int requiredDec = std::max(layout.lastZero - layout.point, 0);
    int delta = number.exponent - layout.point;
    DigitPlacer placer(out, number, std::max(number.exponent, layout.point), layout.grouping);

    if (section.index == PositiveSection && number.negative)
        out += '-';
    const std::string_view text = section.text;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (isQuote(c)) {
            const QuotedRun run = quotedRun(text, i);
            out.append(run.content);
            i = run.next;
            continue;
        }
        if (isPlaceholder(c)) {
            if (delta > 0) {
                // The first placeholder takes every integer digit the pattern lacks room for.
                for (int k = 0; k <= delta; ++k)
                    placer.placeNextDigit();
                delta = 0;
            } else if (delta < 0) {
                ++delta;
                if (placer.pos() <= requiredInt)
                    placer.place('0');
                else
                    placer.skipPosition();
            } else if (placer.digitsLeft()) {
                placer.placeNextDigit();
            } else if (placer.pos() > -requiredDec) {
                placer.place('0');
            } else {
                placer.skipPosition();
            }
        } else if (c != '.' && c != ',') {
            out += c;
        }
        ++i;
    }
}

// Digits of a number that has `exponent` > 0: the first `exponent` digits, padded with '0'.
void appendIntegerDigits(std::string& out, std::string_view digits, int exponent) {
    const std::size_t integerCount = std::min<std::size_t>(digits.size(), std::size_t(exponent));
    out.append(digits.substr(0, integerCount));
    out.append(std::size_t(exponent) - integerCount, '0');
}

std::string specialText(const DecimalDigits& number) {
    if (number.special == DecimalDigits::Special::NotANumber)
        return "NAN";
    return number.negative ? "-INF" : "INF";
}

} // namespace

std::string FormatNumber(std::string_view pattern, double value) {
    if (pattern.size() > maxFormatPatternLength)
        throw Error("Format string too long");

    const auto sections = splitSections(pattern);
    // Without a first section there is no fall-back to format with, whichever
    // section the value would pick.
    if (sections[PositiveSection].empty())
        return NumberToText(value, 15);
    Section section = chooseSection(sections, sectionFor(value));

    SectionLayout layout = scanSection(section.text);
    const DecimalDigits number =
        toDecimalDigits(value, DecimalDigits::maxDigits, layout.count - layout.point);
    if (number.special != DecimalDigits::Special::None ||
        number.exponent > DecimalDigits::maxDigits)
        return NumberToText(value, 15);

    if (number.isZero()) {
        const Section zeroSection = chooseSection(sections, ZeroSection);
        if (zeroSection.index != section.index) {
            section = zeroSection;
            layout = scanSection(section.text);
        }
    }

    std::string out;
    writeSection(out, section, layout, number);
    return out;
}

std::string NumberToText(double value, int precision) {
    precision = std::clamp(precision, 2, DecimalDigits::maxDigits);
    const DecimalDigits number = toDecimalDigits(value, precision);
    if (number.special != DecimalDigits::Special::None)
        return specialText(number);
    if (number.isZero())
        return "0";

    const char separator = formatSettings().decimalSeparator;
    const std::string_view digits = number.digits();
    const int e = number.exponent;
    std::string out;
    if (number.negative)
        out += '-';
    if (e > precision || e < -3) {
        out += digits[0];
        if (digits.size() > 1) {
            out += separator;
            out.append(digits.substr(1));
        }
        out += 'E';
        char exponent[8];
        out.append(exponent, std::to_chars(exponent, exponent + sizeof exponent, e - 1).ptr);
    } else if (e <= 0) {
        out += '0';
        out += separator;
        out.append(std::size_t(-e), '0');
        out.append(digits);
    } else {
        appendIntegerDigits(out, digits, e);
        if (digits.size() > std::size_t(e)) {
            out += separator;
            out.append(digits.substr(std::size_t(e)));
        }
    }
    return out;
}

std::string NumberToFixedText(double value, int precision, int decimals) {
    // The digits stop at 18 whatever the precision, but a larger precision still
    // lets a longer integer part through before the general format takes over.
    precision = std::max(precision, 1);
    // Negative decimals round to tens, hundreds...; beyond 18 they are not honoured.
    decimals = std::min(decimals, DecimalDigits::maxDigits);
    const DecimalDigits number = toDecimalDigits(value, precision, decimals);
    if (number.special != DecimalDigits::Special::None || number.exponent > precision)
        return NumberToText(value, precision);

    const std::string_view digits = number.digits();
    const int e = number.exponent;
    std::string out;
    if (number.negative)
        out += '-';
    if (e > 0)
        appendIntegerDigits(out, digits, e);
    else
        out += '0';
    if (decimals > 0) {
        out += formatSettings().decimalSeparator;
        const std::size_t start = out.size();
        if (e < 0)
            out.append(std::size_t(-e), '0');
        if (digits.size() > std::size_t(std::max(e, 0)))
            out.append(digits.substr(std::size_t(std::max(e, 0))));
        out.append(std::size_t(decimals) - (out.size() - start), '0');
    }
    return out;
}

namespace {

// Reads the text's number into significant digits and a power of ten; the
// grammar is checked here, the binary rounding is left to std::from_chars.
class NumberScanner {
public:
    explicit NumberScanner(std::string_view text) : m_text(text) {}

    bool scan() {
        skipSpaces();
        if (m_i < m_text.size() && (m_text[m_i] == '+' || m_text[m_i] == '-'))
            m_negative = m_text[m_i++] == '-';
        const std::size_t mantissaStart = m_i;
        while (m_i < m_text.size() && isDigit(m_text[m_i]))
            addDigit(m_text[m_i++], false);
        if (m_i < m_text.size() && m_text[m_i] == formatSettings().decimalSeparator) {
            ++m_i;
            while (m_i < m_text.size() && isDigit(m_text[m_i]))
                addDigit(m_text[m_i++], true);
        }
        if (m_i == mantissaStart)
            return false;
        if (m_i < m_text.size() && (m_text[m_i] == 'E' || m_text[m_i] == 'e'))
            scanExponent();
        skipSpaces();
        return m_i == m_text.size();
    }

    bool convert(double& value) {
        if (m_sticky)
            m_digits[m_count++] = '1', --m_scale;
        if (m_count == 0) {
            value = m_negative ? -0.0 : 0.0;
            return true;
        }
        // The magnitude is 0.ddd x 10^scientific: decide the far ranges here so that
        // the text handed to from_chars stays short.
        const long long scientific = m_scale + m_count;
        if (scientific > maxScientificExponent)
            return false;
        if (scientific < minScientificExponent) {
            value = m_negative ? -0.0 : 0.0;
            return true;
        }
        char* end = m_digits + m_count;
        *end++ = 'e';
        end = std::to_chars(end, m_digits + sizeof m_digits, m_scale).ptr;
        double magnitude = 0;
        const auto result = std::from_chars(m_digits, end, magnitude);
        if (result.ec == std::errc::result_out_of_range) {
            if (scientific > 0 && !showsLargestDouble())
                return false;
            // Below the smallest subnormal the value is 0; above the largest
            // double it can only be that double's shown form.
            magnitude = scientific > 0 ? std::numeric_limits<double>::max() : 0;
        }
        value = m_negative ? -magnitude : magnitude;
        return true;
    }

private:
    // Halfway points between doubles have fewer than 770 significant digits, so
    // digits past this many matter only as "something nonzero follows", which a
    // single '1' after them keeps.
    static constexpr int maxSignificantDigits = 780;
    static constexpr long long maxScientificExponent = 310;
    static constexpr long long minScientificExponent = -330;
    static constexpr int maxExponentDigitsValue = 500;

    // Every display rounds the largest double half away from zero, which
    // gives a text just above it ("1.79769313486232E308" with 15 digits). A
    // text up to that rounding at its own number of digits (at least 2, as no
    // display shows fewer) stands for the largest double, so whatever the
    // program shows of a finite number reads back.
    bool showsLargestDouble() const {
        int count = m_count;
        while (count > 0 && m_digits[count - 1] == '0')
            --count;
        if (m_sticky || count > DecimalDigits::maxDigits)
            return false;
        const DecimalDigits shown =
            toDecimalDigits(std::numeric_limits<double>::max(), std::max(count, 2));
        // Digit strings without trailing zeros and with the same exponent
        // compare as their values do.
        return m_scale + m_count == shown.exponent &&
               std::string_view(m_digits, std::size_t(count)) <= shown.digits();
    }

    void skipSpaces() {
        while (m_i < m_text.size() && m_text[m_i] == ' ')
            ++m_i;
    }

    void addDigit(char digit, bool afterPoint) {
        if (m_count == 0 && digit == '0') {
            if (afterPoint)
                --m_scale;
            return;
        }
        if (m_count < maxSignificantDigits) {
            m_digits[m_count++] = digit;
            if (afterPoint)
                --m_scale;
            return;
        }
        if (digit != '0')
            m_sticky = true;
        if (!afterPoint)
            ++m_scale;
    }

    void scanExponent() {
        ++m_i;
        bool negative = false;
        if (m_i < m_text.size() && (m_text[m_i] == '+' || m_text[m_i] == '-'))
            negative = m_text[m_i++] == '-';
        long long exponent = 0;
        while (m_i < m_text.size() && isDigit(m_text[m_i]) && exponent < maxExponentDigitsValue)
            exponent = exponent * 10 + (m_text[m_i++] - '0');
        m_scale += negative ? -exponent : exponent;
    }

    std::string_view m_text;
    std::size_t m_i = 0;
    bool m_negative = false;
    char m_digits[maxSignificantDigits + 32];
    int m_count = 0;
    long long m_scale = 0; // value = digits x 10^m_scale
    bool m_sticky = false;
};

} // namespace

bool TryTextToNumber(std::string_view text, double& value) {
    NumberScanner scanner(text);
    return scanner.scan() && scanner.convert(value);
}

double TextToNumber(std::string_view text) {
    double value = 0;
    if (!TryTextToNumber(text, value))
        throw Error("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

namespace {

int hexDigitValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One to eight hex digits and nothing after them, as a 32-bit pattern.
bool readHex(std::string_view digits, std::int32_t& value) {
    if (digits.empty() || digits.size() > 8)
        return false;
    std::uint32_t pattern = 0;
    for (char c : digits) {
        const int digit = hexDigitValue(c);
        if (digit < 0)
            return false;
        pattern = pattern * 16 + std::uint32_t(digit);
    }
    value = static_cast<std::int32_t>(pattern);
    return true;
}

bool readDecimal(std::string_view text, std::int32_t& value) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    constexpr long long limit = 2147483648LL;
    long long magnitude = 0;
    for (char c : text) {
        if (!isDigit(c))
            return false;
        magnitude = std::min(magnitude * 10 + (c - '0'), limit + 1);
    }
    if (magnitude > (negative ? limit : limit - 1))
        return false;
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

bool readInteger(std::string_view text, std::int32_t& value) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return false;
    text.remove_prefix(start);
    if (text[0] == '$' || text[0] == 'x' || text[0] == 'X')
        return readHex(text.substr(1), value);
    if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return readHex(text.substr(2), value);
    return readDecimal(text, value);
}

} // namespace

std::int32_t TextToInteger(std::string_view text) {
    std::int32_t value = 0;
    if (!readInteger(text, value))
        throw Error("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

std::string IntegerToText(std::int64_t value) {
    char text[24];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

} // namespace pellion
