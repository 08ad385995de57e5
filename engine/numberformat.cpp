// Provisional conversions so that the rest of the program can build; the exact
// implementation replaces this file.
#include "engine/numberformat.h"

#include "engine/error.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace pellion {

FormatSettings& formatSettings()
{
    static FormatSettings settings;
    return settings;
}

ScopedFormatSettings::ScopedFormatSettings(const FormatSettings& temporary)
    : m_saved(formatSettings())
{
    formatSettings() = temporary;
}

ScopedFormatSettings::~ScopedFormatSettings() { formatSettings() = m_saved; }

static std::string localized(std::string s)
{
    for (char& c : s)
        if (c == '.')
            c = formatSettings().decimalSeparator;
    return s;
}

std::string FormatNumber(std::string_view pattern, double value)
{
    if (pattern.size() > 224)
        throw Error("Format string too long");
    auto point = pattern.find('.');
    int decimals = point == std::string_view::npos ? 0 : int(pattern.size() - point - 1);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return localized(buf);
}

std::string NumberToText(double value, int precision)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", precision, value);
    return localized(buf);
}

std::string NumberToFixedText(double value, int, int decimals)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return localized(buf);
}

bool TryTextToNumber(std::string_view text, double& value)
{
    std::string s(text);
    for (char& c : s)
        if (c == formatSettings().decimalSeparator)
            c = '.';
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (s.empty() || *end != '\0')
        return false;
    value = v;
    return true;
}

double TextToNumber(std::string_view text)
{
    double v = 0;
    if (!TryTextToNumber(text, v))
        throw Error("'" + std::string(text) + "' is not a valid floating point value");
    return v;
}

std::int32_t TextToInteger(std::string_view text)
{
    std::int32_t v = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || p != text.data() + text.size())
        throw Error("'" + std::string(text) + "' is not a valid integer value");
    return v;
}

std::string IntegerToText(std::int64_t value) { return std::to_string(value); }

} // namespace pellion
