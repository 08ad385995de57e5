#include "ledger/ledgerreader.h"

#include "base/asciicase.h"
#include "base/error.h"
#include "engine/numberformat.h"
#include "ledger/appliancetable.h"
#include "ledger/ledgerformat.h"
#include "ledger/ledgerinput.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

namespace {

// Limits against files from anywhere. The program's own ledger has eight
// fields of at most 50 characters, so these are far beyond anything it writes,
// yet they keep a hostile file from making a load allocate without bound.
// The longest line holds kMaxFields texts of kMaxFieldSize characters, each at
// most 4 bytes once escaped and quoted, well within LedgerInput::maxLineLength,
// so every file we write reads back.
constexpr std::size_t kMaxFields = 64;
constexpr int kMaxFieldSize = 1024;
constexpr int kMaxDisplayWidth = 1000;
constexpr std::size_t kMaxDefinitionItems = 32; // the program writes at most nine
static_assert(kMaxFields * kMaxFieldSize * 4 < LedgerInput::maxLineLength);

std::string upperAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), toAsciiUpper);
    return out;
}

// Reads the fields of one line from left to right.
class LineFields {
public:
    explicit LineFields(std::string_view line) : m_line(line) {}

    bool atEnd() const { return m_position >= m_line.size(); }

    // The next field's text; false when the field is null (nothing between
    // two delimiters).
    bool next(std::string& text) {
        text.clear();
        if (atEnd())
            return true;
        char first = m_line[m_position];
        if (first == kDelimiter) {
            ++m_position;
            return false;
        }
        if (first == kQuote)
            readQuoted(text);
        else
            readPlain(text);
        return true;
    }

private:
    // The character after the closing quote is skipped whatever it is. A line
    // that ends before the closing quote gives the rest of the line.
    void readQuoted(std::string& text) {
        std::size_t p = m_position + 1;
        for (;;) {
            std::size_t quote = m_line.find(kQuote, p);
            if (quote == std::string_view::npos) {
                text.append(m_line.substr(p));
                m_position = m_line.size();
                return;
            }
            text.append(m_line.substr(p, quote - p));
            if (quote + 1 < m_line.size() && m_line[quote + 1] == kQuote) {
                text += kQuote;
                p = quote + 2;
                continue;
            }
            m_position = characterEnd(quote + 1);
            return;
        }
    }

    // The line is UTF-8: skipping a character must not split one.
    std::size_t characterEnd(std::size_t p) const {
        if (p >= m_line.size())
            return m_line.size();
        ++p;
        while (p < m_line.size() && (static_cast<unsigned char>(m_line[p]) & 0xC0) == 0x80)
            ++p;
        return p;
    }

    void readPlain(std::string& text) {
        std::size_t comma = m_line.find(kDelimiter, m_position);
        if (comma == std::string_view::npos) {
            text.append(m_line.substr(m_position));
            m_position = m_line.size();
        } else {
            text.append(m_line.substr(m_position, comma - m_position));
            m_position = comma + 1;
        }
    }

    std::string_view m_line;
    std::size_t m_position = 0;
};

std::string firstField(std::string_view line) {
    std::string text;
    LineFields(line).next(text);
    return text;
}

bool isBlank(char c) {
    return c >= 1 && c <= 32;
}

// The items after the '=' of a definition: comma-separated, blanks around
// items skipped, quoted items unquoted, and a trailing ',' adding an empty item.
std::vector<std::string> definitionItems(std::string_view text) {
    std::vector<std::string> items;
    std::size_t p = 0;
    auto skipBlanks = [&] {
        while (p < text.size() && isBlank(text[p]))
            ++p;
    };
    skipBlanks();
    while (p < text.size()) {
        std::string item;
        if (text[p] == kQuote) {
            ++p;
            while (p < text.size()) {
                if (text[p] == kQuote) {
                    if (p + 1 < text.size() && text[p + 1] == kQuote) {
                        item += kQuote;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            while (p < text.size() && !isBlank(text[p]) && text[p] != kDelimiter && text[p] != '\0')
                item += text[p++];
        }
        items.push_back(std::move(item));
        if (items.size() > kMaxDefinitionItems)
            throw Error("Invalid field definition: " + std::string(text));
        skipBlanks();
        if (p < text.size() && text[p] == kDelimiter) {
            ++p;
            if (p == text.size())
                items.emplace_back();
            skipBlanks();
        }
    }
    return items;
}

// The whole raw line taken as one quoted text.
std::string unquotedLine(std::string_view line) {
    if (line.empty() || line.front() != kQuote)
        throw Error("Invalid field definition: " + std::string(line));
    std::string text;
    LineFields(line).next(text);
    return text;
}

int boundedInteger(const std::string& text, int max, const std::string& definition) {
    int value = TextToInteger(text);
    if (value < 0 || value > max)
        throw Error("Invalid field definition: " + definition);
    return value;
}

FieldDefinition parseDefinition(std::string_view line) {
    std::string text = unquotedLine(line);
    std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        throw Error("Invalid field definition: " + text);
    std::vector<std::string> items = definitionItems(std::string_view(text).substr(equals + 1));
    if (items.size() < 5)
        throw Error("Invalid field definition: " + text);

    FieldDefinition definition;
    definition.fieldName = text.substr(0, equals);
    std::size_t count = items.size();
    if (count > 6) {
        definition.defaultExpression = items[count - 1];
        --count;
    }
    definition.kind = count > 5 ? kindNamed(items[count - 1]) : FieldKind::Data;
    definition.size = boundedInteger(items[1], kMaxFieldSize, text);
    definition.displayWidth = boundedInteger(items[4], kMaxDisplayWidth, text);
    definition.required = text.find(",REQ") != std::string::npos;
    definition.readOnly = text.find(",RO") != std::string::npos;
    definition.visible = text.find(",INV") == std::string::npos;
    std::optional<FieldType> type = typeNamed(items[0]);
    if (!type)
        throw Error("Unknown field type (" + items[0] + ") in CSV file. (" + text + ")");
    definition.type = *type;
    definition.displayLabel = items[2];
    definition.editMask = items[3];
    definition.displayFormat.reset();
    definition.precision = 15;
    definition.decimalSeparator = formatSettings().decimalSeparator;
    return definition;
}

struct Column {
    int field = -1; // -1: read and dropped
    bool text = false;
};

class LedgerReader {
public:
    LedgerReader(ApplianceTable& table, LedgerInput& input) : m_table(table), m_input(input) {}

    void read() {
        try {
            std::optional<std::string> header = readDefinitionPhase();
            std::vector<Column> columns = columnMap(header);
            if (header)
                readRecords(columns);
        } catch (...) {
            abandonDefinitions();
            throw;
        }
        abandonDefinitions();
    }

private:
    // Returns the header line, or nothing when the file ends first.
    std::optional<std::string> readDefinitionPhase() {
        std::string line;
        while (m_input.nextLine(line)) {
            std::string first = firstField(line);
            if (first == kVersionMarker)
                continue;
            if (first == kTableDefStart)
                startTableDefinition();
            else if (first == kTableDefEnd)
                endTableDefinition();
            else if (first == kIndexDefStart)
                m_inIndexDefinition = true;
            else if (first == kIndexDefEnd)
                m_inIndexDefinition = false;
            else if (!m_inTableDefinition)
                return line;
            else if (!m_inIndexDefinition)
                addDefinition(line);
        }
        return std::nullopt;
    }

    void startTableDefinition() {
        m_table.close();
        m_table.replaceFields({});
        m_definitions.clear();
        m_inTableDefinition = true;
    }

    void endTableDefinition() {
        if (m_inTableDefinition) {
            m_table.replaceFields(std::move(m_definitions));
            m_definitions.clear();
            m_inTableDefinition = false;
        }
        if (!m_table.isOpen())
            m_table.open();
    }

    void addDefinition(std::string_view line) {
        if (m_definitions.size() >= kMaxFields)
            throw Error("Too many fields in CSV file.");
        m_definitions.push_back(parseDefinition(line));
    }

    // A load that stops inside the definition section leaves the table closed
    // with the fields defined so far.
    void abandonDefinitions() {
        if (!m_inTableDefinition)
            return;
        m_inTableDefinition = false;
        m_table.replaceFields(std::move(m_definitions));
        m_definitions.clear();
        if (m_table.isOpen())
            m_table.close();
    }

    std::vector<Column> columnMap(const std::optional<std::string>& header) {
        std::vector<Column> columns;
        if (header) {
            std::vector<std::string> names;
            for (int i = 0; i < m_table.fieldCount(); ++i)
                names.push_back(upperAscii(m_table.field(i).displayName()));
            std::vector<bool> taken(names.size(), false);
            LineFields fields(*header);
            std::string name;
            while (!fields.atEnd()) {
                fields.next(name);
                columns.push_back(columnNamed(names, taken, upperAscii(name)));
            }
        } else {
            for (int i = 0; i < m_table.fieldCount(); ++i)
                columns.push_back(columnOf(i));
        }
        if (columns.empty())
            throw Error("Couldnt determine field count for load.");
        return columns;
    }

    // Fields that share a display name take the columns of that name in
    // turn, so that such a table reads back what it wrote.
    Column columnNamed(const std::vector<std::string>& upperNames, std::vector<bool>& taken,
                       const std::string& upperName) {
        std::optional<std::size_t> first;
        for (std::size_t i = 0; i < upperNames.size(); ++i) {
            if (upperNames[i] != upperName)
                continue;
            if (!taken[i]) {
                taken[i] = true;
                return columnOf(static_cast<int>(i));
            }
            if (!first)
                first = i;
        }
        return first ? columnOf(static_cast<int>(*first)) : Column{};
    }

    Column columnOf(int index) {
        const Field& field = m_table.field(index);
        if (field.definition().kind != FieldKind::Data)
            return {};
        return {index, field.type() == FieldType::Text};
    }

    void readRecords(const std::vector<Column>& columns) {
        std::string line;
        std::string value;
        while (m_input.nextLine(line)) {
            m_table.StartAppend();
            LineFields fields(line);
            for (const Column& column : columns) {
                if (fields.atEnd())
                    break;
                bool notNull = fields.next(value);
                if (column.field >= 0)
                    store(m_table.field(column.field), column.text, notNull, value);
            }
            m_table.PostRecord();
        }
    }

    static void store(Field& field, bool text, bool notNull, const std::string& value) {
        if (!notNull)
            field.ClearValue();
        else if (text)
            field.AssignText(unescaped(value));
        else
            field.AssignText(value);
    }

    ApplianceTable& m_table;
    LedgerInput& m_input;
    bool m_inTableDefinition = false;
    bool m_inIndexDefinition = false;
    std::vector<FieldDefinition> m_definitions;
};

} // namespace

void readLedger(ApplianceTable& table, LedgerInput& input) {
    LedgerReader(table, input).read();
}

} // namespace pellion
