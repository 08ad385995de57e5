#include "ledger/ledgerwriter.h"

#include "base/replacingfile.h"
#include "engine/numberformat.h"
#include "ledger/appliancetable.h"
#include "ledger/ledgerformat.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kWriteChunk = 64 * 1024;

// Buffers the lines and hands them to a file that replaces the old ledger only
// once everything is on disk.
class LedgerOutput {
public:
    LedgerOutput(const std::string& path, ReplacingFile::OldFile old)
        : m_file(path,
                 {"Cannot create file " + path, "Stream write error", "Cannot create file " + path},
                 old) {
        m_buffer.reserve(kWriteChunk + 1024);
    }

    void writeLine(std::string_view line) {
        m_buffer += line;
        m_buffer += kLineEnd;
        if (m_buffer.size() >= kWriteChunk)
            flushBuffer();
    }

    void commit() {
        flushBuffer();
        m_file.commit();
    }

private:
    void flushBuffer() {
        m_file.write(m_buffer);
        m_buffer.clear();
    }

    ReplacingFile m_file;
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

} // namespace

void writeLedger(const ApplianceTable& table, int recordCount, const std::string& path,
                 ReplacingFile::OldFile old) {
    LedgerOutput out(path, old);
    writeDefinitionSection(table, out);
    writeHeader(table, out);
    writeRecords(table, recordCount, out);
    out.commit();
}

} // namespace pellion
