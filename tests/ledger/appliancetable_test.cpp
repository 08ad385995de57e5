#include "ledger/appliancetable.h"

#include "engine/numberformat.h"
#include "tests/errortext.h"
#include "tests/ledger/englishlikecomparison.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <stdexcept>

namespace pellion {
namespace {

using testing::errorText;

class RecordingListener : public TableListener {
public:
    void tableChanged(TableChange change) override { changes.push_back(change); }
    std::vector<TableChange> changes;
};

class TableTest : public ::testing::Test {
public:
    Field& name() { return table.FieldNamed("appliance"); }
    Field& wattage() { return table.FieldNamed("wattage"); }
    Field& voltage() { return table.FieldNamed("voltage"); }

    void append(const std::string& applianceName) {
        table.StartAppend();
        name().AssignText(applianceName);
        table.PostRecord();
    }

    void appendAll(const std::vector<std::string>& names) {
        for (const auto& n : names)
            append(n);
    }

    void appendWithWattage(const std::string& applianceName, std::optional<double> watts) {
        table.StartAppend();
        name().AssignText(applianceName);
        if (watts)
            wattage().AssignNumber(*watts);
        table.PostRecord();
    }

    void loadAll(const std::vector<std::pair<std::string, double>>& records) {
        table.setLoading(true);
        for (const auto& [n, watts] : records)
            appendWithWattage(n, watts);
        table.setLoading(false);
    }

    void goTo(int position) {
        table.GoFirst();
        for (int i = 0; i < position; ++i)
            table.GoNext();
    }

    // The view as the grid sees it: state, then the names of all rows with
    // the current one in brackets ("_" for an empty name).
    std::string view() const {
        static const char* const states[] = {"closed", "browsing", "editing", "inserting"};
        std::string text = states[int(table.state())];
        text += ":";
        int nameIndex = 1;
        for (int row = 0; row < table.viewRowCount(); ++row) {
            std::string n = table.shownTextAt(row, nameIndex);
            if (n.empty())
                n = "_";
            text += " " + (row == table.currentViewRow() ? "[" + n + "]" : n);
        }
        return text;
    }

    std::string names() const {
        std::string text;
        for (int row = 0; row < table.RecordTotal(); ++row)
            text += (row ? " " : "") + table.storedTextAt(row, 1);
        return text;
    }

    ApplianceTable table;
};

TEST(StandardFields, CarryTheirAttributes) {
    struct Expected {
        const char* name;
        FieldType type;
        int size;
        const char* label;
        std::optional<std::string> format;
        int precision;
        int width;
        Alignment alignment;
    };
    const Expected expected[] = {
        {"amperage", FieldType::Number, 0, "Amperage", std::nullopt, 2, 10, Alignment::Right},
        {"appliance", FieldType::Text, 50, "Appliance", std::nullopt, 15, 50, Alignment::Left},
        {"costday", FieldType::Number, 0, "Cost/Day", "#.00", 2, 10, Alignment::Right},
        {"costhour", FieldType::Number, 0, "Cost/Hour", "#.00", 2, 10, Alignment::Right},
        {"hrsday", FieldType::Number, 0, "Daily Usage(Hrs)", "#.00", 2, 10, Alignment::Right},
        {"kilowattshour", FieldType::Number, 0, "KWH", "#.00", 2, 10, Alignment::Right},
        {"voltage", FieldType::Number, 0, "Voltage", "#.00", 2, 10, Alignment::Right},
        {"wattage", FieldType::Number, 0, "Wattage", "#.00", 2, 10, Alignment::Right},
    };
    ApplianceTable table;
    ASSERT_EQ(table.fieldCount(), 8);
    for (int i = 0; i < 8; ++i) {
        const Expected& e = expected[i];
        SCOPED_TRACE(e.name);
        const Field& f = table.field(i);
        EXPECT_EQ(f.fieldName(), e.name);
        EXPECT_EQ(f.index(), i);
        EXPECT_EQ(f.type(), e.type);
        EXPECT_EQ(f.definition().size, e.size);
        EXPECT_EQ(f.displayName(), e.label);
        EXPECT_EQ(f.definition().displayFormat, e.format);
        if (e.type == FieldType::Number)
            EXPECT_EQ(f.definition().precision, e.precision);
        EXPECT_EQ(f.definition().displayWidth, e.width);
        EXPECT_EQ(f.alignment(), e.alignment);
        EXPECT_FALSE(f.readOnly());
        EXPECT_FALSE(f.definition().required);
        EXPECT_TRUE(f.definition().visible);
        EXPECT_TRUE(f.definition().editMask.empty());
        EXPECT_TRUE(f.definition().defaultExpression.empty());
    }
}

TEST_F(TableTest, FieldNamedIgnoresCaseAndNamesTheMissingFieldAsWritten) {
    EXPECT_EQ(&table.FieldNamed("Appliance"), &table.field(1));
    EXPECT_EQ(&table.FieldNamed("KILOWATTSHOUR"), &table.field(5));
    EXPECT_EQ(table.findField("price"), nullptr);
    EXPECT_EQ(errorText([&] { table.FieldNamed("Price"); }), "KMT: Field 'Price' not found");
}

TEST_F(TableTest, ReplacedFieldsAreFoundByNameAndDropTheRecords) {
    appendAll({"Kettle", "Fridge"});
    std::vector<FieldDefinition> definitions = standardFields();
    definitions[0].displayLabel = "";
    definitions[0].precision = 40;
    definitions[3].readOnly = true;
    table.replaceFields(definitions);
    EXPECT_EQ(table.RecordTotal(), 0);
    EXPECT_EQ(table.FieldNamed("amperage").displayName(), "amperage");
    EXPECT_EQ(table.FieldNamed("amperage").definition().precision, 15);
    EXPECT_TRUE(table.FieldNamed("costhour").readOnly());
}

TEST_F(TableTest, EmptyFieldsReadAsNothing) {
    table.StartInsert();
    EXPECT_FALSE(voltage().HasValue());
    EXPECT_EQ(voltage().NumberValue(), 0);
    EXPECT_EQ(voltage().TextValue(), "");
    EXPECT_EQ(voltage().ShownText(), "");
    EXPECT_FALSE(name().HasValue());
    EXPECT_EQ(name().TextValue(), "");
}

TEST_F(TableTest, AssignTextOnANumberField) {
    table.StartInsert();
    voltage().AssignText("240");
    EXPECT_EQ(voltage().NumberValue(), 240);
    EXPECT_EQ(voltage().TextValue(), "240");
    EXPECT_EQ(voltage().ShownText(), "240.00");

    voltage().AssignText("");
    EXPECT_FALSE(voltage().HasValue());

    voltage().AssignNumber(110);
    EXPECT_EQ(errorText([&] { voltage().AssignText("abc"); }),
              "'abc' is not a valid floating point value for field 'Voltage'");
    EXPECT_EQ(voltage().NumberValue(), 110);
    EXPECT_EQ(table.state(), TableState::Inserting);
}

TEST_F(TableTest, ShownTextFollowsTheFieldsFormat) {
    struct Case {
        const char* situation;
        const char* field;
        double value;
        const char* shown;
    };
    const Case cases[] = {
        {"pattern, whole", "voltage", 240, "240.00"},
        {"pattern, below one", "voltage", 0.5, ".50"},
        {"pattern, zero", "costday", 0, ".00"},
        {"two digits, rounded half away from zero", "amperage", 12.5, "13"},
        {"two digits, exponent", "amperage", 123, "1.2E2"},
    };
    table.StartInsert();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        table.FieldNamed(c.field).AssignNumber(c.value);
        EXPECT_EQ(table.FieldNamed(c.field).ShownText(), c.shown);
        EXPECT_EQ(table.shownTextAt(0, table.FieldNamed(c.field).index()), c.shown);
    }
    voltage().AssignNumber(0.1 + 0.2);
    EXPECT_EQ(voltage().TextValue(), "0.3");
}

TEST_F(TableTest, FieldsWithoutAPatternShowFifteenDigits) {
    std::vector<FieldDefinition> definitions = standardFields();
    for (auto& d : definitions) {
        d.displayFormat.reset();
        d.precision = 15;
    }
    table.replaceFields(definitions);
    table.StartInsert();
    table.FieldNamed("amperage").AssignNumber(86957 * 0.0001);
    voltage().AssignNumber(240);
    table.FieldNamed("costday").AssignNumber(0.576);
    EXPECT_EQ(table.FieldNamed("amperage").ShownText(), "8.6957");
    EXPECT_EQ(voltage().ShownText(), "240");
    EXPECT_EQ(table.FieldNamed("costday").ShownText(), "0.576");
}

TEST(TableSeparators, NumbersUseTheSeparatorInForce) {
    FormatSettings comma;
    comma.decimalSeparator = ',';
    comma.thousandSeparator = '.';
    ScopedFormatSettings scope(comma);
    ApplianceTable table;
    EXPECT_EQ(table.FieldNamed("voltage").definition().decimalSeparator, ',');
    table.StartInsert();
    table.FieldNamed("voltage").AssignText("1,5");
    EXPECT_EQ(table.FieldNamed("voltage").NumberValue(), 1.5);
    EXPECT_EQ(table.FieldNamed("voltage").ShownText(), "1,50");
    EXPECT_EQ(table.FieldNamed("voltage").TextValue(), "1,5");
}

TEST_F(TableTest, AssignTextOnTheTextField) {
    struct Case {
        const char* situation;
        std::string text;
        std::string stored;
    };
    const std::string sixty(60, 'x');
    std::string accented;
    for (int i = 0; i < 60; ++i)
        accented += "\xC3\xA9";                  // é
    const std::string grin = "\xF0\x9F\x98\x80"; // four bytes, one character
    std::string grins;
    for (int i = 0; i < 60; ++i)
        grins += grin;
    const Case cases[] = {
        {"empty text is a value", "", ""},
        {"sixty characters keep fifty", sixty, std::string(50, 'x')},
        {"characters, not bytes", accented, accented.substr(0, 100)},
        {"cut at the first NUL", std::string("Ket\0tle", 7), "Ket"},
        {"a four-byte character as the fiftieth is kept whole", std::string(49, 'x') + grin + "yz",
         std::string(49, 'x') + grin},
        {"a four-byte character as the fifty-first goes whole", std::string(50, 'x') + grin,
         std::string(50, 'x')},
        {"sixty four-byte characters keep fifty", grins, grins.substr(0, 200)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        table.StartInsert();
        name().AssignText(c.text);
        EXPECT_TRUE(name().HasValue());
        EXPECT_EQ(name().TextValue(), c.stored);
        EXPECT_EQ(name().ShownText(), c.stored);
        name().ClearValue();
        EXPECT_FALSE(name().HasValue());
        table.CancelRecord();
    }
}

TEST_F(TableTest, WriteChecksStateThenReadOnlyThenConversion) {
    append("Kettle");
    voltage().setReadOnly(true);
    EXPECT_EQ(errorText([&] { voltage().AssignText("abc"); }), "KMT: Dataset is not in edit mode.");
    EXPECT_EQ(errorText([&] { voltage().AssignNumber(1); }), "KMT: Dataset is not in edit mode.");
    table.StartEdit();
    EXPECT_EQ(errorText([&] { voltage().AssignText("abc"); }), "Field Voltage is read only");
    EXPECT_EQ(errorText([&] { voltage().ClearValue(); }), "Field Voltage is read only");
    EXPECT_FALSE(table.modified());
    voltage().setReadOnly(false);
    EXPECT_EQ(errorText([&] { voltage().AssignText("abc"); }),
              "'abc' is not a valid floating point value for field 'Voltage'");
    EXPECT_FALSE(table.modified());
}

TEST_F(TableTest, LoadingIgnoresReadOnlyAndLeavesRecordsUnposted) {
    voltage().setReadOnly(true);
    table.setLoading(true);
    table.StartAppend();
    voltage().AssignText("230");
    table.PostRecord();
    table.setLoading(false);
    EXPECT_EQ(table.storedNumberAt(0, voltage().index()), 230);
    table.StartEdit();
    EXPECT_EQ(errorText([&] { voltage().AssignNumber(1); }), "Field Voltage is read only");
}

TEST_F(TableTest, FailuresOnAnEmptyOrClosedTable) {
    EXPECT_EQ(errorText([&] { table.RemoveRecord(); }),
              "KMT: Cannot perform this operation on an empty dataset");
    EXPECT_EQ(errorText([&] { table.PostRecord(); }), "KMT: Dataset not in edit or insert mode");

    table.close();
    const std::string closed = "KMT: Cannot perform this operation on a closed dataset";
    const std::pair<const char*, std::function<void()>> refused[] = {
        {"GoFirst", [&] { table.GoFirst(); }},
        {"GoLast", [&] { table.GoLast(); }},
        {"GoNext", [&] { table.GoNext(); }},
        {"GoPrior", [&] { table.GoPrior(); }},
        {"StartEdit", [&] { table.StartEdit(); }},
        {"StartInsert", [&] { table.StartInsert(); }},
        {"StartAppend", [&] { table.StartAppend(); }},
        {"RemoveRecord", [&] { table.RemoveRecord(); }},
        {"RecordTotal", [&] { table.RecordTotal(); }},
    };
    for (const auto& [operation, action] : refused) {
        SCOPED_TRACE(operation);
        EXPECT_EQ(errorText(action), closed);
        EXPECT_EQ(table.state(), TableState::Closed);
    }
    table.SortByFields("wattage");
    EXPECT_FALSE(table.sorted());
    EXPECT_EQ(errorText([&] { table.PostRecord(); }), "KMT: Dataset not in edit or insert mode");
    EXPECT_EQ(errorText([&] { voltage().AssignNumber(1); }), "KMT: Dataset is not in edit mode.");
    table.open();
    EXPECT_EQ(table.RecordTotal(), 0);
}

struct CursorCase {
    const char* situation;
    int current; // 0-based position in A B C before the action
    std::function<void(TableTest&)> action;
    const char* view;
    int total;
};

class CursorTest : public TableTest {
public:
    void TestBody() override {}
    void run(const CursorCase& c) {
        appendAll({"A", "B", "C"});
        goTo(c.current);
        c.action(*this);
        EXPECT_EQ(view(), c.view);
        EXPECT_EQ(table.RecordTotal(), c.total);
    }
};

TEST(CursorAndStates, FromThreeRows) {
    const CursorCase cases[] = {
        {"insert shows the new row before the current one", 1,
         [](TableTest& t) { t.table.StartInsert(); }, "inserting: A [_] B C", 3},
        {"insert at the first row", 0, [](TableTest& t) { t.table.StartInsert(); },
         "inserting: [_] A B C", 3},
        {"append shows the new row last", 0, [](TableTest& t) { t.table.StartAppend(); },
         "inserting: A B C [_]", 3},
        {"post an insert: placed before the old current, and current", 1,
         [](TableTest& t) {
             t.table.StartInsert();
             t.table.FieldNamed("appliance").AssignText("N");
             t.table.PostRecord();
         },
         "browsing: A [N] B C", 4},
        {"post an append: last and current", 0,
         [](TableTest& t) {
             t.table.StartAppend();
             t.table.FieldNamed("appliance").AssignText("N");
             t.table.PostRecord();
         },
         "browsing: A B C [N]", 4},
        {"cancel an insert: the old current again", 1,
         [](TableTest& t) {
             t.table.StartInsert();
             t.table.FieldNamed("appliance").AssignText("N");
             t.table.CancelRecord();
         },
         "browsing: A [B] C", 3},
        {"cancel an append falls on the last row", 0,
         [](TableTest& t) {
             t.table.StartAppend();
             t.table.CancelRecord();
         },
         "browsing: A B [C]", 3},
        {"untouched insert vanishes on a move", 1,
         [](TableTest& t) {
             t.table.StartInsert();
             t.table.GoNext();
         },
         "browsing: A B [C]", 3},
        {"written insert is posted by a move", 1,
         [](TableTest& t) {
             t.table.StartInsert();
             t.table.FieldNamed("voltage").AssignNumber(1);
             t.table.GoFirst();
         },
         "browsing: [A] _ B C", 4},
        {"an unchanged value written still posts", 1,
         [](TableTest& t) {
             t.table.StartEdit();
             t.table.FieldNamed("appliance").AssignText("B");
             EXPECT_TRUE(t.table.modified());
             t.table.GoNext();
         },
         "browsing: A B [C]", 3},
        {"edit shows its copy in the view", 2,
         [](TableTest& t) {
             t.table.StartEdit();
             t.table.FieldNamed("appliance").AssignText("Z");
         },
         "editing: A B [Z]", 3},
        {"cancel an edit restores the stored values", 2,
         [](TableTest& t) {
             t.table.StartEdit();
             t.table.FieldNamed("appliance").AssignText("Z");
             t.table.CancelRecord();
         },
         "browsing: A B [C]", 3},
        {"start edit while inserting changes nothing", 1,
         [](TableTest& t) {
             t.table.StartInsert();
             t.table.StartEdit();
         },
         "inserting: A [_] B C", 3},
        {"remove the first row", 0, [](TableTest& t) { t.table.RemoveRecord(); }, "browsing: [B] C",
         2},
        {"remove the middle row: the next follows", 1, [](TableTest& t) { t.table.RemoveRecord(); },
         "browsing: A [C]", 2},
        {"remove the last row: the new last", 2, [](TableTest& t) { t.table.RemoveRecord(); },
         "browsing: A [B]", 2},
        {"remove while editing drops the edit and the row", 1,
         [](TableTest& t) {
             t.table.StartEdit();
             t.table.FieldNamed("appliance").AssignText("Z");
             t.table.RemoveRecord();
         },
         "browsing: A [C]", 2},
        {"remove while inserting cancels the insert", 1,
         [](TableTest& t) {
             t.table.StartInsert();
             t.table.FieldNamed("appliance").AssignText("N");
             t.table.RemoveRecord();
         },
         "browsing: A [B] C", 3},
    };
    for (const CursorCase& c : cases) {
        SCOPED_TRACE(c.situation);
        CursorTest test;
        test.run(c);
    }
}

TEST_F(TableTest, MovesSetTheEndFlags) {
    struct Step {
        const char* move;
        std::function<void()> action;
        int rowNumber;
        bool atStart;
        bool atEnd;
    };
    appendAll({"A", "B"});
    const Step steps[] = {
        {"GoFirst", [&] { table.GoFirst(); }, 1, true, false},
        {"GoPrior at the start", [&] { table.GoPrior(); }, 1, true, false},
        {"GoNext", [&] { table.GoNext(); }, 2, false, false},
        {"GoNext at the end", [&] { table.GoNext(); }, 2, false, true},
        {"GoPrior", [&] { table.GoPrior(); }, 1, false, false},
        {"GoLast", [&] { table.GoLast(); }, 2, false, true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.move);
        s.action();
        EXPECT_EQ(table.RowNumber(), s.rowNumber);
        EXPECT_EQ(table.AtStart(), s.atStart);
        EXPECT_EQ(table.AtEnd(), s.atEnd);
    }
}

TEST_F(TableTest, EmptyTable) {
    table.GoFirst();
    EXPECT_TRUE(table.AtStart());
    EXPECT_TRUE(table.AtEnd());
    EXPECT_EQ(table.RowNumber(), -1);
    EXPECT_EQ(table.currentViewRow(), -1);

    table.StartEdit();
    EXPECT_EQ(table.state(), TableState::Inserting);
    voltage().ClearValue();
    table.PostRecord();
    EXPECT_EQ(table.RecordTotal(), 1);
    for (int f = 0; f < table.fieldCount(); ++f)
        EXPECT_FALSE(table.storedHasValueAt(0, f));

    table.RemoveRecord();
    EXPECT_EQ(view(), "browsing:");
    EXPECT_EQ(table.RowNumber(), -1);
    EXPECT_EQ(table.RecordTotal(), 0);
}

TEST_F(TableTest, StoredValuesIgnoreAPendingEdit) {
    append("Kettle");
    table.StartEdit();
    name().AssignText("Toaster");
    EXPECT_EQ(table.shownTextAt(0, 1), "Toaster");
    EXPECT_EQ(table.storedTextAt(0, 1), "Kettle");
    EXPECT_TRUE(table.hasValueAt(0, 1));
    EXPECT_FALSE(table.hasValueAt(0, 0));
    EXPECT_FALSE(table.hasValueAt(5, 1));
    EXPECT_EQ(table.shownTextAt(-1, 1), "");
}

TEST_F(TableTest, RowOrderFollowsStorageAfterALoadAndFreedSlotsAreReused) {
    loadAll({{"A", 1}, {"B", 2}, {"C", 3}});
    goTo(0);
    table.RemoveRecord(); // frees slot 0
    goTo(1);
    table.RemoveRecord(); // frees slot 2, the most recent
    EXPECT_EQ(names(), "B");
    // A load with no definitions appends to what the table holds; the new
    // records fill the freed slots, the most recently freed first.
    loadAll({{"D", 4}, {"E", 5}, {"F", 6}});
    EXPECT_EQ(names(), "E B D F");
    EXPECT_EQ(table.RowNumber(), 1);
}

TEST_F(TableTest, SortByWattagePutsEmptyFirstAndKeepsTheCurrentRecord) {
    appendWithWattage("hundred", 100);
    appendWithWattage("none", std::nullopt);
    appendWithWattage("forty", 40);
    goTo(0);
    table.SortByFields(" wattage ");
    EXPECT_TRUE(table.sorted());
    EXPECT_EQ(view(), "browsing: none forty [hundred]");
    EXPECT_EQ(table.RowNumber(), 3);
}

TEST_F(TableTest, SortByNameUsesTheComparisonHandedIn) {
    appendAll({"banana", "Apple", "apple"});
    table.SortByFields("appliance");
    EXPECT_EQ(names(), "Apple apple banana"); // bytes: upper case first

    table.setTextComparison(testing::englishLikeComparison);
    table.SortByFields("Appliance");
    EXPECT_EQ(names(), "apple Apple banana");
}

TEST_F(TableTest, AFailingComparisonLeavesTheRowOrder) {
    appendAll({"b", "a", "c"});
    table.setTextComparison(
        [](std::string_view, std::string_view) -> int { throw Error("Invalid locale. 1024"); });
    goTo(2);
    EXPECT_EQ(errorText([&] { table.SortByFields("appliance"); }), "Invalid locale. 1024");
    EXPECT_FALSE(table.sorted());
    EXPECT_EQ(view(), "browsing: b a [c]");
}

TEST_F(TableTest, AComparisonFailingOnPostKeepsTheRecordInTheRowOrder) {
    appendAll({"b", "a"});
    table.SortByFields("appliance");
    table.setTextComparison(
        [](std::string_view, std::string_view) -> int { throw Error("Invalid locale. 1024"); });
    table.StartAppend();
    name().AssignText("c");
    EXPECT_EQ(errorText([&] { table.PostRecord(); }), "Invalid locale. 1024");
    EXPECT_FALSE(table.sorted());
    EXPECT_EQ(view(), "browsing: b a [c]");
}

TEST_F(TableTest, SortingByAnUnknownFieldDropsTheSortOrder) {
    appendWithWattage("B", 2);
    appendWithWattage("A", 1);
    table.SortByFields("wattage");
    EXPECT_EQ(names(), "A B");
    EXPECT_EQ(errorText([&] { table.SortByFields("price"); }), "KMT: Field 'price' not found");
    EXPECT_FALSE(table.sorted());
    EXPECT_EQ(names(), "B A");
    EXPECT_EQ(table.RowNumber(), 2); // A stays current
}

TEST_F(TableTest, LoadedRecordsWithEqualKeysKeepFileOrder) {
    std::vector<std::pair<std::string, double>> records;
    for (int i = 0; i < 60; ++i)
        records.push_back({std::to_string(i), double((i * 7) % 3)});
    loadAll(records);
    table.SortByFields("wattage");
    std::string expected;
    for (int key = 0; key < 3; ++key)
        for (int i = 0; i < 60; ++i)
            if ((i * 7) % 3 == key)
                expected += (expected.empty() ? "" : " ") + std::to_string(i);
    EXPECT_EQ(names(), expected);
}

TEST_F(TableTest, UnpostedRecordsGoBeforePostedOnesWithTheSameKey) {
    loadAll({{"X", 5}, {"Y", 5}});
    goTo(0);
    table.StartEdit();
    wattage().AssignNumber(5); // same value: still a post
    table.GoNext();
    table.SortByFields("wattage");
    EXPECT_EQ(names(), "Y X");
}

TEST_F(TableTest, PostedEqualKeysFollowTheQuicksortExactly) {
    // Five or fewer records only see the insertion sort and keep storage
    // order; from six on the partitioning swaps equal records about.
    for (const char* n : {"a0", "a1", "a2", "a3", "a4"})
        appendWithWattage(n, 1);
    table.SortByFields("wattage");
    EXPECT_EQ(names(), "a0 a1 a2 a3 a4");

    appendWithWattage("a5", 1);
    table.SortByFields("wattage");
    EXPECT_EQ(names(), "a0 a3 a4 a2 a1 a5");
}

TEST_F(TableTest, SortingSettlesAPendingEdit) {
    appendWithWattage("A", 10);
    appendWithWattage("B", 20);
    goTo(0);
    table.StartEdit();
    wattage().AssignNumber(30);
    table.SortByFields("wattage");
    EXPECT_EQ(view(), "browsing: B [A]");

    table.StartInsert();
    table.SortByFields("wattage");
    EXPECT_EQ(view(), "browsing: B [A]");
}

TEST_F(TableTest, EditingTheKeyMovesTheRecordAndLeavesTheCursorInPlace) {
    appendWithWattage("ten", 10);
    appendWithWattage("twenty", 20);
    appendWithWattage("thirty", 30);
    table.SortByFields("wattage");
    goTo(0);
    table.StartEdit();
    wattage().AssignNumber(25);
    table.PostRecord();
    EXPECT_EQ(names(), "twenty ten thirty");
    EXPECT_EQ(table.RowNumber(), 1);
    EXPECT_EQ(table.FieldNamed("appliance").TextValue(), "twenty");
}

TEST_F(TableTest, ANewRecordGoesBeforeEqualKeysWhateverTheTableSize) {
    for (int size : {4, 30}) {
        SCOPED_TRACE(size);
        table.replaceFields(standardFields());
        for (int i = 0; i < size; ++i)
            appendWithWattage("old" + std::to_string(i), double(i));
        table.SortByFields("wattage");
        goTo(0);
        table.StartInsert();
        name().AssignText("new");
        wattage().AssignNumber(2);
        table.PostRecord();
        EXPECT_EQ(table.storedTextAt(2, 1), "new");
        EXPECT_EQ(table.storedTextAt(3, 1), "old2");
        EXPECT_EQ(table.RowNumber(), 1); // the insert began at the first row

        // Edited keys land the same way, moving down and up across many rows.
        goTo(2);
        table.StartEdit();
        wattage().AssignNumber(size - 1);
        table.PostRecord();
        EXPECT_EQ(table.storedTextAt(size - 1, 1), "new");
        EXPECT_EQ(table.storedTextAt(size, 1), "old" + std::to_string(size - 1));
        goTo(size - 1);
        table.StartEdit();
        wattage().ClearValue();
        table.PostRecord();
        EXPECT_EQ(table.storedTextAt(0, 1), "new");
    }
}

TEST_F(TableTest, RandomChangesKeepTheSortOrderAndEveryRecord) {
    // Names are unique; the model maps each stored name to its wattage.
    std::map<std::string, std::optional<double>> model;
    std::mt19937 random(7);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto randomWattage = [&]() -> std::optional<double> {
        int w = pick(12);
        return w == 0 ? std::nullopt : std::optional<double>(w * 10);
    };
    for (int i = 0; i < 25; ++i) {
        std::string n = "r" + std::to_string(i);
        model[n] = randomWattage();
        appendWithWattage(n, model[n]);
    }
    table.SortByFields("wattage");
    int next = 25;
    const int wattageIndex = wattage().index();
    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE(step);
        if (table.RecordTotal() > 0)
            goTo(pick(table.RecordTotal()));
        switch (pick(4)) {
        case 0: { // new record, posted or cancelled
            std::string n = "r" + std::to_string(next++);
            std::optional<double> w = randomWattage();
            pick(2) ? table.StartInsert() : table.StartAppend();
            name().AssignText(n);
            if (w)
                wattage().AssignNumber(*w);
            if (pick(4) == 0) {
                table.CancelRecord();
            } else {
                table.PostRecord();
                model[n] = w;
            }
            break;
        }
        case 1:
        case 2: { // edit the key, settled by a move
            if (table.RecordTotal() == 0)
                break;
            std::string n = name().TextValue();
            std::optional<double> w = randomWattage();
            table.StartEdit();
            w ? wattage().AssignNumber(*w) : wattage().ClearValue();
            table.GoNext();
            model[n] = w;
            break;
        }
        case 3: // remove, unless that would empty the table
            if (table.RecordTotal() > 1) {
                model.erase(name().TextValue());
                table.RemoveRecord();
            }
            break;
        }
        ASSERT_EQ(table.RecordTotal(), int(model.size()));
        std::optional<double> previous;
        for (int row = 0; row < table.RecordTotal(); ++row) {
            std::string n = table.storedTextAt(row, 1);
            ASSERT_EQ(model.count(n), 1u) << n;
            std::optional<double> w;
            if (table.storedHasValueAt(row, wattageIndex))
                w = table.storedNumberAt(row, wattageIndex);
            ASSERT_EQ(w, model[n]) << n;
            ASSERT_TRUE(row == 0 || !previous || (w && *previous <= *w)) << "row " << row;
            previous = w;
        }
    }
}

TEST_F(TableTest, AnAppendInASortedTableEndsOnTheLastRecord) {
    appendWithWattage("A", 10);
    appendWithWattage("B", 20);
    table.SortByFields("wattage");
    goTo(0);
    table.StartAppend();
    wattage().AssignNumber(5);
    table.PostRecord();
    EXPECT_EQ(view(), "browsing: _ A [B]");
}

TEST_F(TableTest, RemovingInASortedTableLeavesBothOrders) {
    appendWithWattage("B", 2);
    appendWithWattage("A", 1);
    appendWithWattage("C", 3);
    table.SortByFields("wattage");
    goTo(1);
    table.RemoveRecord();
    EXPECT_EQ(view(), "browsing: A [C]");
    table.SortByFields("");
    EXPECT_EQ(view(), "browsing: A [C]");
    EXPECT_FALSE(table.sorted());
}

TEST_F(TableTest, ALoadIntoASortedTableSortsAgainAndStartsAtTheFirstRecord) {
    appendWithWattage("B", 2);
    table.SortByFields("wattage");
    loadAll({{"C", 3}, {"A", 1}});
    EXPECT_TRUE(table.sorted());
    EXPECT_EQ(view(), "browsing: [A] B C");
}

TEST_F(TableTest, BookmarksFollowARecordThatMoved) {
    appendWithWattage("A", 1);
    appendWithWattage("B", 2);
    appendWithWattage("C", 3);
    table.SortByFields("wattage");
    std::vector<Bookmark> marks = table.bookmarksInOrder();
    goTo(0);
    table.StartEdit();
    wattage().AssignNumber(9);
    table.PostRecord();
    table.GoToBookmark(marks[0]);
    EXPECT_EQ(name().TextValue(), "A");
    EXPECT_EQ(table.currentBookmark(), marks[0]);
    table.GoToBookmark(marks[1]);
    EXPECT_EQ(name().TextValue(), "B");
    table.RemoveRecord();
    EXPECT_EQ(errorText([&] { table.GoToBookmark(marks[1]); }), "KMT: Record not found");
}

// A view's row names its record as drawn, with the new record in its place;
// reaching that record settles the new one without shifting the aim.
TEST_F(TableTest, ViewRowsNameTheRecordsDrawnThere) {
    appendWithWattage("A", 1);
    appendWithWattage("B", 2);
    appendWithWattage("C", 3);
    const std::vector<Bookmark> marks = table.bookmarksInOrder();
    goTo(1);
    table.StartInsert(); // drawn as A [new] B C
    const Bookmark drawn[] = {marks[0], nullptr, marks[1], marks[2], nullptr};
    for (int row = -1; row <= 4; ++row)
        EXPECT_EQ(table.bookmarkAtViewRow(row), row < 0 ? nullptr : drawn[row]) << row;
    table.GoToBookmark(table.bookmarkAtViewRow(3));
    EXPECT_EQ(name().TextValue(), "C");
    EXPECT_EQ(table.RecordTotal(), 3) << "the untouched new record is gone";
}

TEST_F(TableTest, ListenersHearEveryChange) {
    RecordingListener listener;
    table.addListener(&listener);
    using C = TableChange;
    struct Step {
        const char* action;
        std::function<void()> run;
        std::vector<TableChange> heard;
    };
    const Step steps[] = {
        {"append", [&] { table.StartAppend(); }, {C::Rows}},
        {"write", [&] { name().AssignText("A"); }, {C::CurrentValues}},
        {"post", [&] { table.PostRecord(); }, {C::Rows}},
        {"append and post", [&] { append("B"); }, {C::Rows, C::CurrentValues, C::Rows}},
        {"move", [&] { table.GoFirst(); }, {C::Cursor}},
        {"move nowhere", [&] { table.GoFirst(); }, {}},
        {"edit", [&] { table.StartEdit(); }, {C::Rows}},
        {"settle and move", [&] { table.GoNext(); }, {C::Rows, C::Cursor}},
        {"read-only mark", [&] { wattage().setReadOnly(true); }, {}},
        {"sort", [&] { table.SortByFields("appliance"); }, {C::Rows}},
        {"remove", [&] { table.RemoveRecord(); }, {C::Rows}},
        {"load",
         [&] {
             loadAll({{"C", 1}, {"D", 2}});
         },
         {C::Rows}},
        {"new fields", [&] { table.replaceFields(standardFields()); }, {C::Fields}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.action);
        listener.changes.clear();
        s.run();
        EXPECT_EQ(listener.changes, s.heard);
    }
    table.removeListener(&listener);
    listener.changes.clear();
    append("E");
    EXPECT_TRUE(listener.changes.empty());
}

// A pass over many records reaches the listeners once per kind of change,
// at the end of the outermost batch, however many writes it made.
TEST_F(TableTest, ABatchTellsEachKindOfChangeOnceAtItsEnd) {
    appendAll({"A", "B"});
    RecordingListener listener;
    table.addListener(&listener);
    using C = TableChange;
    struct Case {
        const char* situation;
        std::function<void()> run;
        std::vector<TableChange> heard;
    };
    const Case cases[] = {
        {"nothing changed", [] {}, {}},
        {"moves only",
         [&] {
             table.GoLast();
             table.GoFirst();
         },
         {C::Cursor}},
        {"edits of two records",
         [&] {
             table.GoFirst();
             table.StartEdit();
             name().AssignText("A1");
             wattage().AssignNumber(5);
             table.GoNext();
             table.StartEdit();
             name().AssignText("B1");
             table.PostRecord();
         },
         {C::Rows, C::Cursor, C::CurrentValues}},
        {"an inner batch",
         [&] {
             const ApplianceTable::ChangeBatch inner(table);
             table.StartEdit();
             wattage().AssignNumber(6);
         },
         {C::Rows, C::CurrentValues}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        listener.changes.clear();
        {
            const ApplianceTable::ChangeBatch batch(table);
            c.run();
            EXPECT_TRUE(listener.changes.empty());
        }
        EXPECT_EQ(listener.changes, c.heard);
    }
    EXPECT_EQ(table.storedTextAt(0, name().index()), "A1");
    EXPECT_EQ(table.storedTextAt(1, name().index()), "B1");
    table.removeListener(&listener);
}

} // namespace
} // namespace pellion
