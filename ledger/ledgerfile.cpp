#include "ledger/ledgerfile.h"

#include "engine/error.h"
#include "engine/numberformat.h"
#include "ledger/appliancetable.h"

#include <array>
#include <cerrno>
#include <cstddef>
#include <exception>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellion {
namespace {

constexpr char kQuote = '"';
constexpr char kDelimiter = ',';
constexpr std::string_view kLineEnd = "\r\n";

constexpr std::string_view kVersionMarker = "@@FILE VERSION@@";
constexpr std::string_view kVersion = "251";
constexpr std::string_view kTableDefStart = "@@TABLEDEF START@@";
constexpr std::string_view kTableDefEnd = "@@TABLEDEF END@@";
constexpr std::string_view kIndexDefStart = "@@INDEXDEF START@@";
constexpr std::string_view kIndexDefEnd = "@@INDEXDEF END@@";

constexpr std::size_t kReadChunk = 8192;
constexpr std::size_t kWriteChunk = 64 * 1024;

// Limits against files from anywhere. The program's own ledger has eight
// fields of at most 50 characters, so these are far beyond anything it writes,
// yet they keep a hostile file from making a load allocate without bound.
// The longest line holds kMaxFields texts of kMaxFieldSize characters, each at
// most 4 bytes once escaped and quoted, so every file we write reads back.
constexpr std::size_t kMaxFields = 64;
constexpr int kMaxFieldSize = 1024;
constexpr int kMaxDisplayWidth = 1000;
constexpr std::size_t kMaxDefinitionItems = 32; // the program writes at most nine
constexpr std::size_t kMaxLineLength = 1024 * 1024;

// Only the decimal separator shows in the file; the rest are switched too so
// that nothing depends on the user's regional settings while the file is open.
FormatSettings ledgerFormat() {
    FormatSettings settings = formatSettings();
    settings.decimalSeparator = '.';
    settings.thousandSeparator = ',';
    settings.currencySymbol.clear();
    settings.shortDateFormat = "dd/MM/yyyy";
    return settings;
}

constexpr std::array<std::string_view, 5> kKindNames = {"Data", "Calculated", "Lookup",
                                                        "InternalCalc", "Aggregate"};

std::string_view kindName(FieldKind kind) {
    return kKindNames[static_cast<std::size_t>(kind)];
}

FieldKind kindNamed(std::string_view name) {
    for (std::size_t i = 0; i < kKindNames.size(); ++i)
        if (kKindNames[i] == name)
            return static_cast<FieldKind>(i);
    return FieldKind::Data;
}

std::string_view typeName(FieldType type) {
    return type == FieldType::Text ? "String" : "Float";
}

std::optional<FieldType> typeNamed(std::string_view name) {
    if (name == "Float")
        return FieldType::Number;
    if (name == "String")
        return FieldType::Text;
    return std::nullopt;
}

void appendQuoted(std::string& out, std::string_view text) {
    out += kQuote;
    for (std::size_t quote; (quote = text.find(kQuote)) != std::string_view::npos;) {
        out.append(text.substr(0, quote + 1));
        out += kQuote;
        text.remove_prefix(quote + 1);
    }
    out.append(text);
    out += kQuote;
}

// So that a stored text never holds a line break in the file.
std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '%':
            out += "%%";
            break;
        case '\r':
            out += "%c";
            break;
        case '\n':
            out += "%n";
            break;
        case '\0':
            out += "%0";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// An unknown escape is kept as it stands rather than lose the character.
std::string unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[i + 1]) {
        case '%':
            out += '%';
            break;
        case 'c':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case '0':
            out += '\0';
            break;
        default:
            out += text.substr(i, 2);
        }
        ++i;
    }
    return out;
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// Text encoding

bool isValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length;
        unsigned min;
        unsigned code;
        if ((c & 0xE0) == 0xC0) {
            length = 2, min = 0x80, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, min = 0x800, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, min = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
}

// 0x80..0x9F of Windows-1252; the five unassigned bytes map to the C1 controls
// of the same value, as Windows itself converts them.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char16_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        char16_t code = byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
        appendUtf8(out, code);
    }
    return out;
}

// Writing

// Writes next to the target and renames over it only when everything is on
// disk, so a full disk or a crash never costs the user the previous list.
class LedgerOutput {
public:
    explicit LedgerOutput(const std::string& path) : m_path(path), m_target(replacedFile(path)) {
        std::filesystem::path target(m_target);
        std::string base = target.filename().string();
        std::filesystem::path folder = target.parent_path();
        std::random_device random;
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            std::string name = "." + base + "." + std::to_string(random() % 1000000000u) + ".tmp";
            m_temporary = (folder / name).string();
            m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0 && errno != EEXIST)
                break;
        }
        if (m_fd < 0)
            throw Error("Cannot create file " + path);
        keepPermissionsOfOldFile();
        m_buffer.reserve(kWriteChunk + 1024);
    }

    ~LedgerOutput() {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_committed)
            ::unlink(m_temporary.c_str());
    }

    LedgerOutput(const LedgerOutput&) = delete;
    LedgerOutput& operator=(const LedgerOutput&) = delete;

    void writeLine(std::string_view line) {
        m_buffer += line;
        m_buffer += kLineEnd;
        if (m_buffer.size() >= kWriteChunk)
            flushBuffer();
    }

    void commit() {
        flushBuffer();
        if (::fsync(m_fd) != 0)
            throw Error("Stream write error");
        int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            throw Error("Stream write error");
        if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
            throw Error("Cannot create file " + m_path);
        m_committed = true;
        syncFolder();
    }

private:
    void flushBuffer() {
        std::string_view rest = m_buffer;
        while (!rest.empty()) {
            ssize_t written = ::write(m_fd, rest.data(), rest.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                throw Error("Stream write error");
            rest.remove_prefix(static_cast<std::size_t>(written));
        }
        m_buffer.clear();
    }

    void keepPermissionsOfOldFile() {
        struct stat old {};
        if (::stat(m_target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
            ::fchmod(m_fd, old.st_mode & 07777);
    }

    // Makes the rename itself durable; a failure here loses nothing.
    void syncFolder() {
        std::filesystem::path folder = std::filesystem::path(m_target).parent_path();
        int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }

    // A link to the ledger stays a link: its target is what gets replaced.
    static std::string replacedFile(const std::string& path) {
        std::error_code error;
        if (!std::filesystem::is_symlink(path, error))
            return path;
        std::filesystem::path target = std::filesystem::canonical(path, error);
        return error ? path : target.string();
    }

    std::string m_path; // as the caller named it, for the messages
    std::string m_target;
    std::string m_temporary;
    int m_fd = -1;
    bool m_committed = false;
    std::string m_buffer;
};

std::string definitionText(const Field& field) {
    const FieldDefinition& definition = field.definition();
    std::string text = definition.fieldName;
    text += '=';
    text += typeName(definition.type);
    text += ',';
    text += IntegerToText(definition.size);
    text += ',';
    appendQuoted(text, field.displayName());
    text += ',';
    appendQuoted(text, definition.editMask);
    text += ',';
    text += IntegerToText(definition.displayWidth);
    if (definition.required)
        text += ",REQ";
    if (field.readOnly())
        text += ",RO";
    text += ',';
    text += kindName(definition.kind);
    text += ',';
    appendQuoted(text, definition.defaultExpression);
    return text;
}

std::string quotedText(std::string_view text) {
    std::string line;
    appendQuoted(line, text);
    return line;
}

void writeDefinitionSection(const ApplianceTable& table, LedgerOutput& out) {
    std::string line = quotedText(kVersionMarker);
    line += kDelimiter;
    appendQuoted(line, kVersion);
    out.writeLine(line);
    out.writeLine(quotedText(kTableDefStart));
    for (int i = 0; i < table.fieldCount(); ++i)
        out.writeLine(quotedText(definitionText(table.field(i))));
    out.writeLine(quotedText(kIndexDefStart));
    out.writeLine(quotedText(kIndexDefEnd));
    out.writeLine(quotedText(kTableDefEnd));
}

void writeHeader(const ApplianceTable& table, LedgerOutput& out) {
    std::string line;
    for (int i = 0; i < table.fieldCount(); ++i) {
        if (i > 0)
            line += kDelimiter;
        appendQuoted(line, table.field(i).displayName());
    }
    line += kDelimiter;
    out.writeLine(line);
}

void writeRecords(const ApplianceTable& table, int recordCount, LedgerOutput& out) {
    std::vector<bool> isText;
    for (int i = 0; i < table.fieldCount(); ++i)
        isText.push_back(table.field(i).type() == FieldType::Text);
    std::string line;
    for (int record = 0; record < recordCount; ++record) {
        line.clear();
        for (int i = 0; i < table.fieldCount(); ++i) {
            if (i > 0)
                line += kDelimiter;
            if (!table.storedHasValueAt(record, i))
                continue;
            std::string value = table.storedTextAt(record, i);
            appendQuoted(line, isText[static_cast<std::size_t>(i)] ? escaped(value) : value);
        }
        line += kDelimiter;
        out.writeLine(line);
    }
}

// Reading

// Lines end at CR, LF or NUL, and a run of them counts as one, so blank lines
// vanish. Only the current line is held, so memory follows the longest line.
class LedgerInput {
public:
    explicit LedgerInput(const std::string& path) : m_path(path) {
        // Non-blocking so that a FIFO in the file's place cannot hang the open.
        m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat info {};
        if (m_fd >= 0 && (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))) {
            ::close(m_fd);
            m_fd = -1;
        }
        if (m_fd < 0)
            throw Error("Cannot open file " + path);
    }

    ~LedgerInput() { ::close(m_fd); }
    LedgerInput(const LedgerInput&) = delete;
    LedgerInput& operator=(const LedgerInput&) = delete;

    bool empty() { return m_position == m_end && !refill() && m_bytesRead == 0; }

    // False at the end of the file. The line comes as UTF-8.
    bool nextLine(std::string& line) {
        line.clear();
        if (!skipLineEnds())
            return false;
        for (;;) {
            if (m_position == m_end && !refill())
                break;
            std::size_t start = m_position;
            while (m_position < m_end && !isLineEnd(m_buffer[m_position]))
                ++m_position;
            line.append(m_buffer.data() + start, m_position - start);
            if (line.size() > kMaxLineLength)
                throw Error("Line too long in " + m_path);
            if (m_position < m_end)
                break;
        }
        if (!isValidUtf8(line))
            line = windows1252ToUtf8(line);
        return true;
    }

private:
    static bool isLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

    bool skipLineEnds() {
        for (;;) {
            while (m_position < m_end && isLineEnd(m_buffer[m_position]))
                ++m_position;
            if (m_position < m_end)
                return true;
            if (!refill())
                return false;
        }
    }

    bool refill() {
        if (m_atEnd)
            return false;
        ssize_t count;
        do {
            count = ::read(m_fd, m_buffer.data(), m_buffer.size());
        } while (count < 0 && errno == EINTR);
        if (count < 0)
            throw Error("Stream read error");
        m_position = 0;
        m_end = static_cast<std::size_t>(count);
        m_bytesRead += m_end;
        m_atEnd = count == 0;
        return !m_atEnd;
    }

    std::string m_path;
    int m_fd = -1;
    std::array<char, kReadChunk> m_buffer{};
    std::size_t m_position = 0;
    std::size_t m_end = 0;
    std::size_t m_bytesRead = 0;
    bool m_atEnd = false;
};

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

// A record left half-read by a failure is kept when anything was written to it.
void settlePendingRecord(ApplianceTable& table) {
    if (table.state() != TableState::Inserting && table.state() != TableState::Editing)
        return;
    if (table.modified())
        table.PostRecord();
    else
        table.CancelRecord();
}

// The last step of every load, failed or not: the orders are rebuilt from the
// stored records and the first record becomes current. On a table left closed
// GoFirst fails with the table's closed-table message, which replaces any
// earlier error.
void finishLoad(ApplianceTable& table) {
    table.setLoading(false);
    table.GoFirst();
}

} // namespace

void SaveLedger(const ApplianceTable& table, const std::string& path) {
    // Fails on a closed table before the file is touched.
    int recordCount = table.RecordTotal();
    ScopedFormatSettings fixedFormat(ledgerFormat());
    LedgerOutput out(path);
    writeDefinitionSection(table, out);
    writeHeader(table, out);
    writeRecords(table, recordCount, out);
    out.commit();
}

void LoadLedger(ApplianceTable& table, const std::string& path) {
    LedgerInput input(path);
    std::exception_ptr failure;
    {
        ScopedFormatSettings fixedFormat(ledgerFormat());
        // Read-only marks are not enforced and loaded records stay unposted.
        table.setLoading(true);
        try {
            if (!input.empty())
                LedgerReader(table, input).read();
        } catch (...) {
            failure = std::current_exception();
        }
        try {
            settlePendingRecord(table);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    finishLoad(table);
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace pellion
