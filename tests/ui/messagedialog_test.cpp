#include "ui/messagedialog.h"

#include "tests/dialoganswerer.h"
#include "tests/qtapplication.h"

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

} // namespace
