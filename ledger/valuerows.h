#pragma once

// Where the appliance table keeps the values of its records, and how a field
// reads them. Internal to the table: views go through ApplianceTable.

#include "ledger/appliancetable.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

// The values of records, one row per record: the stored records by slot, or
// the single row of the edit copy. A row is a run of words, first a bit per
// field for "holds a value", then the numbers; the texts lie in a second array.
// With the standard fields a row is 64 bytes, so a walk in sort order touches
// about two cache lines per record, and storing a record allocates nothing
// unless a text is too long to sit inside its string.
//
// The rows are packed for speed alone. A record used to be a heap object of
// eight separate values, about 450 bytes scattered in memory, and a
// recalculation or a sort over 100,000 records spent its time waiting on
// memory (bench/recalc measures both).
class ValueRows {
public:
    void setLayout(const std::vector<FieldType>& types) {
        m_columns.clear();
        std::size_t numbers = 0;
        m_textCount = 0;
        for (FieldType type : types) {
            bool text = type == FieldType::Text;
            m_columns.push_back({text, text ? m_textCount++ : numbers++});
        }
        m_maskWords = (types.size() + 63) / 64;
        m_rowWords = m_maskWords + numbers;
        m_words.clear();
        m_texts.clear();
        m_rows = 0;
    }

    // New rows are empty. Growing keeps the existing rows.
    void resize(std::size_t rows) {
        m_rows = rows;
        m_words.resize(rows * m_rowWords);
        m_texts.resize(rows * m_textCount);
    }

    void copyRow(std::size_t to, const ValueRows& from, std::size_t fromRow) {
        std::copy_n(from.m_words.begin() + std::ptrdiff_t(fromRow * m_rowWords), m_rowWords,
                    m_words.begin() + std::ptrdiff_t(to * m_rowWords));
        for (std::size_t k = 0; k < m_textCount; ++k)
            m_texts[to * m_textCount + k] = from.m_texts[fromRow * m_textCount + k];
    }

    void clearRow(std::size_t row) {
        std::fill_n(m_words.begin() + std::ptrdiff_t(row * m_rowWords), m_rowWords, 0);
        for (std::size_t k = 0; k < m_textCount; ++k)
            m_texts[row * m_textCount + k].clear();
    }

    bool hasValue(std::size_t row, int field) const {
        return (maskWord(row, field) & maskBit(field)) != 0;
    }

    // A text field holds no number, a number field no text.
    double number(std::size_t row, int field) const {
        return isText(field) ? 0 : std::bit_cast<double>(m_words[numberIndex(row, field)]);
    }
    const std::string& text(std::size_t row, int field) const {
        static const std::string none;
        return isText(field) ? m_texts[textIndex(row, field)] : none;
    }

    // Numbers compare bit for bit, so that writing the same value back is no change.
    bool sameValue(std::size_t row, int field, const ValueRows& other, std::size_t otherRow) const {
        bool has = hasValue(row, field);
        if (has != other.hasValue(otherRow, field))
            return false;
        if (!has)
            return true;
        if (isText(field))
            return text(row, field) == other.text(otherRow, field);
        return m_words[numberIndex(row, field)] == other.m_words[numberIndex(otherRow, field)];
    }

    void setNumber(std::size_t row, int field, double value) {
        m_words[numberIndex(row, field)] = std::bit_cast<std::uint64_t>(value);
        maskWord(row, field) |= maskBit(field);
    }

    void setText(std::size_t row, int field, std::string_view text) {
        m_texts[textIndex(row, field)].assign(text);
        maskWord(row, field) |= maskBit(field);
    }

    void clearValue(std::size_t row, int field) {
        if (isText(field))
            m_texts[textIndex(row, field)].clear();
        else
            m_words[numberIndex(row, field)] = 0;
        maskWord(row, field) &= ~maskBit(field);
    }

    void prefetch(std::size_t row) const {
        if (row >= m_rows || m_rowWords == 0)
            return;
        const std::uint64_t* words = m_words.data() + row * m_rowWords;
        __builtin_prefetch(words);
        __builtin_prefetch(words + m_rowWords - 1);
        if (m_textCount > 0)
            __builtin_prefetch(m_texts.data() + row * m_textCount);
    }

private:
    bool isText(int field) const { return m_columns[std::size_t(field)].text; }
    static std::uint64_t maskBit(int field) { return std::uint64_t(1) << (field % 64); }
    std::uint64_t maskWord(std::size_t row, int field) const {
        return m_words[row * m_rowWords + std::size_t(field / 64)];
    }
    std::uint64_t& maskWord(std::size_t row, int field) {
        return m_words[row * m_rowWords + std::size_t(field / 64)];
    }
    std::size_t numberIndex(std::size_t row, int field) const {
        return row * m_rowWords + m_maskWords + m_columns[std::size_t(field)].index;
    }
    std::size_t textIndex(std::size_t row, int field) const {
        return row * m_textCount + m_columns[std::size_t(field)].index;
    }

    // Per field: whether it is a text, and its place among the numbers or the texts.
    struct Column {
        bool text;
        std::size_t index;
    };
    std::vector<Column> m_columns;
    std::size_t m_maskWords = 0;
    std::size_t m_rowWords = 0; // mask words, then the numbers
    std::size_t m_textCount = 0;
    std::size_t m_rows = 0;
    std::vector<std::uint64_t> m_words; // m_rowWords per row; an empty number is 0
    std::vector<std::string> m_texts;   // m_textCount per row
};

// One record's values, wherever they are kept; empty when there is no record.
struct RowRef {
    const ValueRows* rows = nullptr;
    std::size_t row = 0;

    explicit operator bool() const { return rows != nullptr; }
    bool hasValue(int field) const { return rows->hasValue(row, field); }
    double number(int field) const { return rows->number(row, field); }
    const std::string& text(int field) const { return rows->text(row, field); }
};

// The rules of Field::ShownText, TextValue and NumberValue, applied to a row.
std::string shownTextOf(const Field& field, RowRef values);
std::string textValueOf(const Field& field, RowRef values);
double numberValueOf(const Field& field, RowRef values);

} // namespace pellion
