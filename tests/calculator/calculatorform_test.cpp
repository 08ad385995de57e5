#include "calculator/calculator.h"
#include "calculator/calculatorform.h"
#include "calculator/calculatorpanel.h"
#include "engine/numberformat.h"
#include "tests/beepcounter.h"
#include "tests/dialoganswerer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <memory>

namespace {

using pellion::CalcButton;
using pellion::Calculator;
using pellion::CalculatorForm;

// One application for the whole run, torn down before the process exits.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "calculatorform_test";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] const ::testing::Environment* const qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

class CalculatorFormTest : public ::testing::Test {
protected:
    CalculatorFormTest() : m_settings(pointSettings()) {}

    static pellion::FormatSettings pointSettings() {
        pellion::FormatSettings settings;
        settings.decimalSeparator = '.';
        settings.currencySymbol = "$";
        return settings;
    }

    static QPushButton* button(QWidget& form, const char* name) {
        auto* found = form.findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static void click(QWidget& form, const char* name) {
        if (QPushButton* b = button(form, name))
            QTest::mouseClick(b, Qt::LeftButton);
    }

    // Runs `drive` on the calculator dialog once the modal loop has shown it;
    // the dialog is cancelled afterwards if the steps left it open, so a
    // failing test cannot hang.
    static void whileShown(std::function<void(CalculatorForm&)> drive) {
        QTimer::singleShot(0, [drive = std::move(drive)] {
            auto* form = qobject_cast<CalculatorForm*>(QApplication::activeModalWidget());
            EXPECT_NE(form, nullptr);
            if (!form)
                return;
            drive(*form);
            if (form->isVisible())
                form->reject();
        });
    }

    static QString memoryIndicator(QWidget& form) {
        auto* label = form.findChild<QLabel*>(QStringLiteral("MemoryIndicator"));
        return label ? label->text() : QStringLiteral("<missing>");
    }

    pellion::ScopedFormatSettings m_settings;
    pellion::testing::BeepCounter m_beeps;
};

TEST_F(CalculatorFormTest, OkKeepsTheValueForTheNextOpening) {
    Calculator calc;
    int changes = 0;
    calc.onChange = [&changes] { ++changes; };

    whileShown([](CalculatorForm& form) {
        QTest::keyClicks(&form, "42");
        click(form, "btnOK");
    });
    EXPECT_TRUE(calc.ShowCalculator());
    EXPECT_EQ(calc.value(), 42);
    EXPECT_EQ(changes, 1);

    whileShown([](CalculatorForm& form) {
        EXPECT_EQ(form.displayText(), "42");
        QTest::keyClicks(&form, "7");
        EXPECT_EQ(form.displayText(), "7") << "a digit replaces the reopened value";
        QTest::keyClicks(&form, "*6");
        click(form, "btnCancel");
    });
    EXPECT_FALSE(calc.ShowCalculator());
    EXPECT_EQ(calc.value(), 42);

    whileShown([](CalculatorForm& form) { click(form, "btnOK"); });
    EXPECT_TRUE(calc.ShowCalculator());
    EXPECT_EQ(changes, 1) << "the same value accepted again is no change";
}

TEST_F(CalculatorFormTest, CancelAndTheCloseBoxKeepTheEarlierValueAndMemory) {
    Calculator calc;
    whileShown([](CalculatorForm& form) {
        QTest::keyClicks(&form, "5");
        click(form, "btnMS");
        QTest::keyClicks(&form, "12.");
        click(form, "btnOK");
    });
    EXPECT_TRUE(calc.ShowCalculator());
    EXPECT_EQ(calc.value(), 12);
    EXPECT_EQ(calc.memory(), 5);

    whileShown([](CalculatorForm& form) {
        QTest::keyClicks(&form, "9");
        click(form, "btnMS");
        click(form, "btnCancel");
    });
    EXPECT_FALSE(calc.ShowCalculator());

    whileShown([](CalculatorForm& form) {
        QTest::keyClicks(&form, "8");
        click(form, "btnMC");
        form.close();
    });
    EXPECT_FALSE(calc.ShowCalculator());
    EXPECT_EQ(calc.value(), 12);
    EXPECT_EQ(calc.memory(), 5);

    whileShown([](CalculatorForm& form) {
        EXPECT_EQ(form.displayText(), "12");
        EXPECT_EQ(memoryIndicator(form), "M");
        click(form, "btnMR");
        EXPECT_EQ(form.displayText(), "5");
    });
    calc.ShowCalculator();
}

TEST_F(CalculatorFormTest, OkWhileFailedBeepsAndStaysOpen) {
    Calculator calc;
    calc.setValue(3);
    whileShown([this](CalculatorForm& form) {
        QTest::keyClicks(&form, "1/0=");
        EXPECT_EQ(form.displayText(), "Error");
        EXPECT_EQ(m_beeps.count(), 1);
        click(form, "btnOK");
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(m_beeps.count(), 2);
        QTest::keyClick(&form, Qt::Key_Escape);
        EXPECT_TRUE(form.isVisible()) << "Escape clears rather than cancels";
        EXPECT_EQ(form.displayText(), "0");
        click(form, "btnOK");
    });
    EXPECT_TRUE(calc.ShowCalculator());
    EXPECT_EQ(calc.value(), 0);
}

TEST_F(CalculatorFormTest, MemoryIndicatorFollowsTheMemory) {
    CalculatorForm form;
    form.start(0, 0);
    EXPECT_EQ(memoryIndicator(form), "");
    click(form, "btnMS");
    EXPECT_EQ(memoryIndicator(form), "") << "storing 0 leaves the memory empty";
    QTest::keyClicks(&form, "7");
    click(form, "btnMS");
    EXPECT_EQ(memoryIndicator(form), "M");
    click(form, "btnMC");
    EXPECT_EQ(memoryIndicator(form), "");
    QTest::keyClicks(&form, "3");
    click(form, "btnMP");
    EXPECT_EQ(memoryIndicator(form), "M");
}

struct RoutedKey {
    const char* situation;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* button;
};

TEST_F(CalculatorFormTest, TypedKeysPressTheirButtons) {
    const RoutedKey cases[] = {
        {"digit", Qt::Key_7, Qt::NoModifier, "btn7"},
        {"point", Qt::Key_Period, Qt::NoModifier, "btnDecimal"},
        {"comma", Qt::Key_Comma, Qt::NoModifier, "btnDecimal"},
        {"underscore", Qt::Key_Underscore, Qt::ShiftModifier, "btnSign"},
        {"slash", Qt::Key_Slash, Qt::NoModifier, "btnDivide"},
        {"asterisk", Qt::Key_Asterisk, Qt::ShiftModifier, "btnMultiply"},
        {"minus", Qt::Key_Minus, Qt::NoModifier, "btnSubtract"},
        {"plus", Qt::Key_Plus, Qt::ShiftModifier, "btnAdd"},
        {"equals", Qt::Key_Equal, Qt::NoModifier, "btnEquals"},
        {"enter", Qt::Key_Return, Qt::NoModifier, "btnEquals"},
        {"keypad enter", Qt::Key_Enter, Qt::KeypadModifier, "btnEquals"},
        {"lower-case q", Qt::Key_Q, Qt::NoModifier, "btnSqrt"},
        {"upper-case Q", Qt::Key_Q, Qt::ShiftModifier, "btnSqrt"},
        {"percent", Qt::Key_Percent, Qt::ShiftModifier, "btnPercent"},
        {"r", Qt::Key_R, Qt::NoModifier, "btnReciprocal"},
        {"backspace", Qt::Key_Backspace, Qt::NoModifier, "btnBackspace"},
        {"c", Qt::Key_C, Qt::NoModifier, "btnClear"},
        {"escape", Qt::Key_Escape, Qt::NoModifier, "btnClear"},
    };
    CalculatorForm form;
    form.show();
    for (const RoutedKey& c : cases) {
        SCOPED_TRACE(c.situation);
        QPushButton* target = button(form, c.button);
        ASSERT_NE(target, nullptr);
        QSignalSpy clicked(target, &QPushButton::clicked);
        QTest::keyClick(&form, c.key, c.modifiers);
        EXPECT_EQ(clicked.count(), 1);
        EXPECT_FALSE(target->isDown());
        EXPECT_TRUE(form.isVisible());
    }
}

TEST_F(CalculatorFormTest, KeysAndClicksWorkTogether) {
    CalculatorForm form;
    form.start(0, 0);
    QTest::keyClicks(&form, "200+");
    click(form, "btn1");
    click(form, "btn0");
    QTest::keyClicks(&form, "%");
    EXPECT_EQ(form.displayText(), "220");
    click(form, "btnSign");
    EXPECT_EQ(form.displayText(), "-220");
}

TEST_F(CalculatorFormTest, ButtonsNeverTakeTheFocus) {
    CalculatorForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    for (QPushButton* b : form.findChildren<QPushButton*>()) {
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
        QTest::mouseClick(
            b == button(form, "btnOK") || b == button(form, "btnCancel") ? button(form, "btn1") : b,
            Qt::LeftButton);
        EXPECT_FALSE(b->hasFocus());
    }
}

TEST_F(CalculatorFormTest, DecimalButtonFollowsTheUsersSeparator) {
    pellion::FormatSettings comma = pointSettings();
    comma.decimalSeparator = ',';
    comma.thousandSeparator = '.';
    pellion::ScopedFormatSettings scoped(comma);

    CalculatorForm form;
    form.start(0, 0);
    EXPECT_EQ(button(form, "btnDecimal")->text(), ",");
    QTest::keyClicks(&form, "1");
    click(form, "btnDecimal");
    QTest::keyClicks(&form, "5.25");
    EXPECT_EQ(form.displayText(), "1,525");
}

TEST_F(CalculatorFormTest, CopyAndPasteKeysUseTheClipboard) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    CalculatorForm form;
    form.start(0, 0);
    QTest::keyClicks(&form, "12.5");
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "12.5");
    EXPECT_EQ(form.displayText(), "12.5") << "Ctrl+C is no clear";

    clipboard->setText(QStringLiteral(" $1234.75 "));
    QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.displayText(), "1234.75");

    clipboard->setText(QStringLiteral("twelve"));
    QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.displayText(), "0");

    QTest::keyClicks(&form, "1/0=");
    clipboard->setText(QStringLiteral("5"));
    QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(form.displayText(), "Error") << "the keys are ignored while failed";
    EXPECT_EQ(clipboard->text(), "5");
}

TEST_F(CalculatorFormTest, ContextMenuCopiesAndPastesInEveryState) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    CalculatorForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QMenu* menu = form.panel()->popupMenu();
    ASSERT_EQ(menu->objectName(), "PopupMenu");
    QAction* copy = form.panel()->copyAction();
    QAction* paste = form.panel()->pasteAction();
    EXPECT_EQ(copy->text(), "&Copy");
    EXPECT_EQ(paste->text(), "&Paste");

    auto openMenu = [&] {
        QWidget* on = button(form, "btn5");
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                                on->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(on, &event);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(menu));
    };
    auto choose = [&](QAction* action) {
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    };

    clipboard->clear();
    openMenu();
    EXPECT_FALSE(paste->isEnabled()) << "no text on the clipboard";
    menu->close();

    QTest::keyClicks(&form, "1/0=");
    clipboard->setText(QStringLiteral("$ 99"));
    openMenu();
    EXPECT_TRUE(paste->isEnabled());
    choose(copy);
    EXPECT_EQ(clipboard->text(), "Error");

    clipboard->setText(QStringLiteral("$ 99"));
    openMenu();
    choose(paste);
    EXPECT_EQ(form.displayText(), "99");
}

TEST_F(CalculatorFormTest, MenuShortcutsActWhileTheMenuIsClosed) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    CalculatorForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClicks(&form, "64");
    QTest::keyClick(&form, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "64");
    clipboard->setText(QStringLiteral("3.5"));
    QTest::keyClick(&form, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(form.displayText(), "3.5");
}

TEST_F(CalculatorFormTest, OverflowGoesToTheErrorDisplay) {
    CalculatorForm form;
    form.start(1e300, 0);
    QTest::keyClicks(&form, "*1000000000");
    const DialogAnswerer boxes;
    QTest::keyClicks(&form, "=");
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].text, "Floating point overflow.");
    EXPECT_EQ(form.displayText(), "1000000000");
    QTest::keyClicks(&form, "1=");
    EXPECT_EQ(form.displayText(), "1E300") << "the pending '*' survived the overflow";
}

// The display rounds the largest double to a text just above it; every later
// key and OK must still read that text as the number it shows.
TEST_F(CalculatorFormTest, TheLargestDoubleAsShownReadsBackForLaterKeysAndOk) {
    const DialogAnswerer boxes; // an error box would otherwise wait for an answer
    QGuiApplication::clipboard()->setText(QStringLiteral("1.7976931348623157E308"));

    Calculator calc;
    whileShown([](CalculatorForm& form) {
        QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(form.displayText(), "1.79769313486232E308");
        QTest::keyClicks(&form, "+0=");
        EXPECT_EQ(form.displayText(), "1.79769313486232E308");
        QTest::keyClicks(&form, "Q");
        EXPECT_EQ(form.displayText(), "1.34078079299426E154");
        QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClicks(&form, "_");
        EXPECT_EQ(form.displayText(), "-1.79769313486232E308");
        click(form, "btnOK");
    });
    EXPECT_TRUE(calc.ShowCalculator());
    EXPECT_EQ(calc.value(), -DBL_MAX);
    for (const SeenDialog& box : boxes.seen())
        ADD_FAILURE() << box.text.toStdString();
}

struct ScaleCase {
    double scale;
    QSize client;
    QRect zero;
    QRect clear;
};

TEST_F(CalculatorFormTest, LayoutScalesWithTheScreenDensity) {
    const ScaleCase cases[] = {
        {1.0, {242, 159}, {47, 104, 36, 22}, {191, 6, 44, 22}},
        {1.5, {363, 239}, {71, 156, 54, 33}, {287, 9, 66, 33}},
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(c.scale);
        CalculatorForm form(nullptr, 15, true, c.scale);
        EXPECT_EQ(form.size(), c.client);
        EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "fixed size";
        EXPECT_EQ(button(form, "btn0")->geometry(), c.zero);
        EXPECT_EQ(button(form, "btnClear")->geometry(), c.clear);
        const QRect panel = form.panel()->rect();
        const auto buttons = form.panel()->buttons();
        EXPECT_EQ(buttons.size(), 28u);
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            SCOPED_TRACE(buttons[i]->objectName().toStdString());
            EXPECT_TRUE(panel.contains(buttons[i]->geometry()));
            for (std::size_t j = i + 1; j < buttons.size(); ++j)
                EXPECT_FALSE(buttons[i]->geometry().intersects(buttons[j]->geometry()))
                    << "overlaps " << buttons[j]->objectName().toStdString();
        }
    }
}

} // namespace
