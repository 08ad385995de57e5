// Arbitrary bytes through every number conversion. Layout of an input: one
// byte choosing the separators, eight bytes of a double, one byte of precision
// and decimals, then the text (parsed, and used as a FormatNumber pattern).

#include "base/error.h"
#include "engine/numberformat.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t headerSize = 10;

pellion::FormatSettings separatorsFrom(std::uint8_t choice) {
    pellion::FormatSettings settings;
    if (choice & 0x80) { // any byte, even a digit or 'E', must not break the parsers
        settings.decimalSeparator = char(choice & 0x7f);
        settings.thousandSeparator = '\'';
    } else if (choice & 1) {
        settings.decimalSeparator = ',';
        settings.thousandSeparator = '.';
    }
    return settings;
}

bool separatorIsOrdinary() {
    return std::strchr(".,", pellion::formatSettings().decimalSeparator);
}

// A parsed finite value printed with 17 digits must parse back to the same bits.
void checkRoundTrip(double value) {
    if (!std::isfinite(value) || !separatorIsOrdinary())
        return;
    double back = 0;
    const std::string text = pellion::NumberToText(value, 17);
    if (!pellion::TryTextToNumber(text, back) ||
        std::bit_cast<std::uint64_t>(back) != std::bit_cast<std::uint64_t>(value + 0.0))
        std::abort();
}

// What the ledger (15 digits), the settings ("0.00") and the price fields
// (four decimals) write of a finite value must read back, to a value written
// the same way again: the largest double's rounded text included.
void checkWrittenTextReadsBack(double value) {
    if (!std::isfinite(value) || !separatorIsOrdinary())
        return;
    using Writer = std::string (*)(double);
    const Writer writers[] = {
        [](double v) { return pellion::NumberToText(v, 15); },
        [](double v) { return pellion::FormatNumber("0.00", v); },
        [](double v) { return pellion::NumberToFixedText(v, 15, 4); },
    };
    for (Writer write : writers) {
        const std::string text = write(value);
        double back = 0;
        if (!pellion::TryTextToNumber(text, back) || write(back) != text)
            std::abort();
    }
}

template <typename Call> void ignoringErrors(Call call) {
    try {
        call();
    } catch (const pellion::Error&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < headerSize)
        return 0;
    const pellion::ScopedFormatSettings scope(separatorsFrom(data[0]));
    double number = 0;
    std::memcpy(&number, data + 1, sizeof number);
    const int precision = data[9] % 24 - 2;
    const int decimals = data[9] / 12 - 2;
    const std::string_view text(reinterpret_cast<const char*>(data + headerSize),
                                size - headerSize);

    double parsed = 0;
    if (pellion::TryTextToNumber(text, parsed)) {
        checkRoundTrip(parsed);
        checkWrittenTextReadsBack(parsed);
    }
    ignoringErrors([&] { pellion::TextToNumber(text); });
    ignoringErrors([&] { pellion::TextToInteger(text); });
    ignoringErrors([&] { pellion::FormatNumber(text, number); });
    ignoringErrors([&] { pellion::FormatNumber(text, parsed); });
    checkRoundTrip(number);
    checkWrittenTextReadsBack(number);
    pellion::NumberToText(number, precision);
    pellion::NumberToFixedText(number, precision, decimals);
    pellion::IntegerToText(std::int64_t(data[1]) << 56 | std::int64_t(data[9]));
    return 0;
}
