// The paper a stored page was printed on, recognised from its size alone.

#include "reportlayout/reportlayout.h"

#include <gtest/gtest.h>

#include <string>

namespace pellion {
namespace {

// "1P 2L" for Letter portrait, then LetterSmall landscape.
std::string matchesOf(double widthTenths, double lengthTenths) {
    std::string text;
    for (const PaperMatch& match : papersOfPageSize(widthTenths, lengthTenths)) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(match.code);
        text += match.orientation == Orientation::Landscape ? 'L' : 'P';
    }
    return text;
}

TEST(PapersOfPageSize, MatchSizesInFourMillimetreStepsInTableOrder) {
    struct Case {
        const char* situation;
        double width;
        double length;
        const char* matches;
    };
    const Case cases[] = {
        {"Letter: also LetterSmall and Note", 2159, 2794, "1P 2P 18P"},
        {"Letter turned", 2794, 2159, "1L 2L 18L"},
        {"A4: also A4Small", 2100, 2970, "9P 10P"},
        {"Tabloid is Ledger turned", 2794, 4318, "3P 4L 17P"},
        {"square sheets match both ways", 1000, 1000, "24P 24L 25P 25L 26P 26L"},
        {"a Letter page 3 mm wider is in the next step", 2190, 2794, ""},
        {"no paper of that size", 1000, 2000, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        EXPECT_EQ(matchesOf(c.width, c.length), c.matches);
    }
}

} // namespace
} // namespace pellion
