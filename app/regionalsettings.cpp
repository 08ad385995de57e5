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
    return [collator](std::string_view a, std::string_view b) {
        return collator->compare(QString::fromUtf8(a.data(), qsizetype(a.size())),
                                 QString::fromUtf8(b.data(), qsizetype(b.size())));
    };
}

} // namespace pellion
