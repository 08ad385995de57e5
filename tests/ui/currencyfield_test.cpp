#include "ui/currencyfield.h"

#include "engine/numberformat.h"
#include "fieldtesting.h"
#include "tests/dialoganswerer.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using pellion::CurrencyField;
using pellion::ScopedFormatSettings;
using pellion::testing::BeepCounter;

const pellion::FormatSettings pointDecimal{'.', ','};
const pellion::FormatSettings commaDecimal{',', '.'};

// How the main window sets up its seven currency fields: the day total and the
// cheapest and dearest appliance take typing and show zero as an empty edit
// text; the other totals are read-only and show zero as '0'.
enum class Kind { Typed, ReadOnly };

void configure(CurrencyField& field, Kind kind) {
    field.setDecimalPlaces(5);
    field.setDisplayFormat(QStringLiteral("$,0.00000;-$,0.00000"));
    field.setReadOnly(kind == Kind::ReadOnly);
    field.setZeroEmpty(kind == Kind::Typed);
}

// A window with another edit box in front of the field, for entering it with
// Tab and leaving it with Tab or a click elsewhere.
struct CurrencyForm {
    explicit CurrencyForm(Kind kind, double value = 0) {
        auto* layout = new QVBoxLayout(&window);
        other = new QLineEdit(&window);
        field = new CurrencyField(&window);
        layout->addWidget(other);
        layout->addWidget(field);
        window.resize(240, 100);
        configure(*field, kind);
        field->setValue(value);
        QObject::connect(field, &CurrencyField::changed, [this] { ++changes; });
        pellion::testing::showActive(window);
        other->setFocus(Qt::OtherFocusReason);
    }

    void enterByTab() {
        QTest::keyClick(other, Qt::Key_Tab);
        ASSERT_TRUE(field->hasFocus());
    }

    void leaveByClick() {
        QTest::mouseClick(other, Qt::LeftButton);
        QApplication::processEvents();
    }

    QWidget window;
    QLineEdit* other = nullptr;
    CurrencyField* field = nullptr;
    int changes = 0;
};

class CurrencyFieldTest : public ::testing::Test {
protected:
    BeepCounter m_beeps;
};

TEST_F(CurrencyFieldTest, NewFieldHoldsZero) {
    CurrencyField field;
    EXPECT_EQ(field.objectName(), "TCurrencyField");
    EXPECT_EQ(field.value(), 0);
    EXPECT_EQ(field.decimalPlaces(), 2);
    EXPECT_TRUE(field.zeroEmpty());
    EXPECT_EQ(field.alignment(), Qt::AlignRight);
    EXPECT_EQ(field.text(), "");
    EXPECT_EQ(field.editPattern(), "0.##");
}

TEST_F(CurrencyFieldTest, EditAndDisplayTextsFollowTheValueAndTheSeparators) {
    const struct {
        const char* situation;
        pellion::FormatSettings separators;
        Kind kind;
        double value;
        const char* text;
        const char* display;
    } cases[] = {
        {"read-only total at zero", pointDecimal, Kind::ReadOnly, 0, "0", "$0.00000"},
        {"day total at zero is empty", pointDecimal, Kind::Typed, 0, "", "$0.00000"},
        {"grouped thousands", pointDecimal, Kind::ReadOnly, 1234.5, "1234.5", "$1,234.50000"},
        {"negative", pointDecimal, Kind::ReadOnly, -2, "-2", "-$2.00000"},
        {"rounded to five decimals", pointDecimal, Kind::Typed, 12.345678, "12.34568", "$12.34568"},
        {"a million", pointDecimal, Kind::ReadOnly, 1000000, "1000000", "$1,000,000.00000"},
        {"tiny negative shows as zero", pointDecimal, Kind::Typed, -0.000001, "0", "$0.00000"},
        {"comma: grouped thousands", commaDecimal, Kind::ReadOnly, 1234.5, "1234,5",
         "$1.234,50000"},
        {"comma: negative", commaDecimal, Kind::ReadOnly, -2, "-2", "-$2,00000"},
        {"comma: rounded", commaDecimal, Kind::Typed, 12.345678, "12,34568", "$12,34568"},
        {"comma: a million", commaDecimal, Kind::ReadOnly, 1000000, "1000000", "$1.000.000,00000"},
        {"comma: day total at zero", commaDecimal, Kind::Typed, 0, "", "$0,00000"},
        {"no-break space grouping",
         {',', '\xA0'},
         Kind::ReadOnly,
         1234.5,
         "1234,5",
         "$1\u00A0234,50000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        ScopedFormatSettings separators(c.separators);
        CurrencyField field;
        configure(field, c.kind);
        field.setValue(c.value);
        EXPECT_EQ(field.text(), c.text);
        EXPECT_EQ(field.editText(), c.text);
        EXPECT_EQ(field.displayText(), c.display);
    }
}

TEST_F(CurrencyFieldTest, UnusableDisplayFormatShowsTheGeneralNumber) {
    const struct {
        const char* situation;
        QString format;
    } cases[] = {
        {"no format", QString()},
        {"format too long to use", QString(225, u'0')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        CurrencyField field;
        field.setDisplayFormat(c.format);
        field.setValue(1.0 / 3);
        EXPECT_EQ(field.displayText(), "0.333333333333333");
    }
}

TEST_F(CurrencyFieldTest, NormalizeNumberTextMakesTypedTextReadable) {
    const pellion::FormatSettings apostrophe{'.', '\''};
    const pellion::FormatSettings sameSeparator{'.', '.'};
    const struct {
        const char* situation;
        pellion::FormatSettings separators;
        const char* text;
        const char* normalized;
    } cases[] = {
        {"spaces and thousands removed", pointDecimal, "  1,234.5 ", "1234.5"},
        {"empty reads as zero", pointDecimal, "", "0"},
        {"only spaces read as zero", pointDecimal, "   ", "0"},
        {"lone minus", pointDecimal, "-", "-0"},
        {"comma thousands removed", commaDecimal, "1.234,5", "1234,5"},
        {"apostrophe grouping, comma taken as decimal", apostrophe, "1'234,5", "1234.5"},
        {"both separators equal: nothing removed", sameSeparator, "1.5", "1.5"},
        {"letters left for the parser to refuse", pointDecimal, "12x", "12x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        ScopedFormatSettings separators(c.separators);
        EXPECT_EQ(CurrencyField::NormalizeNumberText(QString::fromLatin1(c.text)), c.normalized);
    }
}

TEST_F(CurrencyFieldTest, EnteringByKeyboardShowsTheEditTextSelected) {
    CurrencyForm form(Kind::Typed, 12.345678);
    form.enterByTab();
    EXPECT_EQ(form.field->text(), "12.34568");
    EXPECT_EQ(form.field->selectedText(), "12.34568");
}

TEST_F(CurrencyFieldTest, EnteringByClickDoesNotSelect) {
    CurrencyForm form(Kind::Typed, 12.5);
    QTest::mouseClick(form.field, Qt::LeftButton, {}, QPoint(4, form.field->height() / 2));
    ASSERT_TRUE(form.field->hasFocus());
    EXPECT_EQ(form.field->text(), "12.5");
    EXPECT_FALSE(form.field->hasSelectedText());
}

struct TypingCase {
    const char* situation;
    pellion::FormatSettings separators;
    const char* typed;
    const char* text;
    int beeps;
    double valueAfterLeaving;
    const char* textAfterLeaving;
};

TEST_F(CurrencyFieldTest, TypedCharactersMustKeepTheTextANumber) {
    const pellion::FormatSettings apostrophe{'.', '\''};
    const TypingCase cases[] = {
        {"sixth decimal refused", pointDecimal, "1.234567", "1.23456", 1, 1.23456, "1.23456"},
        {"letter x refused", pointDecimal, "1x2", "12", 1, 12, "12"},
        {"second separator refused", pointDecimal, "1.2.3", "1.23", 1, 1.23, "1.23"},
        {"lone exponent letter refused", pointDecimal, "e", "", 1, 0, ""},
        {"exponent digits are not decimals", pointDecimal, "1.12345e2", "1.12345e2", 0, 112.345,
         "112.345"},
        {"negative number", pointDecimal, "-3", "-3", 0, -3, "-3"},
        {"lone minus reads as zero", pointDecimal, "-", "-", 0, 0, ""},
        {"thousands separator passes through", pointDecimal, "1,000", "1,000", 0, 1000, "1000"},
        {"comma as decimal separator", commaDecimal, "2,5", "2,5", 0, 2.5, "2,5"},
        {"point is the comma setting's thousands", commaDecimal, "2.5", "2.5", 0, 25, "25"},
        {"comma typed as the decimal separator", apostrophe, "2,5", "2.5", 0, 2.5, "2.5"},
        {"inner space refused", pointDecimal, "1 2", "1 ", 1, 1, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        ScopedFormatSettings separators(c.separators);
        m_beeps.reset();
        CurrencyForm form(Kind::Typed);
        DialogAnswerer boxes;
        form.enterByTab();
        QTest::keyClicks(form.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(form.field->text(), c.text);
        EXPECT_EQ(m_beeps.count(), c.beeps);
        form.leaveByClick();
        EXPECT_TRUE(boxes.seen().empty());
        EXPECT_FALSE(form.field->hasFocus());
        EXPECT_DOUBLE_EQ(form.field->value(), c.valueAfterLeaving);
        EXPECT_EQ(form.field->text(), c.textAfterLeaving);
    }
}

TEST_F(CurrencyFieldTest, EscapeRestoresTheStoredNumber) {
    CurrencyForm form(Kind::Typed, 12.5);
    form.enterByTab();
    QTest::keyClicks(form.field, "99");
    ASSERT_EQ(form.field->text(), "99");
    QTest::keyClick(form.field, Qt::Key_Escape);
    EXPECT_EQ(form.field->text(), "12.5");
    EXPECT_EQ(form.field->selectedText(), "12.5");
    EXPECT_TRUE(form.field->hasFocus());
    form.leaveByClick();
    EXPECT_EQ(form.field->value(), 12.5);
}

TEST_F(CurrencyFieldTest, ReadingTheValueCommitsTypedText) {
    CurrencyForm form(Kind::Typed, 1);
    form.enterByTab();
    QTest::keyClicks(form.field, "7.5");
    EXPECT_EQ(form.field->value(), 7.5);
    EXPECT_EQ(form.field->text(), "7.5");
}

// A cleared field shows no amount at all, not even $0.00000, until a value is
// set or typed; passing through it without typing keeps it so.
TEST_F(CurrencyFieldTest, ClearedFieldShowsNothingUntilAValueArrives) {
    CurrencyForm form(Kind::Typed, 1000000);
    form.field->clearValue();
    EXPECT_EQ(form.field->displayText(), "");
    EXPECT_EQ(form.field->text(), "");
    EXPECT_EQ(form.field->value(), 0);

    form.enterByTab();
    form.leaveByClick();
    EXPECT_EQ(form.field->displayText(), "");

    form.enterByTab();
    QTest::keyClicks(form.field, "0.5");
    form.leaveByClick();
    EXPECT_EQ(form.field->displayText(), "$0.50000");

    form.field->clearValue();
    form.field->setValue(0);
    EXPECT_EQ(form.field->displayText(), "$0.00000");
}

// Deleting is not checked, so deleting the digit in front of an exponent
// letter leaves a text that only the commit on leaving can refuse.
TEST_F(CurrencyFieldTest, LeavingWithAnInvalidTextShowsTheErrorAndKeepsTheFocus) {
    CurrencyForm form(Kind::Typed, 3);
    DialogAnswerer boxes;
    form.enterByTab();
    QTest::keyClicks(form.field, "1,e5");
    QTest::keyClick(form.field, Qt::Key_Home);
    QTest::keyClick(form.field, Qt::Key_Delete);
    ASSERT_EQ(form.field->text(), ",e5");

    form.leaveByClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.seen().empty(); }, 5000));
    EXPECT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen().back().caption, "Pellion");
    EXPECT_EQ(boxes.seen().back().text, "'e5' is not a valid floating point value.");
    EXPECT_EQ(form.window.focusWidget(), form.field);
    // The offscreen platform has no window manager to hand the activation
    // back once the box has gone.
    pellion::testing::showActive(form.window);
    EXPECT_TRUE(form.field->hasFocus());
    EXPECT_EQ(form.field->text(), ",e5");
    EXPECT_EQ(form.field->selectedText(), ",e5");

    // Correcting the text lets the field go; the stored number never changed.
    QTest::keyClick(form.field, Qt::Key_Escape);
    form.leaveByClick();
    EXPECT_FALSE(form.field->hasFocus());
    EXPECT_EQ(form.field->value(), 3);
    EXPECT_EQ(boxes.seen().size(), 1u);
}

TEST_F(CurrencyFieldTest, PastingCommitsOrRestoresThePreviousText) {
    const struct {
        const char* situation;
        const char* pasted;
        const char* text;
        double value;
        int beeps;
    } cases[] = {
        {"grouped number", "2,500.75", "2,500.75", 2500.75, 0},
        {"more decimals than typing allows", "1.1234567", "1.1234567", 1.1234567, 0},
        {"not a number", "abc", "12.5", 12.5, 1},
        {"number with trailing letters", "5kg", "12.5", 12.5, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        m_beeps.reset();
        CurrencyForm form(Kind::Typed, 12.5);
        form.enterByTab();
        QApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
        QTest::keyClick(form.field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(form.field->text(), c.text);
        EXPECT_EQ(form.field->value(), c.value);
        EXPECT_EQ(m_beeps.count(), c.beeps);
        EXPECT_TRUE(form.field->hasFocus());
        if (c.beeps > 0)
            EXPECT_EQ(form.field->selectedText(), c.text);
    }
}

// The edit menu's Paste has to commit (and restore) like the paste key.
TEST_F(CurrencyFieldTest, PastingFromTheMenuCommitsToo) {
    const struct {
        const char* situation;
        const char* pasted;
        const char* text;
        double value;
    } cases[] = {
        {"number", "8.25", "8.25", 8.25},
        {"not a number", "abc", "12.5", 12.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        CurrencyForm form(Kind::Typed, 12.5);
        form.enterByTab();
        QApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                                  form.field->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(form.field, &request);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
        ASSERT_NE(paste, nullptr);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(paste).center());
        QApplication::processEvents();
        EXPECT_EQ(form.field->text(), c.text);
        EXPECT_EQ(form.field->value(), c.value);
    }
}

TEST_F(CurrencyFieldTest, ReadOnlyFieldTakesTheFocusButRefusesEveryChange) {
    CurrencyForm form(Kind::ReadOnly, 1234.5);
    form.enterByTab();
    EXPECT_EQ(form.field->text(), "1234.5");
    QTest::keyClicks(form.field, "9x"); // only the character that fails the checks beeps
    QApplication::clipboard()->setText(QStringLiteral("7"));
    QTest::keyClick(form.field, Qt::Key_V, Qt::ControlModifier);
    form.field->selectAll();
    QTest::keyClick(form.field, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(form.field->text(), "1234.5");
    EXPECT_EQ(m_beeps.count(), 1);
    form.leaveByClick();
    EXPECT_EQ(form.field->value(), 1234.5);
    EXPECT_EQ(form.changes, 0);
}

TEST_F(CurrencyFieldTest, EnterAndEscapeReachTheDialogsButtons) {
    const struct {
        const char* situation;
        Qt::Key key;
        int result;
    } cases[] = {
        {"Enter presses the default button", Qt::Key_Return, QDialog::Accepted},
        {"Escape presses cancel", Qt::Key_Escape, QDialog::Rejected},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        QDialog dialog;
        auto* field = new CurrencyField(&dialog);
        pellion::testing::placeAboveDefaultButton(dialog, field);
        field->setValue(4);
        dialog.setResult(-1);
        pellion::testing::showActive(dialog);
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, c.key);
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_EQ(field->text(), "4");
    }
}

TEST_F(CurrencyFieldTest, SettingTheValueWhileFocusedRewritesTheEditText) {
    CurrencyForm form(Kind::Typed, 1);
    form.enterByTab();
    QTest::keyClicks(form.field, "55");
    form.field->setValue(0);
    EXPECT_EQ(form.field->text(), "");
    form.field->setValue(2.25);
    EXPECT_EQ(form.field->text(), "2.25");
}

// Where the glyphs of a rendering fall, and how dark the darkest one is.
struct Ink {
    int left = -1;
    int right = -1;
    int darkest = 255;
};

Ink inkOf(QWidget& widget, QRect area) {
    const QImage image = widget.grab().toImage();
    const QColor background = image.pixelColor(area.left(), area.center().y());
    Ink ink;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel == background)
                continue;
            if (ink.left < 0)
                ink.left = x;
            ink.right = x;
            ink.darkest = std::min(ink.darkest, pixel.lightness());
        }
    }
    return ink;
}

class CurrencyDrawingTest : public CurrencyFieldTest {
protected:
    CurrencyDrawingTest() {
        form.field->setAlignment(Qt::AlignRight);
        form.window.resize(300, 100);
        QApplication::processEvents();
    }
    // The inside of the box, between its frames.
    QRect inside() const {
        const int frame = form.field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const int gap = frame + 2; // clear of a focus frame
        return form.field->rect().adjusted(gap, gap, -gap, -gap);
    }
    CurrencyForm form{Kind::Typed, 1234.5};
};

TEST_F(CurrencyDrawingTest, DisplayTextIsDrawnAfterTheAlignmentWhileUnfocused) {
    const int frame = form.field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int textLeft = frame + 2;
    const int textRight = form.field->width() - 1 - frame - 2 - 2;

    const Ink right = inkOf(*form.field, inside());
    EXPECT_LE(right.right, textRight);
    EXPECT_GE(right.right, textRight - 3);

    form.field->setAlignment(Qt::AlignLeft);
    const Ink left = inkOf(*form.field, inside());
    EXPECT_GE(left.left, textLeft);
    EXPECT_LE(left.left, textLeft + 3);
    EXPECT_EQ(left.right - left.left, right.right - right.left); // the same text

    form.field->setAlignment(Qt::AlignHCenter);
    const Ink centre = inkOf(*form.field, inside());
    EXPECT_NEAR(centre.left + centre.right, textLeft + textRight, 4);
}

TEST_F(CurrencyDrawingTest, FocusedFieldShowsTheShorterEditTextFromTheLeft) {
    const Ink display = inkOf(*form.field, inside());
    form.enterByTab();
    QTest::keyClick(form.field, Qt::Key_End); // no selection highlight
    const Ink edit = inkOf(*form.field, inside());
    EXPECT_LT(edit.left, display.left);
    EXPECT_LT(edit.right - edit.left, display.right - display.left); // "1234.5" only
    form.leaveByClick();
    const Ink again = inkOf(*form.field, inside());
    EXPECT_EQ(again.left, display.left);
    EXPECT_EQ(again.right, display.right);
}

TEST_F(CurrencyDrawingTest, DisabledFieldDrawsInGrey) {
    const Ink enabled = inkOf(*form.field, inside());
    form.field->setEnabled(false);
    const Ink disabled = inkOf(*form.field, inside());
    EXPECT_EQ(disabled.left, enabled.left);
    EXPECT_GT(disabled.darkest, enabled.darkest + 40);
}

} // namespace
