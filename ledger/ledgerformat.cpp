#include "ledger/ledgerformat.h"

#include <array>
#include <cstddef>

namespace pellion {

namespace {

constexpr std::array<std::string_view, 5> kKindNames = {"Data", "Calculated", "Lookup",
                                                        "InternalCalc", "Aggregate"};

// 0x80..0x9F of Windows-1252; the five unassigned bytes map to the C1 controls
// of the same value, as Windows itself converts them.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char16_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

FormatSettings ledgerFormat() {
    FormatSettings settings = formatSettings();
    settings.decimalSeparator = '.';
    settings.thousandSeparator = ',';
    settings.currencySymbol.clear();
    settings.shortDateFormat = "dd/MM/yyyy";
    return settings;
}

std::string_view kindName(FieldKind kind) {
    return kKindNames[static_cast<std::size_t>(kind)];
}

FieldKind kindNamed(std::string_view name) {
    for (std::size_t i = 0; i < kKindNames.size(); ++i)
        if (kKindNames[i] == name)
            return static_cast<FieldKind>(i);
    return FieldKind::Data;
}

std::string_view typeName(FieldType type) {
    return type == FieldType::Text ? "String" : "Float";
}

std::optional<FieldType> typeNamed(std::string_view name) {
    if (name == "Float")
        return FieldType::Number;
    if (name == "String")
        return FieldType::Text;
    return std::nullopt;
}

void appendQuoted(std::string& out, std::string_view text) {
    out += kQuote;
    for (std::size_t quote; (quote = text.find(kQuote)) != std::string_view::npos;) {
        out.append(text.substr(0, quote + 1));
        out += kQuote;
        text.remove_prefix(quote + 1);
    }
    out.append(text);
    out += kQuote;
}

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '%':
            out += "%%";
            break;
        case '\r':
            out += "%c";
            break;
        case '\n':
            out += "%n";
            break;
        case '\0':
            out += "%0";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[i + 1]) {
        case '%':
            out += '%';
            break;
        case 'c':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case '0':
            out += '\0';
            break;
        default:
            out += text.substr(i, 2);
        }
        ++i;
    }
    return out;
}

bool isValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length;
        unsigned min;
        unsigned code;
        if ((c & 0xE0) == 0xC0) {
            length = 2, min = 0x80, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, min = 0x800, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, min = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        char16_t code = byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
        appendUtf8(out, code);
    }
    return out;
}

} // namespace pellion
