#include "ledger/ledgerfile.h"

#include "base/error.h"
#include "engine/numberformat.h"
#include "ledger/appliancetable.h"
#include "tests/errortext.h"
#include "tests/scratchfolder.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <csignal>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace pellion {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kNoError = "(no error)";

using Value = std::optional<std::string>;
using Record = std::vector<Value>;

const fs::path kFixtures = PELLION_LEDGER_FIXTURES;

const char* const kClosedTable = "KMT: Cannot perform this operation on a closed dataset";

std::string lines(std::initializer_list<std::string> items) {
    std::string text;
    for (const std::string& item : items)
        text += item + "\r\n";
    return text;
}

// The eight standard definitions and the header, as the program writes them
// before any recalculation.
const std::string kStandardDefinitions = lines({
    R"x("@@FILE VERSION@@","251")x",
    R"x("@@TABLEDEF START@@")x",
    R"x("amperage=Float,0,""Amperage"","""",10,Data,""""")x",
    R"x("appliance=String,50,""Appliance"","""",50,Data,""""")x",
    R"x("costday=Float,0,""Cost/Day"","""",10,Data,""""")x",
    R"x("costhour=Float,0,""Cost/Hour"","""",10,Data,""""")x",
    R"x("hrsday=Float,0,""Daily Usage(Hrs)"","""",10,Data,""""")x",
    R"x("kilowattshour=Float,0,""KWH"","""",10,Data,""""")x",
    R"x("voltage=Float,0,""Voltage"","""",10,Data,""""")x",
    R"x("wattage=Float,0,""Wattage"","""",10,Data,""""")x",
    R"x("@@INDEXDEF START@@")x",
    R"x("@@INDEXDEF END@@")x",
    R"x("@@TABLEDEF END@@")x",
});
const std::string kStandardHeader = lines({
    R"x("Amperage","Appliance","Cost/Day","Cost/Hour","Daily Usage(Hrs)","KWH","Voltage","Wattage",)x",
});

std::optional<std::string> storedValue(const ApplianceTable& table, int row, int field) {
    if (!table.storedHasValueAt(row, field))
        return std::nullopt;
    return table.storedTextAt(row, field);
}

// All stored records in the current order, null values as nullopt.
std::vector<Record> records(const ApplianceTable& table) {
    std::vector<Record> result;
    for (int r = 0; r < table.RecordTotal(); ++r) {
        Record record;
        for (int f = 0; f < table.fieldCount(); ++f)
            record.push_back(storedValue(table, r, f));
        result.push_back(record);
    }
    return result;
}

std::vector<std::string> fieldNames(const ApplianceTable& table) {
    std::vector<std::string> names;
    for (int i = 0; i < table.fieldCount(); ++i)
        names.push_back(table.field(i).fieldName());
    return names;
}

// Appends one record: a value per field in field order, nullopt for none.
void append(ApplianceTable& table, const Record& values) {
    table.StartAppend();
    for (int i = 0; i < static_cast<int>(values.size()); ++i)
        if (values[static_cast<std::size_t>(i)])
            table.field(i).AssignText(*values[static_cast<std::size_t>(i)]);
    table.PostRecord();
}

Record appliance(const Value& name) {
    Record record(8);
    record[1] = name;
    return record;
}

const Record kKettle = {"8.6957", "Kettle", "0.2", "0.4", "0.5", "2", "230", "2000"};
const Record kFridge = {"0.5", "Fridge", "0.576", "0.024", "24", "0.12", "240", "120"};

class LedgerFileTest : public ::testing::Test {
protected:
    static std::string loadError(ApplianceTable& table, const std::string& path) {
        return testing::errorText([&] { LoadLedger(table, path); });
    }

    std::string load(ApplianceTable& table, const std::string& bytes) {
        testing::writeBytes(m_path, bytes);
        return loadError(table, m_path);
    }

    static std::string saveError(const ApplianceTable& table, const std::string& path) {
        return testing::errorText([&] { SaveLedger(table, path); });
    }

    std::vector<std::string> folderEntries() const { return m_folder.entries(); }

    testing::ScratchFolder m_folder{"ledgerfile_test"};
    std::string m_path = (m_folder.path() / "pellion.csv").string();
};

TEST_F(LedgerFileTest, WorkedExampleReadsBackItsRecordsMarksAndShownTexts) {
    ApplianceTable table;
    ASSERT_EQ(loadError(table, (kFixtures / "worked_example.csv").string()), kNoError);

    EXPECT_EQ(records(table), (std::vector<Record>{kKettle, kFridge}));
    EXPECT_EQ(table.RowNumber(), 1);
    EXPECT_EQ(table.FieldNamed("appliance").TextValue(), "Kettle");
    for (const char* name : {"costday", "costhour", "kilowattshour"})
        EXPECT_TRUE(table.FieldNamed(name).readOnly()) << name;
    for (const char* name : {"amperage", "appliance", "hrsday", "voltage", "wattage"})
        EXPECT_FALSE(table.FieldNamed(name).readOnly()) << name;

    EXPECT_EQ(table.FieldNamed("amperage").ShownText(), "8.6957");
    table.GoNext();
    EXPECT_EQ(table.FieldNamed("voltage").ShownText(), "240");
    EXPECT_EQ(table.FieldNamed("costday").ShownText(), "0.576");
    EXPECT_FALSE(table.FieldNamed("costday").definition().displayFormat.has_value());
}

TEST_F(LedgerFileTest, WorkedExampleSavesBackByteForByte) {
    const std::string expected = testing::readBytes(kFixtures / "worked_example.csv");
    ApplianceTable loaded;
    ASSERT_EQ(loadError(loaded, (kFixtures / "worked_example.csv").string()), kNoError);
    ASSERT_EQ(saveError(loaded, m_path), kNoError);
    EXPECT_EQ(testing::readBytes(m_path), expected);

    // The same file from a table built by hand after a recalculation.
    ApplianceTable built;
    append(built, kKettle);
    append(built, kFridge);
    for (const char* name : {"costday", "costhour", "kilowattshour"})
        built.FieldNamed(name).setReadOnly(true);
    ASSERT_EQ(saveError(built, m_path), kNoError);
    EXPECT_EQ(testing::readBytes(m_path), expected);
}

TEST_F(LedgerFileTest, FreshTableWritesDefinitionsWithoutReadOnlyMarks) {
    ApplianceTable table;
    ASSERT_EQ(saveError(table, m_path), kNoError);
    EXPECT_EQ(testing::readBytes(m_path), kStandardDefinitions + kStandardHeader);
}

TEST_F(LedgerFileTest, HardTextsSurviveARoundTrip) {
    struct Case {
        const char* situation;
        Value name;
        const char* written; // the appliance's value as it stands in the file
    };
    const Case cases[] = {
        {"double quotes are doubled", "17\" \"TV\"", "\"17\"\" \"\"TV\"\"\""},
        {"percent is escaped", "100% wool %c", "\"100%% wool %%c\""},
        {"carriage return", "a\rb", "\"a%cb\""},
        {"line feed", "a\nb", "\"a%nb\""},
        {"line break at both ends", "\r\nx\r\n", "\"%c%nx%c%n\""},
        {"delimiters inside", ",a,,b,", "\",a,,b,\""},
        {"blanks kept", "  padded  ", "\"  padded  \""},
        {"marker text as a value", "@@TABLEDEF START@@", "\"@@TABLEDEF START@@\""},
        {"non-ASCII", "Caf\xC3\xA9 \xE2\x82\xAC", "\"Caf\xC3\xA9 \xE2\x82\xAC\""},
        {"empty text is not null", "", "\"\""},
        {"null text is written as nothing", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        ApplianceTable table;
        append(table, appliance(c.name));
        ASSERT_EQ(saveError(table, m_path), kNoError);
        EXPECT_EQ(testing::readBytes(m_path),
                  kStandardDefinitions + kStandardHeader + "," + c.written + ",,,,,,,\r\n");

        ApplianceTable reread;
        ASSERT_EQ(loadError(reread, m_path), kNoError);
        EXPECT_EQ(records(reread), std::vector<Record>{appliance(c.name)});
    }
}

TEST_F(LedgerFileTest, RecordOfEmptyFieldsIsALineOfCommas) {
    ApplianceTable table;
    append(table, Record(8));
    ASSERT_EQ(saveError(table, m_path), kNoError);
    EXPECT_EQ(testing::readBytes(m_path), kStandardDefinitions + kStandardHeader + ",,,,,,,,\r\n");

    ApplianceTable reread;
    ASSERT_EQ(loadError(reread, m_path), kNoError);
    EXPECT_EQ(records(reread), std::vector<Record>{Record(8)});
}

TEST_F(LedgerFileTest, NumbersAreWrittenWithFifteenDigitsAndAPoint) {
    ApplianceTable table;
    table.StartAppend();
    table.FieldNamed("wattage").AssignNumber(0.1 + 0.2);
    table.FieldNamed("voltage").AssignNumber(-3);
    table.FieldNamed("hrsday").AssignNumber(2.5);
    table.PostRecord();

    formatSettings().decimalSeparator = ',';
    formatSettings().thousandSeparator = '.';
    ASSERT_EQ(saveError(table, m_path), kNoError);
    EXPECT_EQ(testing::readBytes(m_path),
              kStandardDefinitions + kStandardHeader + ",,,,\"2.5\",,\"-3\",\"0.3\",\r\n");

    ApplianceTable reread;
    ASSERT_EQ(loadError(reread, m_path), kNoError);
    EXPECT_EQ(reread.FieldNamed("wattage").NumberValue(), 0.3);
    EXPECT_EQ(reread.FieldNamed("hrsday").NumberValue(), 2.5);
    // Fields a load creates accept '.' in the grid, whatever the user's separator.
    EXPECT_EQ(reread.FieldNamed("wattage").definition().decimalSeparator, '.');
    // The user's separators are back once the file is done.
    EXPECT_EQ(formatSettings().decimalSeparator, ',');
    EXPECT_EQ(formatSettings().thousandSeparator, '.');
    formatSettings() = FormatSettings();
}

// Every number the ledger writes reads back as the number its text shows,
// which the next save writes the same way, whatever the user's separator.
TEST_F(LedgerFileTest, EveryNumberWrittenReadsBackAndIsWrittenAgainTheSame) {
    struct Case {
        const char* situation;
        double value;
        const char* text;
        double readBack;
    };
    const Case cases[] = {
        {"largest double", DBL_MAX, "1.79769313486232E308", DBL_MAX},
        {"negative largest double", -DBL_MAX, "-1.79769313486232E308", -DBL_MAX},
        {"smallest normal", DBL_MIN, "2.2250738585072E-308", 2.2250738585072e-308},
        {"largest subnormal", 2.2250738585072009e-308, "2.2250738585072E-308",
         2.2250738585072e-308},
        {"smallest subnormal", 4.9406564584124654e-324, "4.94065645841247E-324",
         4.9406564584124654e-324},
        {"negative zero", -0.0, "0", 0},
        {"15 digits", 123456789012345, "123456789012345", 123456789012345},
        {"15 decimals", 0.123456789012345, "0.123456789012345", 0.123456789012345},
        {"17 digits", 0.1 + 0.2, "0.3", 0.3},
        {"17 integer digits", 12345678901234568.0, "1.23456789012346E16", 12345678901234600.0},
        {"tiny negative", -2.5e-7, "-2.5E-7", -2.5e-7},
    };
    const int wattage = 7; // the last field of a line
    for (const char decimalSeparator : {'.', ','}) {
        SCOPED_TRACE(decimalSeparator);
        FormatSettings regional;
        regional.decimalSeparator = decimalSeparator;
        regional.thousandSeparator = decimalSeparator == '.' ? ',' : '.';
        const ScopedFormatSettings scope(regional);

        ApplianceTable table;
        std::string expectedLines;
        for (const Case& c : cases) {
            table.StartAppend();
            table.field(wattage).AssignNumber(c.value);
            table.PostRecord();
            expectedLines += ",,,,,,,\""s + c.text + "\",\r\n";
        }
        ASSERT_EQ(saveError(table, m_path), kNoError);
        const std::string saved = testing::readBytes(m_path);
        EXPECT_EQ(saved, kStandardDefinitions + kStandardHeader + expectedLines);

        ApplianceTable reread;
        ASSERT_EQ(loadError(reread, m_path), kNoError);
        ASSERT_EQ(reread.RecordTotal(), int(std::size(cases)));
        for (int row = 0; row < reread.RecordTotal(); ++row) {
            SCOPED_TRACE(cases[row].situation);
            EXPECT_EQ(reread.storedNumberAt(row, wattage), cases[row].readBack);
        }
        ASSERT_EQ(saveError(reread, m_path), kNoError);
        EXPECT_EQ(testing::readBytes(m_path), saved);
    }
}

TEST_F(LedgerFileTest, SortedTableIsWrittenInItsCurrentOrder) {
    ApplianceTable table;
    for (const char* watts : {"100", "40", "2000"}) {
        Record record(8);
        record[7] = watts;
        append(table, record);
    }
    table.SortByFields("wattage");
    ASSERT_EQ(saveError(table, m_path), kNoError);

    ApplianceTable reread;
    ASSERT_EQ(loadError(reread, m_path), kNoError);
    std::vector<std::string> order;
    for (const Record& record : records(reread))
        order.push_back(*record[7]);
    EXPECT_EQ(order, (std::vector<std::string>{"40", "100", "2000"}));
    EXPECT_FALSE(reread.sorted());
}

TEST_F(LedgerFileTest, RecordsAddedToASortedTableTakeTheirPlacesInTheSortOrder) {
    ApplianceTable table;
    for (const char* watts : {"100", "40"}) {
        Record record(8);
        record[7] = watts;
        append(table, record);
    }
    table.SortByFields("wattage");
    ASSERT_EQ(load(table, lines({"\"Wattage\",", "\"2000\",", "\"60\","})), kNoError);

    std::vector<std::string> order;
    for (const Record& record : records(table))
        order.push_back(*record[7]);
    EXPECT_EQ(order, (std::vector<std::string>{"40", "60", "100", "2000"}));
    EXPECT_EQ(table.RowNumber(), 1);
}

TEST_F(LedgerFileTest, UnpostedEditIsNotWritten) {
    ApplianceTable table;
    append(table, appliance("Kettle"));
    table.StartEdit();
    table.FieldNamed("appliance").AssignText("Toaster");
    ASSERT_EQ(saveError(table, m_path), kNoError);
    EXPECT_EQ(table.state(), TableState::Editing);

    ApplianceTable reread;
    ASSERT_EQ(loadError(reread, m_path), kNoError);
    EXPECT_EQ(records(reread), std::vector<Record>{appliance("Kettle")});
}

// Variations a reader meets in files it did not write itself.
TEST_F(LedgerFileTest, ReaderCopesWithFilesFromElsewhere) {
    struct Case {
        const char* situation;
        std::string bytes;
        std::vector<Record> expected;
    };
    const std::string defs = kStandardDefinitions;
    const Case cases[] = {
        {"blank lines anywhere, CR or LF or NUL line ends",
         "\r\n\r\n" + defs + "\n\n" + kStandardHeader + "\r\r\n\n" +
             ",\"Kettle\",,,,,,,\0\0\r\n,\"Fridge\",,,,,,,\n\n"s,
         {appliance("Kettle"), appliance("Fridge")}},
        {"last line without a line end",
         defs + kStandardHeader + ",\"Kettle\",,,,,,,",
         {appliance("Kettle")}},
        {"header names in another case",
         defs + "\"APPLIANCE\",\"wattage\",\r\n\"Kettle\",\"2000\",\r\n",
         {{std::nullopt, "Kettle", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
           std::nullopt, "2000"}}},
        {"unknown header column is read and dropped",
         defs + "\"Colour\",\"Appliance\",\r\n\"red\",\"Kettle\",\r\n",
         {appliance("Kettle")}},
        {"short line leaves the last fields empty",
         defs + kStandardHeader + "\"1\",\"Kettle\",\r\n",
         {{"1", "Kettle", std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
           std::nullopt}}},
        {"long line has its surplus ignored",
         defs + "\"Appliance\",\r\n\"Kettle\",\"extra\",\"more\",\r\n",
         {appliance("Kettle")}},
        {"unquoted values",
         defs + "\"Appliance\",\"Wattage\",\r\nKet\"tle,2000\r\n",
         {{std::nullopt, "Ket\"tle", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
           std::nullopt, "2000"}}},
        {"missing closing quote keeps the rest of the line",
         defs + "\"Appliance\",\r\n\"Kettle, white\r\n",
         {appliance("Kettle, white")}},
        {"character after a closing quote skipped whole",
         defs + "\"Appliance\",\"Wattage\",\r\n\"Kettle\"\xC3\xA9\"2000\"\r\n",
         {{std::nullopt, "Kettle", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
           std::nullopt, "2000"}}},
        {"unknown escape kept as it stands",
         defs + "\"Appliance\",\r\n\"5%x%\",\r\n",
         {appliance("5%x%")}},
        {"index definitions ignored",
         "\"@@TABLEDEF START@@\"\r\n"
         "\"appliance=String,50,\"\"Appliance\"\",\"\"\"\",50,Data,\"\"\"\"\"\r\n"
         "\"@@INDEXDEF START@@\"\r\n\"ByName=appliance\"\r\n\"@@INDEXDEF END@@\"\r\n"
         "\"@@TABLEDEF END@@\"\r\n\"Appliance\",\r\n\"Kettle\",\r\n",
         {{"Kettle"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        ApplianceTable table;
        ASSERT_EQ(load(table, c.bytes), kNoError);
        EXPECT_EQ(records(table), c.expected);
    }
}

TEST_F(LedgerFileTest, FileWithoutDefinitionsAddsToTheTableAsItIs) {
    ApplianceTable table;
    append(table, appliance("Kettle"));
    table.FieldNamed("costday").setReadOnly(true);
    ASSERT_EQ(load(table, lines({"\"Appliance\",\"Cost/Day\",", "\"Fridge\",\"0.5\","})), kNoError);

    Record fridge = appliance("Fridge");
    fridge[2] = "0.5";
    EXPECT_EQ(records(table), (std::vector<Record>{appliance("Kettle"), fridge}));
    // The table's own fields stay, with their display formats.
    EXPECT_EQ(table.FieldNamed("costday").definition().displayFormat, "#.00");
}

TEST_F(LedgerFileTest, DefinitionsNamingOtherFieldsGiveTheTableExactlyThose) {
    ApplianceTable table;
    ASSERT_EQ(
        load(table, lines({"\"@@TABLEDEF START@@\"",
                           "\"room=String,20,\"\"Room, ROom\"\",\"\"\"\",20,REQ,Data,\"\"\"\"\"",
                           "\"radio=Float,0,\"\"Radio,ROM\"\",\"\"\"\",7,Data,\"\"\"\"\"",
                           "\"lamp=Float,0,\"\"\"\",\"\"\"\",10,INV,Lookup,\"\"1\"\"\"",
                           "\"@@TABLEDEF END@@\"", "\"Room, ROom\",\"Radio,ROM\",\"lamp\",",
                           "\"Hall\",\"3\",\"4\","})),
        kNoError);
    EXPECT_EQ(fieldNames(table), (std::vector<std::string>{"room", "radio", "lamp"}));
    const FieldDefinition& room = table.field(0).definition();
    EXPECT_EQ(room.type, FieldType::Text);
    EXPECT_EQ(room.size, 20);
    EXPECT_TRUE(room.required);
    EXPECT_FALSE(table.field(0).readOnly());
    // ",RO" is searched for in the whole definition, the label included.
    EXPECT_TRUE(table.field(1).readOnly());
    EXPECT_EQ(table.field(1).definition().displayWidth, 7);
    const FieldDefinition& lamp = table.field(2).definition();
    EXPECT_EQ(lamp.kind, FieldKind::Lookup);
    EXPECT_FALSE(lamp.visible);
    EXPECT_EQ(lamp.defaultExpression, "1");
    EXPECT_EQ(table.field(2).displayName(), "lamp");
    // Only data fields take values from the file.
    EXPECT_EQ(records(table), (std::vector<Record>{{"Hall", "3", std::nullopt}}));
    EXPECT_THROW(table.FieldNamed("appliance"), Error);
}

// Such tables come only from files written elsewhere; saved, they must read
// back the same.
TEST_F(LedgerFileTest, UnusualTablesReadBackWhatTheyWrote) {
    struct Case {
        const char* situation;
        std::string bytes;
    };
    const Case cases[] = {
        {"fields sharing a label",
         lines({"\"@@TABLEDEF START@@\"", "\"a=Float,0,\"\"Same\"\",\"\"\"\",10,Data\"",
                "\"b=Float,0,\"\"SAME\"\",\"\"\"\",10,Data\"", "\"@@TABLEDEF END@@\"",
                "\"same\",\"same\",", "\"1\",\"2\","})},
        {"no fields at all",
         lines({"\"@@TABLEDEF START@@\"", "\"@@TABLEDEF END@@\"", "\"x\",", "a", "b"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        ApplianceTable table;
        ASSERT_EQ(load(table, c.bytes), kNoError);
        EXPECT_EQ(table.RecordTotal(), c.bytes.find("\"1\"") != std::string::npos ? 1 : 2);
        ASSERT_EQ(saveError(table, m_path), kNoError);
        ApplianceTable reread;
        ASSERT_EQ(loadError(reread, m_path), kNoError);
        EXPECT_EQ(fieldNames(reread), fieldNames(table));
        EXPECT_EQ(records(reread), records(table));
    }
}

TEST_F(LedgerFileTest, LineThatIsNotUtf8IsReadAsWindows1252) {
    ApplianceTable table;
    ASSERT_EQ(loadError(table, (kFixtures / "windows1252.csv").string()), kNoError);
    Record expected(8);
    expected[0] = "1";
    expected[1] = "Caf\xC3\xA9 \xE2\x82\xAC machine";
    EXPECT_EQ(records(table), std::vector<Record>{expected});
}

TEST_F(LedgerFileTest, MissingFileFailsAndLeavesTheTable) {
    ApplianceTable table;
    append(table, appliance("Kettle"));
    const std::string missing = (m_folder.path() / "absent.csv").string();
    EXPECT_EQ(loadError(table, missing), "Cannot open file " + missing);
    EXPECT_EQ(loadError(table, m_folder.path().string()),
              "Cannot open file " + m_folder.path().string());
    EXPECT_EQ(records(table), std::vector<Record>{appliance("Kettle")});
    EXPECT_EQ(fieldNames(table).size(), 8u);
}

TEST_F(LedgerFileTest, EmptyFileLeavesTheTable) {
    ApplianceTable table;
    append(table, appliance("Kettle"));
    append(table, appliance("Fridge"));
    EXPECT_EQ(load(table, ""), kNoError);
    EXPECT_EQ(records(table), (std::vector<Record>{appliance("Kettle"), appliance("Fridge")}));
    EXPECT_EQ(table.RowNumber(), 1);
}

// A failure between the definition markers leaves the table closed with the
// fields defined before it; the table's closed-table message is what shows.
TEST_F(LedgerFileTest, FailureInsideDefinitionsLeavesTheTableClosed) {
    const char* fixtures[] = {
        "unknown_type.csv",
        "size_not_whole_number.csv",
        "width_not_whole_number.csv",
        "size_absurd.csv",
        "definition_not_quoted.csv",
        "definition_without_name.csv",
        "definition_with_four_items.csv",
        "definition_with_forty_items.csv",
        "ends_inside_definition.csv",
    };
    for (const char* fixture : fixtures) {
        SCOPED_TRACE(fixture);
        ApplianceTable table;
        append(table, appliance("Kettle"));
        formatSettings().decimalSeparator = ',';
        EXPECT_EQ(loadError(table, (kFixtures / fixture).string()), kClosedTable);
        EXPECT_EQ(formatSettings().decimalSeparator, ',');
        formatSettings() = FormatSettings();

        EXPECT_EQ(table.state(), TableState::Closed);
        EXPECT_EQ(fieldNames(table), (std::vector<std::string>{"amperage", "appliance"}));
        EXPECT_THROW(table.GoNext(), Error);
        EXPECT_EQ(saveError(table, m_path), kClosedTable);
        EXPECT_FALSE(fs::exists(m_path));
    }
}

TEST_F(LedgerFileTest, TooManyFieldDefinitionsLeaveTheTableClosed) {
    std::string bytes = "\"@@TABLEDEF START@@\"\r\n";
    for (int i = 0; i < 1000; ++i)
        bytes += "\"f" + std::to_string(i) + "=Float,0,\"\"\"\",\"\"\"\",10\"\r\n";
    bytes += "\"@@TABLEDEF END@@\"\r\n";
    ApplianceTable table;
    EXPECT_EQ(load(table, bytes), kClosedTable);
    EXPECT_EQ(table.state(), TableState::Closed);
}

TEST_F(LedgerFileTest, DefinitionSectionWithoutFieldsCannotBeLoaded) {
    ApplianceTable table;
    EXPECT_EQ(loadError(table, (kFixtures / "no_fields.csv").string()),
              "Couldnt determine field count for load.");
    EXPECT_EQ(table.state(), TableState::Browsing);
    EXPECT_EQ(table.fieldCount(), 0);
}

TEST_F(LedgerFileTest, NumberColumnWithTextStopsTheLoad) {
    struct Case {
        const char* fixture;
        const char* error;
        std::vector<Record> expected;
    };
    // The bad line's record is kept with what was written before the bad
    // value, and dropped when nothing was.
    const Record partFridge = {"0.5", "Fridge", "0.576",      "0.024",
                               "24",  "0.12",   std::nullopt, std::nullopt};
    const Case cases[] = {
        {"bad_number.csv",
         "'two hundred' is not a valid floating point value for field 'Voltage'",
         {kKettle, partFridge}},
        {"bad_number_in_first_column.csv",
         "'half' is not a valid floating point value for field 'Amperage'",
         {kKettle}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        ApplianceTable table;
        EXPECT_EQ(loadError(table, (kFixtures / c.fixture).string()), c.error);
        EXPECT_EQ(table.state(), TableState::Browsing);
        EXPECT_EQ(records(table), c.expected);
        EXPECT_EQ(table.RowNumber(), 1);
        EXPECT_TRUE(table.FieldNamed("costday").readOnly());
    }
}

TEST_F(LedgerFileTest, HostileLinesFailWithoutCrashing) {
    ApplianceTable table;
    std::string huge(2 * 1024 * 1024, 'x');
    EXPECT_EQ(load(table, kStandardDefinitions + kStandardHeader + ",\"Kettle\",,,,,,,\r\n" + huge),
              "Line too long in " + m_path);
    EXPECT_EQ(records(table), std::vector<Record>{appliance("Kettle")});
}

TEST_F(LedgerFileTest, ClosedTableIsNotSavedAndTheFileNotTouched) {
    testing::writeBytes(m_path, "old");
    ApplianceTable table;
    ASSERT_EQ(loadError(table, (kFixtures / "ends_inside_definition.csv").string()), kClosedTable);
    EXPECT_EQ(saveError(table, m_path), kClosedTable);
    EXPECT_EQ(testing::readBytes(m_path), "old");
}

TEST_F(LedgerFileTest, FileThatCannotBeCreatedLeavesTheOldOne) {
    ApplianceTable table;
    const std::string inMissingFolder = (m_folder.path() / "absent" / "pellion.csv").string();
    EXPECT_EQ(saveError(table, inMissingFolder), "Cannot create file " + inMissingFolder);

    // A folder in the file's place cannot be replaced by the rename.
    const fs::path folder = m_folder.path() / "taken.csv";
    fs::create_directory(folder);
    EXPECT_EQ(saveError(table, folder.string()), "Cannot create file " + folder.string());
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"taken.csv"});
}

// A full disk during the write: the old ledger stays byte for byte and no
// temporary file is left behind.
TEST_F(LedgerFileTest, FailedWriteKeepsTheOldFileIntact) {
    const std::string old = testing::readBytes(kFixtures / "worked_example.csv");
    testing::writeBytes(m_path, old);
    ApplianceTable table;
    for (int i = 0; i < 2000; ++i)
        append(table, appliance("Appliance number " + std::to_string(i)));

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string error = saveError(table, m_path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(error, "Stream write error");
    EXPECT_EQ(testing::readBytes(m_path), old);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"pellion.csv"});

    ASSERT_EQ(saveError(table, m_path), kNoError);
    ApplianceTable reread;
    ASSERT_EQ(loadError(reread, m_path), kNoError);
    EXPECT_EQ(reread.RecordTotal(), 2000);
}

TEST_F(LedgerFileTest, SavingThroughALinkReplacesItsTarget) {
    const fs::path target = m_folder.path() / "lists" / "home.csv";
    fs::create_directory(target.parent_path());
    testing::writeBytes(target, "old");
    fs::create_symlink(target, m_path);
    ApplianceTable table;
    ASSERT_EQ(saveError(table, m_path), kNoError);
    EXPECT_TRUE(fs::is_symlink(m_path));
    EXPECT_EQ(testing::readBytes(target), kStandardDefinitions + kStandardHeader);
}

TEST_F(LedgerFileTest, SavedFileKeepsThePermissionsOfTheOldOne) {
    testing::writeBytes(m_path, "old");
    fs::permissions(m_path, fs::perms::owner_read | fs::perms::owner_write);
    ApplianceTable table;
    ASSERT_EQ(saveError(table, m_path), kNoError);
    EXPECT_EQ(fs::status(m_path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace
} // namespace pellion
