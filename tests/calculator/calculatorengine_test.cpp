#include "calculator/calculatorengine.h"

#include "base/error.h"
#include "engine/numberformat.h"
#include "tests/errortext.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

namespace {

using pellion::CalculatorEngine;
using pellion::EntryState;

// Drives an engine with a readable key script: plain characters go to
// ProcessKey, braced names press the other keys and buttons, e.g. "5{MS}C{MR}3".
class CalculatorEngineTest : public ::testing::Test {
protected:
    CalculatorEngineTest() : m_settings(pointSettings()) {
        pellion::CalculatorEvents events;
        events.beep = [this] { ++beeps; };
        events.copyText = [this](const std::string& text) { clipboard = text; };
        events.clipboardText = [this] { return clipboard; };
        engine.setEvents(std::move(events));
    }

    static pellion::FormatSettings pointSettings() {
        pellion::FormatSettings settings;
        settings.decimalSeparator = '.';
        settings.thousandSeparator = ',';
        settings.currencySymbol = "$";
        return settings;
    }

    void type(const std::string& script) {
        for (std::size_t i = 0; i < script.size(); ++i) {
            if (script[i] != '{') {
                engine.ProcessKey(script[i]);
                continue;
            }
            const std::size_t end = script.find('}', i);
            press(script.substr(i + 1, end - i - 1));
            i = end;
        }
    }

    void press(const std::string& name) {
        namespace keys = pellion::calculatorkeys;
        if (name == "MC")
            engine.memoryClear();
        else if (name == "MR")
            engine.memoryRecall();
        else if (name == "MS")
            engine.memoryStore();
        else if (name == "MP")
            engine.memoryPlus();
        else if (name == "OK")
            accepted = engine.acceptDisplay();
        else if (name == "BS")
            engine.ProcessKey(keys::Backspace);
        else if (name == "ENTER")
            engine.ProcessKey(keys::Enter);
        else if (name == "ESC")
            engine.ProcessKey(keys::Escape);
        else if (name == "COPY")
            engine.ProcessKey(keys::CtrlC);
        else if (name == "PASTE")
            engine.ProcessKey(keys::CtrlV);
        else
            FAIL() << "unknown key " << name;
    }

    pellion::ScopedFormatSettings m_settings;
    CalculatorEngine engine;
    int beeps = 0;
    std::optional<std::string> clipboard;
    std::optional<bool> accepted;
};

struct KeyCase {
    const char* situation;
    const char* keys;
    const char* display;
    EntryState state;
    int beeps;
};

TEST_F(CalculatorEngineTest, KeySequencesShowTheExpectedDisplay) {
    using enum EntryState;
    const KeyCase cases[] = {
        {"sum", "2+3=", "5", StartNew, 0},
        {"no precedence: '*' first completes 2 + 3", "2+3*4=", "20", StartNew, 0},
        {"percent added", "200+10%", "220", StartNew, 0},
        {"percent subtracted", "200-10%", "180", StartNew, 0},
        {"percent as a factor", "200*10%", "20", StartNew, 0},
        {"percent as a divisor", "200/10%", "2000", StartNew, 0},
        {"percent with nothing pending", "50%", "50", StartNew, 0},
        {"percent after a completed sum computes nothing", "2+3=10%", "10", StartNew, 0},
        {"one third", "1/3=", "0.333333333333333", StartNew, 0},
        {"division by zero", "1/0=", "Error", Failed, 1},
        {"percent of zero as a divisor", "5/0%", "Error", Failed, 1},
        {"error ignores every key but clear", "1/0=5+.Q_R{BS}{MR}{MS}{MP}{PASTE}", "Error", Failed,
         1},
        {"upper-case C clears an error", "1/0=C", "0", StartNew, 1},
        {"lower-case c clears an error", "1/0=c", "0", StartNew, 1},
        {"escape clears an error", "1/0={ESC}", "0", StartNew, 1},
        {"calculation goes on after clearing", "1/0=C4+4=", "8", StartNew, 1},
        {"digit after a result starts a new number", "2+3=7", "7", Entering, 0},
        {"backspace after a result", "2+3={BS}", "0", Entering, 0},
        {"equals again repeats nothing", "2+3==", "5", StartNew, 0},
        {"second operator replaces the first", "2+*3=", "6", StartNew, 0},
        {"result feeds the next operation", "2+3=*4=", "20", StartNew, 0},
        {"enter acts as equals", "2+3{ENTER}", "5", StartNew, 0},
        {"recalled memory takes further digits", "5{MS}C{MR}3", "53", Entering, 0},
        {"memory plus adds the display", "5{MS}3{MP}{MR}", "8", Entering, 0},
        {"memory clear", "5{MS}{MC}{MR}", "0", Entering, 0},
        {"zero on zero", "00", "0", Entering, 0},
        {"separator on zero", "0.", "0.", Entering, 0},
        {"second separator ignored", "0..", "0.", Entering, 0},
        {"comma is a separator key", "1,5", "1.5", Entering, 0},
        {"separator after a result starts a new number", "2+3=.5", "0.5", Entering, 0},
        {"fifteen characters", "123456789012345", "123456789012345", Entering, 0},
        {"sixteenth digit refused", "1234567890123456", "123456789012345", Entering, 1},
        {"separator counts towards the length", "1234567.89012345", "1234567.8901234", Entering, 1},
        {"a leading minus gives one more digit", "12345678901234_56", "-123456789012345", Entering,
         1},
        {"large product in scientific notation", "10000000000*10000000000=", "1E20", StartNew, 0},
        {"recalled 1E20 refuses digits and the separator", "10000000000*10000000000={MS}{MR}5.",
         "1E20", Entering, 0},
        {"sign change on zero", "_", "0", StartNew, 0},
        {"sign change tidies an unfinished entry", "12._", "-12", Entering, 0},
        {"digits append after a sign change", "12._3", "-123", Entering, 0},
        {"sign change of a result keeps it a result", "2+3=_4", "4", Entering, 0},
        {"backspace removes the last character", "12.5{BS}", "12.", Entering, 0},
        {"backspace into a recalled exponent", "4000000R{MS}{MR}{BS}{BS}+1=", "3.5", StartNew, 0},
        {"backspace on one digit", "7{BS}", "0", Entering, 0},
        {"backspace on a negative digit", "7_{BS}", "0", Entering, 0},
        {"square root", "16Q", "4", StartNew, 0},
        {"square root of a negative number", "4_q", "Error", Failed, 1},
        {"reciprocal", "4R", "0.25", StartNew, 0},
        {"reciprocal of zero", "0r", "Error", Failed, 1},
        {"OK tidies an unfinished entry", "12.{OK}", "12", Entering, 0},
        {"OK refused while failed", "1/0={OK}", "Error", Failed, 2},
        {"unknown keys do nothing", "2+3=xyz#", "5", StartNew, 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.situation);
        engine.open(0, 0);
        beeps = 0;
        type(c.keys);
        EXPECT_EQ(engine.display(), c.display);
        EXPECT_EQ(engine.state(), c.state);
        EXPECT_EQ(beeps, c.beeps);
    }
}

TEST_F(CalculatorEngineTest, OkAcceptsUnlessFailed) {
    type("12.{OK}");
    EXPECT_EQ(accepted, true);
    type("/0={OK}");
    EXPECT_EQ(accepted, false);
}

TEST_F(CalculatorEngineTest, OpeningWithAValueShowsItAsAResult) {
    engine.open(42, 5);
    EXPECT_EQ(engine.display(), "42");
    EXPECT_EQ(engine.state(), EntryState::StartNew);
    EXPECT_EQ(engine.pendingOperator(), '=');
    type("7");
    EXPECT_EQ(engine.display(), "7");

    engine.open(42, 5);
    type("+1=");
    EXPECT_EQ(engine.display(), "43");
    type("{MR}");
    EXPECT_EQ(engine.display(), "5");
}

TEST_F(CalculatorEngineTest, OpeningWithZeroLeavesNothingPending) {
    engine.open(0, 0);
    EXPECT_EQ(engine.display(), "0");
    EXPECT_EQ(engine.pendingOperator(), '\0');
    type("5=");
    EXPECT_EQ(engine.display(), "5");
}

TEST_F(CalculatorEngineTest, MemoryClearActsEvenWhileFailed) {
    type("5{MS}1/0={MC}");
    EXPECT_EQ(engine.memory(), 0);
    EXPECT_EQ(engine.display(), "Error");
}

TEST_F(CalculatorEngineTest, MemoryStoreEndsTheEntry) {
    type("12{MS}3");
    EXPECT_EQ(engine.memory(), 12);
    EXPECT_EQ(engine.display(), "3");
}

TEST_F(CalculatorEngineTest, OverflowStopsTheKeyAndKeepsThePendingOperation) {
    engine.open(1e300, 0);
    type("*1000000000");
    EXPECT_EQ(pellion::testing::errorText([&] { type("="); }), "Floating point overflow");
    EXPECT_EQ(engine.display(), "1000000000");
    EXPECT_EQ(engine.state(), EntryState::StartNew);
    EXPECT_EQ(engine.pendingOperator(), '*');
    EXPECT_EQ(engine.operand(), 1e300);

    type("1=");
    EXPECT_EQ(engine.display(), "1E300");
}

TEST_F(CalculatorEngineTest, ExtendedPrecisionKeepsIntermediateResultsInRange) {
    // 1e300 * 1e10 overflows a double, but the percent step divides by 100
    // before the result is rounded.
    engine.open(1e300, 0);
    type("*10000000000%");
    EXPECT_EQ(engine.display(), "1E308");
}

TEST_F(CalculatorEngineTest, ReciprocalOfTheSmallestDoubleOverflows) {
    const double tiny = std::numeric_limits<double>::denorm_min();
    engine.open(tiny, 0);
    const std::string shown = engine.display();
    EXPECT_THROW(type("R"), pellion::Error);
    EXPECT_EQ(engine.display(), shown);
    EXPECT_EQ(engine.state(), EntryState::StartNew);
}

TEST_F(CalculatorEngineTest, MemoryPlusOverflowKeepsTheMemory) {
    engine.open(1e308, 1e308);
    EXPECT_THROW(type("{MP}"), pellion::Error);
    EXPECT_EQ(engine.memory(), 1e308);
}

TEST_F(CalculatorEngineTest, CopyPutsTheDisplayOnTheClipboard) {
    type("12.5{COPY}");
    EXPECT_EQ(clipboard, "12.5");

    type("/0=");
    type("{COPY}");
    EXPECT_EQ(clipboard, "12.5") << "the key is ignored while failed";
    engine.copy();
    EXPECT_EQ(clipboard, "Error") << "the menu item acts in every state";
}

struct PasteCase {
    const char* situation;
    const char* clipboard;
    const char* display;
};

TEST_F(CalculatorEngineTest, PasteShowsTheClipboardNumber) {
    const PasteCase cases[] = {
        {"plain number", "42", "42"},
        {"currency symbol and spaces removed", " $ 1234.5 ", "1234.5"},
        {"every currency symbol removed", "$12$", "12"},
        {"trailing line break", "7\n", "7"},
        {"rounded to the display precision", "0.1234567890123456789", "0.123456789012346"},
        {"not a number", "abc", "0"},
        {"thousands separators are not accepted", "$1,234", "0"},
        {"empty text", "", "0"},
    };
    for (const PasteCase& c : cases) {
        SCOPED_TRACE(c.situation);
        engine.open(0, 0);
        type("9");
        clipboard = c.clipboard;
        type("{PASTE}");
        EXPECT_EQ(engine.display(), c.display);
    }
}

TEST_F(CalculatorEngineTest, PasteKeepsTheEntryState) {
    type("2+3=");
    clipboard = "7";
    type("{PASTE}");
    EXPECT_EQ(engine.display(), "7");
    type("1");
    EXPECT_EQ(engine.display(), "1") << "still a result, so a digit starts a new number";

    type("2");
    clipboard = "3";
    type("{PASTE}4");
    EXPECT_EQ(engine.display(), "34") << "still entering, so digits are appended";
}

TEST_F(CalculatorEngineTest, PasteWithoutTextOnTheClipboardDoesNothing) {
    type("9");
    clipboard.reset();
    type("{PASTE}");
    EXPECT_EQ(engine.display(), "9");
}

TEST_F(CalculatorEngineTest, UsesTheUsersDecimalSeparator) {
    pellion::FormatSettings comma = pointSettings();
    comma.decimalSeparator = ',';
    comma.thousandSeparator = '.';
    pellion::ScopedFormatSettings scoped(comma);

    type("1.5+1,25=");
    EXPECT_EQ(engine.display(), "2,75");
    EXPECT_EQ(engine.ReadDisplay(), 2.75);
}

TEST_F(CalculatorEngineTest, CalcKeyNoticeSeesUpperCasedKeysThatAreNotIgnored) {
    std::string seen;
    pellion::CalculatorEvents events;
    events.calcKey = [&seen](char key) { seen += key; };
    engine.setEvents(std::move(events));
    engine.open(0, 0);
    type("1q0r5c");
    EXPECT_EQ(seen, "1Q0RC");
}

struct RoutingCase {
    char typed;
    std::optional<char> button;
};

TEST(CalculatorKeyRouting, TypedCharactersFindTheirButtons) {
    pellion::FormatSettings settings;
    settings.decimalSeparator = ';'; // unusual, to tell it apart from '.' and ','
    pellion::ScopedFormatSettings scoped(settings);
    namespace keys = pellion::calculatorkeys;
    const RoutingCase cases[] = {
        {'7', '7'},
        {'.', '.'},
        {',', '.'},
        {';', '.'},
        {'_', '_'},
        {'/', '/'},
        {'*', '*'},
        {'-', '-'},
        {'+', '+'},
        {'%', '%'},
        {'q', 'Q'},
        {'Q', 'Q'},
        {'r', 'R'},
        {'=', '='},
        {keys::Enter, '='},
        {keys::Escape, 'C'},
        {'c', 'C'},
        {keys::Backspace, keys::Backspace},
        {'x', std::nullopt},
        {keys::CtrlC, std::nullopt},
        {keys::CtrlV, std::nullopt},
        {'\0', std::nullopt},
    };
    for (const RoutingCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "typed code " << int(c.typed));
        EXPECT_EQ(CalculatorEngine::buttonKeyFor(c.typed), c.button);
    }
}

} // namespace
