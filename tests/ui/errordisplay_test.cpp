#include "ui/errordisplay.h"

#include <gtest/gtest.h>

namespace {

struct FullStopCase {
    const char* message;
    const char* shown;
};

TEST(ErrorDisplayText, AppendsFullStopOnlyAfterCharactersBeyondThePoint) {
    const FullStopCase cases[] = {
        {"Stream write error", "Stream write error."},
        {"'x' is not a valid floating point value", "'x' is not a valid floating point value."},
        {"Are you sure?", "Are you sure?."},
        {"Disk 3", "Disk 3."},
        {"Dataset is not in edit mode.", "Dataset is not in edit mode."},
        {"Stop!", "Stop!"},
        {"Invalid locale (1024)", "Invalid locale (1024)"},
        {"Invalid locale. ", "Invalid locale. "},
        {"Ends in a dash -", "Ends in a dash -"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(pellion::errorDisplayText(QString::fromUtf8(c.message)),
                  QString::fromUtf8(c.shown));
    }
}

} // namespace
