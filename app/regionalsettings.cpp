#include "app/regionalsettings.h"

#include <QCollator>
#include <QLocale>

#include <memory>

namespace pellion {

namespace {

char asciiOr(const QString& text, char fallback) {
    if (text.isEmpty() || text.front().unicode() >= 0x80 || text.front().unicode() < 0x20)
        return fallback;
    return char(text.front().unicode());
}

} // namespace

FormatSettings regionalFormatSettings(const QLocale& locale) {
    FormatSettings settings;
    settings.decimalSeparator = asciiOr(locale.decimalPoint(), '.');
    settings.thousandSeparator = asciiOr(locale.groupSeparator(), ' ');
    if (settings.thousandSeparator == settings.decimalSeparator)
        settings.thousandSeparator = settings.decimalSeparator == ',' ? '.' : ',';
    if (const QString symbol = locale.currencySymbol(); !symbol.isEmpty())
        settings.currencySymbol = symbol.toStdString(); // the C locale has none: keep "$"
    settings.shortDateFormat = locale.dateFormat(QLocale::ShortFormat).toStdString();
    settings.longTimeFormat = locale.timeFormat(QLocale::LongFormat).toStdString();
    return settings;
}

TextComparison regionalTextComparison(const QLocale& locale) {
    auto collator = std::make_shared<QCollator>(locale);
    collator->setCaseSensitivity(Qt::CaseSensitive);
    // The C and POSIX locales, the default of many servers and containers,
    // collate in plain byte order, every capital before every small letter:
    // the list is then ordered as in English instead.
    if (locale.language() == QLocale::C ||
        collator->compare(QStringLiteral("a"), QStringLiteral("B")) > 0) {
        collator = std::make_shared<QCollator>(QLocale(QLocale::English, QLocale::UnitedStates));
        collator->setCaseSensitivity(Qt::CaseSensitive);
    }
    return [collator](std::string_view a, std::string_view b) {
        return collator->compare(QString::fromUtf8(a.data(), qsizetype(a.size())),
                                 QString::fromUtf8(b.data(), qsizetype(b.size())));
    };
}

} // namespace pellion
