#include "app/regionalsettings.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

using namespace pellion;

TEST(RegionalSettings, SeparatorsCurrencyAndPatternsComeFromTheLocale) {
    struct Case {
        const char* locale;
        char decimal;
        char thousands;
    };
    const Case cases[] = {{"en_US", '.', ','}, {"de_DE", ',', '.'}, {"fr_FR", ',', ' '}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        const FormatSettings settings =
            regionalFormatSettings(QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(settings.decimalSeparator, c.decimal);
        EXPECT_EQ(settings.thousandSeparator, c.thousands); // French groups with a no-break space
        EXPECT_FALSE(settings.shortDateFormat.empty());
        EXPECT_FALSE(settings.longTimeFormat.empty());
    }
    EXPECT_EQ(regionalFormatSettings(QLocale("en_US")).currencySymbol, "$");
    EXPECT_EQ(regionalFormatSettings(QLocale("de_DE")).currencySymbol, "\u20ac");
    EXPECT_EQ(regionalFormatSettings(QLocale::c()).currencySymbol, "$");
}

TEST(RegionalSettings, TextComparisonPutsCaseLastInEnglish) {
    const TextComparison compare = regionalTextComparison(QLocale("en_US"));
    EXPECT_LT(compare("apple", "Apple"), 0);
    EXPECT_LT(compare("Apple", "banana"), 0);
    EXPECT_GT(compare("banana", "apple"), 0);
    EXPECT_EQ(compare("Kettle", "Kettle"), 0);
}

// Servers and containers often run under the C or POSIX locale, whose plain
// byte order would put every capital before every small letter.
TEST(RegionalSettings, TextComparisonUnderTheCLocaleStillPutsCaseLast) {
    for (const QLocale& locale :
         {QLocale::c(), QLocale(QStringLiteral("C")), QLocale(QStringLiteral("POSIX"))}) {
        SCOPED_TRACE(locale.name().toStdString());
        const TextComparison compare = regionalTextComparison(locale);
        EXPECT_LT(compare("apple", "Apple"), 0);
        EXPECT_LT(compare("Apple", "banana"), 0);
        EXPECT_LT(compare("Apple", "apples"), 0);
        EXPECT_GT(compare("Zebra", "apple"), 0);
        EXPECT_EQ(compare("Kettle", "Kettle"), 0);
    }
}

} // namespace
