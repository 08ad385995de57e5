#include "ui/spinfield.h"

#include "engine/numberformat.h"
#include "fieldtesting.h"
#include "ui/spinbutton.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using pellion::SpinButton;
using pellion::SpinField;
using pellion::testing::BeepCounter;
using ValueType = SpinField::ValueType;

// How the main window sets up its five spin fields.
enum class Kind { Price, Discount, Count };

void configure(SpinField& field, Kind kind) {
    if (kind == Kind::Count)
        return; // whole numbers, increment 1, no range: the defaults
    field.setValueType(ValueType::Float);
    field.setDecimal(4);
    field.setIncrement(0.01);
    if (kind == Kind::Price) {
        field.setMinValue(0);
        field.setMaxValue(100000000);
        field.setValue(0.01);
    }
}

// A window with another edit box in front of the spin field, so the field can
// be entered and left with Tab like a user does. The field is configured as
// the main window does it, and its change events are counted from then on,
// as the window connects its handler after building.
struct SpinForm {
    explicit SpinForm(Kind kind, const QString& text = {}) {
        auto* layout = new QVBoxLayout(&window);
        other = new QLineEdit(&window);
        field = new SpinField(&window);
        layout->addWidget(other);
        layout->addWidget(field);
        window.resize(240, 100);
        configure(*field, kind);
        if (!text.isNull())
            field->setText(text);
        QObject::connect(field, &SpinField::changed, [this] { ++changes; });
        pellion::testing::showActive(window);
    }

    void enterByTab() {
        other->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(other, Qt::Key_Tab);
        ASSERT_TRUE(field->hasFocus());
    }

    void leaveByTab() {
        QTest::keyClick(field, Qt::Key_Tab);
        ASSERT_FALSE(field->hasFocus());
    }

    QPoint upTriangle() const {
        const int side = field->button()->height();
        return {side / 4, side / 4};
    }
    QPoint downTriangle() const {
        const int side = field->button()->height();
        return {side * 3 / 4, side * 3 / 4};
    }

    QWidget window;
    QLineEdit* other = nullptr;
    SpinField* field = nullptr;
    int changes = 0;
};

class SpinFieldTest : public ::testing::Test {
protected:
    BeepCounter m_beeps;
};

TEST_F(SpinFieldTest, NewFieldHoldsZeroAsWholeNumber) {
    SpinField field;
    EXPECT_EQ(field.objectName(), "TSpinField");
    EXPECT_EQ(field.text(), "0");
    EXPECT_EQ(field.valueType(), ValueType::Integer);
    EXPECT_EQ(field.decimal(), 2);
    EXPECT_EQ(field.increment(), 1);
    EXPECT_TRUE(field.arrowKeys());
    EXPECT_TRUE(field.editorEnabled());
    EXPECT_FALSE(field.isReadOnly());
}

TEST_F(SpinFieldTest, ConfiguredFieldsShowTheirStartingTexts) {
    const struct {
        const char* situation;
        Kind kind;
        const char* text;
    } cases[] = {
        {"price set to 0.01", Kind::Price, "0.0100"},
        {"daily discount left at zero", Kind::Discount, "0.0000"},
        {"kWh count left at zero", Kind::Count, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        SpinField field;
        configure(field, c.kind);
        EXPECT_EQ(field.text(), c.text);
    }
}

struct TypingCase {
    const char* situation;
    Kind kind;
    const char* typed;
    const char* textWhileFocused;
    double valueWhileFocused;
    const char* textAfterLeaving;
    int changes; // typing and leaving together
    int beeps;
};

TEST_F(SpinFieldTest, TypedTextIsReadAsTypedAndClampedOnLeaving) {
    const TypingCase cases[] = {
        {"negative price becomes zero", Kind::Price, "-5", "-5", -5, "0.0000", 3, 0},
        {"price above the range becomes the maximum", Kind::Price, "200000000", "200000000",
         200000000, "100000000.0000", 10, 0},
        {"price within the range keeps its typed text", Kind::Price, "2.5", "2.5", 2.5, "2.5", 3,
         0},
        {"lone minus reads as the minimum and stays", Kind::Price, "-", "-", 0, "-", 1, 0},
        {"discount has no range", Kind::Discount, "-7.25", "-7.25", -7.25, "-7.25", 5, 0},
        {"whole number refuses the separator", Kind::Count, "1.5", "15", 15, "15", 2, 1},
        {"whole number refuses an exponent", Kind::Count, "2e3", "23", 23, "23", 2, 1},
        {"second separator refused", Kind::Discount, "1.2.3", "1.23", 1.23, "1.23", 4, 1},
        {"second exponent letter refused", Kind::Discount, "1e2E", "1e2", 100, "1e2", 3, 1},
        {"letters refused", Kind::Discount, "4x", "4", 4, "4", 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        m_beeps.reset();
        SpinForm form(c.kind);
        form.enterByTab();
        EXPECT_EQ(form.field->selectedText(), form.field->text()); // typing replaces it all
        QTest::keyClicks(form.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(form.field->text(), c.textWhileFocused);
        EXPECT_DOUBLE_EQ(form.field->value(), c.valueWhileFocused);
        form.leaveByTab();
        EXPECT_EQ(form.field->text(), c.textAfterLeaving);
        EXPECT_EQ(form.changes, c.changes);
        EXPECT_EQ(m_beeps.count(), c.beeps);
    }
}

TEST_F(SpinFieldTest, TypingFollowsTheUsersDecimalSeparator) {
    pellion::ScopedFormatSettings comma({',', '.'});
    SpinForm form(Kind::Discount);
    form.enterByTab();
    QTest::keyClicks(form.field, "1.5,25");
    EXPECT_EQ(form.field->text(), "15,25");
    EXPECT_EQ(m_beeps.count(), 1);
    EXPECT_DOUBLE_EQ(form.field->value(), 15.25);
}

TEST_F(SpinFieldTest, ReadingAnUnfinishedTextGivesTheMinimum) {
    const struct {
        const char* situation;
        Kind kind;
        double minValue;
        const char* text;
        double value;
    } cases[] = {
        {"lone separator", Kind::Discount, 0, ".", 0},
        {"number with a bare exponent letter", Kind::Discount, 0, "1e", 1},
        {"lone minus", Kind::Discount, 0, "-", 0},
        {"empty text", Kind::Discount, 0, "", 0},
        {"pasted decimal in a whole-number field", Kind::Count, 0, "1.5", 0},
        {"leading spaces in a whole-number field", Kind::Count, 0, " 5", 5},
        {"trailing space in a whole-number field", Kind::Count, 0, "5 ", 0},
        {"whole-number minimum truncated toward zero", Kind::Count, -2.7, "x", -2},
        {"decimal minimum kept as it is", Kind::Discount, -2.7, "x", -2.7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        SpinField field;
        configure(field, c.kind);
        field.setMinValue(c.minValue);
        field.setText(QString::fromLatin1(c.text));
        EXPECT_DOUBLE_EQ(field.value(), c.value);
        EXPECT_EQ(field.text(), c.text); // reading never rewrites
    }
}

TEST_F(SpinFieldTest, PastedTextIsNotFiltered) {
    SpinForm form(Kind::Count);
    form.enterByTab();
    QApplication::clipboard()->setText(QStringLiteral("1.5"));
    QTest::keyClick(form.field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.field->text(), "1.5");
    EXPECT_EQ(form.field->value(), 0);
    EXPECT_EQ(form.changes, 1);
    EXPECT_EQ(m_beeps.count(), 0);
}

// A price copied from a spreadsheet or a web page comes with blanks and line
// breaks around it; the field shows, and reads, only the number.
TEST_F(SpinFieldTest, PastedTextLosesSurroundingBlanksAndLineBreaks) {
    const struct {
        const char* situation;
        const char* before;
        int selectionStart, selectionLength;
        const char* clipboard;
        const char* after;
        double value;
    } cases[] = {
        {"spreadsheet cell over the whole text", "0.0100", 0, 6, "0.35\n", "0.35", 0.35},
        {"line end of another system and blanks", "0.0100", 0, 6, "  0.35 \r\n", "0.35", 0.35},
        {"tabs of a copied row", "0.0100", 0, 6, "\t12\t", "12", 12},
        {"into the middle", "12", 1, 0, " 5 \n", "152", 152},
        {"line break inside", "", 0, 0, "0.3\n5", "0.35", 0.35},
        {"blanks only change nothing", "0.25", 4, 0, " \n", "0.25", 0.25},
        {"other characters stay", "", 0, 0, " 1,5x\n", "1,5x", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        SpinForm form(Kind::Discount, QString::fromLatin1(c.before));
        form.field->setFocus();
        form.field->setSelection(c.selectionStart, c.selectionLength);
        QApplication::clipboard()->setText(QString::fromLatin1(c.clipboard));
        QTest::keyClick(form.field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(form.field->text(), c.after);
        EXPECT_EQ(form.field->value(), c.value);
        EXPECT_EQ(form.changes, QString::fromLatin1(c.before) == c.after ? 0 : 1);
    }
}

TEST_F(SpinFieldTest, EveryWayOfPastingTrimsTheText) {
    const QString copied = QStringLiteral("0.35\r\n");
    const struct {
        const char* way;
        std::function<void(SpinField&)> paste;
    } ways[] = {
        {"Ctrl+V", [](SpinField& f) { QTest::keyClick(&f, Qt::Key_V, Qt::ControlModifier); }},
        {"Shift+Insert",
         [](SpinField& f) { QTest::keyClick(&f, Qt::Key_Insert, Qt::ShiftModifier); }},
        {"context menu",
         [](SpinField& f) {
             QTimer::singleShot(0, [] {
                 auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                 ASSERT_NE(menu, nullptr);
                 QAction* paste = nullptr;
                 for (QAction* action : menu->actions())
                     if (action->text().startsWith(QStringLiteral("&Paste")))
                         paste = action;
                 ASSERT_NE(paste, nullptr);
                 QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(paste).center());
             });
             QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4),
                                     f.mapToGlobal(QPoint(4, 4)));
             QApplication::sendEvent(&f, &event);
         }},
        {"drop",
         [&copied](SpinField& f) {
             QMimeData data;
             data.setText(copied);
             const QPointF at(4, f.height() / 2.0);
             // Without a drag in progress the application delivers no drop,
             // so the field is handed the event as a drag would hand it over.
             QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
             static_cast<QObject&>(f).event(&drop);
         }},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        SpinForm form(Kind::Discount, QString());
        form.field->setFocus();
        form.field->clear();
        form.changes = 0;
        QApplication::clipboard()->setText(copied);
        w.paste(*form.field);
        EXPECT_EQ(form.field->text(), "0.35");
        EXPECT_EQ(form.field->value(), 0.35);
        EXPECT_EQ(form.changes, 1);
    }
}

TEST_F(SpinFieldTest, SettingAValueRaisesChangeOnlyWhenTheTextChanges) {
    SpinForm form(Kind::Price);
    form.field->setValue(0.01);
    form.field->setValue(0.0100001); // formats to the same text
    EXPECT_EQ(form.changes, 0);
    form.field->setValue(0.25);
    EXPECT_EQ(form.field->text(), "0.2500");
    EXPECT_EQ(form.changes, 1);
    form.field->setValue(-1); // clamped
    EXPECT_EQ(form.field->text(), "0.0000");
    EXPECT_EQ(form.changes, 2);
}

TEST_F(SpinFieldTest, WholeNumbersRoundHalfToEven) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{2.5, "2"}, {3.5, "4"},  {-2.5, "-2"},
                 {2.6, "3"}, {-0.4, "0"}, {1e300, "9223372036854775807"}};
    SpinField field;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        field.setValue(c.value);
        EXPECT_EQ(field.text(), c.text);
    }
}

TEST_F(SpinFieldTest, WholeNumberIncrementIsRoundedAndNeverZero) {
    const struct {
        double increment;
        double expected;
    } cases[] = {{0.4, 1}, {2.6, 3}, {0, 1}, {-1.5, -2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.increment);
        SpinField field;
        field.setValueType(ValueType::Float);
        field.setIncrement(c.increment);
        field.setValueType(ValueType::Integer);
        EXPECT_EQ(field.increment(), c.expected);
    }
}

struct StepCase {
    const char* situation;
    Kind kind;
    const char* start;
    bool up;
    const char* result;
    int changes;
};

const StepCase stepCases[] = {
    {"price up", Kind::Price, "0.0100", true, "0.0200", 1},
    {"price up from an empty text", Kind::Price, "", true, "0.0100", 1},
    {"price up at the maximum", Kind::Price, "100000000.0000", true, "100000000.0000", 0},
    {"price down at the minimum", Kind::Price, "0.0000", false, "0.0000", 0},
    {"price down below the minimum", Kind::Price, "0.0050", false, "0.0000", 1},
    {"price up from a typed text outside the range", Kind::Price, "-5", true, "0.0000", 1},
    {"discount down below zero", Kind::Discount, "0.0000", false, "-0.0100", 1},
    {"discount up from a typed text", Kind::Discount, "1.5", true, "1.5100", 1},
    {"count up", Kind::Count, "0", true, "1", 1},
    {"count up from an invalid text", Kind::Count, "1.5", true, "1", 1},
    {"count down below zero", Kind::Count, "0", false, "-1", 1},
    {"only the letter case differs", Kind::Discount, "1e16", true, "1E16", 0},
};

TEST_F(SpinFieldTest, ArrowKeysStepOnceAndRaiseChangeOnlyForANewText) {
    for (const auto& c : stepCases) {
        SCOPED_TRACE(c.situation);
        SpinForm form(c.kind, QString::fromLatin1(c.start));
        QTest::keyClick(form.field, c.up ? Qt::Key_Up : Qt::Key_Down);
        EXPECT_EQ(form.field->text(), c.result);
        EXPECT_EQ(form.changes, c.changes);
        EXPECT_EQ(form.field->isModified(), c.changes > 0);
    }
}

TEST_F(SpinFieldTest, ButtonTrianglesStepLikeTheArrowKeys) {
    for (const auto& c : stepCases) {
        SCOPED_TRACE(c.situation);
        SpinForm form(c.kind, QString::fromLatin1(c.start));
        QTest::mouseClick(form.field->button(), Qt::LeftButton, {},
                          c.up ? form.upTriangle() : form.downTriangle());
        EXPECT_EQ(form.field->text(), c.result);
        EXPECT_EQ(form.changes, c.changes);
    }
}

TEST_F(SpinFieldTest, DiagonalSplitsTheButtonFromLowerLeftToUpperRight) {
    SpinForm form(Kind::Count);
    const SpinButton* button = form.field->button();
    const int side = button->height();
    ASSERT_GT(side, 8);
    EXPECT_EQ(button->partAt({1, side - 3}), SpinButton::Part::Up);      // left edge, low
    EXPECT_EQ(button->partAt({side - 3, 1}), SpinButton::Part::Up);      // top edge, right
    EXPECT_EQ(button->partAt({3, side - 1}), SpinButton::Part::Down);    // bottom edge, left
    EXPECT_EQ(button->partAt({side - 1, 3}), SpinButton::Part::Down);    // right edge, high
    EXPECT_EQ(button->partAt({side, side / 2}), SpinButton::Part::None); // outside
}

TEST_F(SpinFieldTest, ButtonIsASquareAtTheRightEndAndTheTextStopsBeforeIt) {
    SpinForm form(Kind::Count);
    const QRect field = form.field->rect();
    const QRect button = form.field->button()->geometry();
    const int frame = button.top();
    EXPECT_EQ(button.width(), button.height());
    EXPECT_EQ(field.bottom() - button.bottom(), frame); // as tall as the inner height
    EXPECT_EQ(field.right() - button.right(), frame);
    EXPECT_EQ(form.field->textMargins().right(), button.width());
}

// At the designed 81 x 21 the arrows are plain to see: several pixels across,
// each at the centre of the circle its triangle holds, clear of the lines.
TEST_F(SpinFieldTest, ArrowsAreLargeAndCentredInTheirTriangles) {
    SpinForm form(Kind::Count);
    form.field->setFixedSize(81, 21);
    QApplication::processEvents();
    SpinButton* button = form.field->button();
    const QImage shown = button->grab().toImage();
    const qreal ratio = shown.devicePixelRatio();
    const double side = button->width() - 1.0; // between the centres of the outline's pixels
    const double radius = side * (2 - std::sqrt(2.0)) / 2;

    const struct {
        const char* part;
        QPointF centre; // of the circle that fits the triangle
    } parts[] = {
        {"up", {0.5 + radius, 0.5 + radius}},
        {"down", {side + 0.5 - radius, side + 0.5 - radius}},
    };
    for (const auto& part : parts) {
        SCOPED_TRACE(part.part);
        // The dark pixels well inside the circle: the arrow, not the outline.
        QRectF arrow;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QPointF at = QPointF(x + 0.5, y + 0.5) / ratio;
                if (QLineF(at, part.centre).length() < radius - 1.0 &&
                    shown.pixelColor(x, y).lightness() < 128)
                    arrow |= QRectF(at - QPointF(0.5, 0.5) / ratio, QSizeF(1, 1) / ratio);
            }
        }
        ASSERT_FALSE(arrow.isEmpty());
        EXPECT_GE(arrow.width(), 6.0);
        EXPECT_GE(arrow.height(), 3.0);
        EXPECT_NEAR(arrow.center().x(), part.centre.x(), 1.0);
        EXPECT_NEAR(arrow.center().y(), part.centre.y(), 1.0);
    }
}

TEST_F(SpinFieldTest, ArrowKeysOffLeaveUpAndDownAlone) {
    SpinForm form(Kind::Count);
    form.field->setArrowKeys(false);
    QTest::keyClick(form.field, Qt::Key_Up);
    EXPECT_EQ(form.field->text(), "0");
    EXPECT_EQ(form.changes, 0);
}

TEST_F(SpinFieldTest, ReadOnlyFieldOnlyBeepsOnSteps) {
    SpinForm form(Kind::Price);
    form.field->setReadOnly(true);
    QTest::keyClick(form.field, Qt::Key_Up);
    QTest::mouseClick(form.field->button(), Qt::LeftButton, {}, form.downTriangle());
    QTest::keyClicks(form.field, "5");
    EXPECT_EQ(form.field->text(), "0.0100");
    EXPECT_EQ(form.changes, 0);
    EXPECT_EQ(m_beeps.count(), 2);
}

TEST_F(SpinFieldTest, DisabledEditorRefusesCharactersAndBackspace) {
    SpinForm form(Kind::Count, QStringLiteral("12"));
    form.field->setEditorEnabled(false);
    form.field->setFocus(Qt::MouseFocusReason);
    form.field->end(false);
    QTest::keyClicks(form.field, "3.");
    QTest::keyClick(form.field, Qt::Key_Backspace);
    QTest::keyClick(form.field, Qt::Key_Up); // stepping still works
    EXPECT_EQ(form.field->text(), "13");
    EXPECT_EQ(m_beeps.count(), 3);
    EXPECT_EQ(form.changes, 1);
}

TEST_F(SpinFieldTest, EveryEditingKeystrokeRaisesOneChange) {
    SpinForm form(Kind::Discount, QStringLiteral("12"));
    form.field->setFocus(Qt::MouseFocusReason);
    form.field->end(false);
    QTest::keyClick(form.field, Qt::Key_Backspace);
    QTest::keyClick(form.field, Qt::Key_Home);
    QTest::keyClick(form.field, Qt::Key_Delete);
    QTest::keyClick(form.field, Qt::Key_Delete); // nothing left to delete
    EXPECT_EQ(form.field->text(), "");
    EXPECT_EQ(form.changes, 2);
    EXPECT_EQ(m_beeps.count(), 0);
}

TEST_F(SpinFieldTest, EnterAndEscapeReachTheDialogsButtons) {
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
        auto* field = new SpinField(&dialog);
        pellion::testing::placeAboveDefaultButton(dialog, field);
        int changes = 0;
        QObject::connect(field, &SpinField::changed, [&] { ++changes; });
        dialog.setResult(-1);
        pellion::testing::showActive(dialog);
        field->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(field, c.key);
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_EQ(field->text(), "0");
        EXPECT_EQ(changes, 0);
    }
}

TEST_F(SpinFieldTest, KeyboardEntrySelectsAllButAClickDoesNot) {
    SpinForm form(Kind::Price);
    form.enterByTab();
    EXPECT_EQ(form.field->selectedText(), "0.0100");
    form.other->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(form.field, Qt::LeftButton, {}, QPoint(4, form.field->height() / 2));
    ASSERT_TRUE(form.field->hasFocus());
    EXPECT_FALSE(form.field->hasSelectedText());
}

TEST_F(SpinFieldTest, PressingTheButtonFocusesTheFieldWithoutSelecting) {
    SpinForm form(Kind::Price);
    form.other->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(form.field->button(), Qt::LeftButton, {}, form.upTriangle());
    EXPECT_TRUE(form.field->hasFocus());
    EXPECT_FALSE(form.field->hasSelectedText());
    EXPECT_EQ(form.field->text(), "0.0200");
}

TEST_F(SpinFieldTest, WithinTheRangeLeavingKeepsTheTextAndRaisesNothing) {
    SpinForm form(Kind::Price, QStringLiteral("7"));
    form.enterByTab();
    form.leaveByTab();
    EXPECT_EQ(form.field->text(), "7");
    EXPECT_EQ(form.changes, 0);
}

// The repeat tests shorten one interval and make the other one long, so each
// outcome is decided by which timer can fire within a short wait.
class SpinRepeatTest : public SpinFieldTest {
protected:
    SpinForm form{Kind::Count};
    void press(QPoint at) { QTest::mousePress(form.field->button(), Qt::LeftButton, {}, at); }
    void release(QPoint at) { QTest::mouseRelease(form.field->button(), Qt::LeftButton, {}, at); }
    void moveTo(QPoint at) { QTest::mouseMove(form.field->button(), at); }
    int steps() const { return form.field->text().toInt(); }
};

TEST_F(SpinRepeatTest, FirstRepeatWaitsForTheFirstInterval) {
    form.field->setRepeatIntervals(10000, 1);
    press(form.upTriangle());
    QTest::qWait(50);
    EXPECT_EQ(steps(), 1);
    release(form.upTriangle());
}

TEST_F(SpinRepeatTest, LaterRepeatsWaitForTheSecondInterval) {
    form.field->setRepeatIntervals(1, 10000);
    press(form.upTriangle());
    EXPECT_TRUE(QTest::qWaitFor([&] { return steps() == 2; }, 2000));
    QTest::qWait(50);
    EXPECT_EQ(steps(), 2);
    release(form.upTriangle());
}

TEST_F(SpinRepeatTest, HoldingRepeatsUntilReleasedWithOneChangePerStep) {
    form.field->setRepeatIntervals(1, 1);
    press(form.downTriangle());
    EXPECT_TRUE(QTest::qWaitFor([&] { return steps() <= -5; }, 2000));
    release(form.downTriangle());
    const int afterRelease = steps();
    QTest::qWait(30);
    EXPECT_EQ(steps(), afterRelease);
    EXPECT_EQ(form.changes, -afterRelease);
    EXPECT_EQ(form.field->button()->pressedPart(), SpinButton::Part::None);
}

TEST_F(SpinRepeatTest, LeavingThePressedTrianglePausesAndReturningResumes) {
    form.field->setRepeatIntervals(1, 1);
    press(form.upTriangle());
    ASSERT_TRUE(QTest::qWaitFor([&] { return steps() >= 3; }, 2000));

    moveTo(form.downTriangle());
    EXPECT_EQ(form.field->button()->pressedPart(), SpinButton::Part::None);
    const int paused = steps();
    QTest::qWait(30);
    EXPECT_EQ(steps(), paused);

    moveTo(form.upTriangle());
    EXPECT_EQ(form.field->button()->pressedPart(), SpinButton::Part::Up);
    EXPECT_TRUE(QTest::qWaitFor([&] { return steps() >= paused + 3; }, 2000));
    release(form.upTriangle());
    EXPECT_EQ(form.changes, steps());
}

TEST_F(SpinRepeatTest, AnotherWindowTakingOverEndsThePress) {
    form.field->setRepeatIntervals(1, 1);
    press(form.upTriangle());
    ASSERT_TRUE(QTest::qWaitFor([&] { return steps() >= 2; }, 2000));

    QWidget box; // such as an error box opened by a step's change handler
    pellion::testing::showActive(box);
    const int stopped = steps();
    QTest::qWait(30);
    EXPECT_EQ(steps(), stopped);
    EXPECT_FALSE(form.field->button()->isHeld());
}

} // namespace
