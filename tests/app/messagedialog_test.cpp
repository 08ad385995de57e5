#include "app/messagedialog.h"
#include "app/regionalsettings.h"

#include "tests/dialoganswerer.h"
#include "tests/qtapplication.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

using namespace pellion;

TEST(MessageDialog, CaptionsDefaultAndEscapeButtonsFollowTheKindAndTheButtons) {
    testApplication();
    struct Case {
        const char* situation;
        DialogKind kind;
        int buttons;
        const char* caption;
        QStringList texts;
        const char* defaultButton;
        DialogButton escapeAnswer;
    };
    const Case cases[] = {
        {"exit question",
         DialogKind::Warning,
         DialogYes | DialogNo,
         "Warning",
         {"&Yes", "&No"},
         "&Yes",
         DialogNo},
        {"grid delete",
         DialogKind::Confirmation,
         DialogOk | DialogCancel,
         "Confirm",
         {"OK", "Cancel"},
         "OK",
         DialogCancel},
        {"recalculation error", DialogKind::Error, DialogOk, "Error", {"OK"}, "OK", DialogOk},
        {"information", DialogKind::Information, DialogOk, "Information", {"OK"}, "OK", DialogOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        DialogAnswerer answerer({"<Escape>"});
        EXPECT_EQ(messageDialog(nullptr, c.kind, QStringLiteral("text"), c.buttons),
                  c.escapeAnswer);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_EQ(answerer.seen()[0].caption, c.caption);
        EXPECT_EQ(answerer.seen()[0].buttons, c.texts);
        EXPECT_EQ(answerer.seen()[0].defaultButton, c.defaultButton);
    }
}

TEST(MessageDialog, ReturnsTheButtonClicked) {
    testApplication();
    DialogAnswerer answerer({"&Yes", "&No"});
    EXPECT_EQ(messageDialog(nullptr, DialogKind::Confirmation, "Delete?", DialogYes | DialogNo),
              DialogYes);
    EXPECT_EQ(messageDialog(nullptr, DialogKind::Confirmation, "Delete?", DialogYes | DialogNo),
              DialogNo);
}

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
