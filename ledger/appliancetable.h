#pragma once

// KMT, the program's only data store: named typed fields, a cursor on one
// current record with browsing/editing/inserting states, and an optional sort
// order on one field that follows every later change.
//
// This header is the contract the grid, the recalculation, the ledger file and
// the report are written against. Plain C++: text comparison for sorting is
// handed in from outside (the app passes a collator); the default compares bytes.

#include "base/error.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

class ApplianceTable;
struct StoredRecord;

// Identifies a stored record for as long as it stays stored; compare only.
using Bookmark = const StoredRecord*;

enum class FieldType { Number, Text };
enum class TableState { Closed, Browsing, Editing, Inserting };
enum class Alignment { Left, Right };
// The ledger file keeps the kind of every field; only data fields take values from it.
enum class FieldKind { Data, Calculated, Lookup, InternalCalc, Aggregate };

// Everything a field is, apart from the values it holds. The ledger file
// stores all of it but displayFormat and precision.
struct FieldDefinition {
    std::string fieldName;
    FieldType type = FieldType::Number;
    int size = 0;
    std::string displayLabel;
    std::optional<std::string> displayFormat; // none on fields a ledger load created
    int precision = 15;                       // kept within 2..15
    std::string editMask;
    int displayWidth = 10;
    bool required = false;
    bool readOnly = false;
    bool visible = true;
    std::string defaultExpression;
    char decimalSeparator = '.'; // the one in force when the field was created
    FieldKind kind = FieldKind::Data;
};

// The eight fields of a new table, in definition order.
std::vector<FieldDefinition> standardFields();

// One field of the table; it reads and writes the current record.
class Field {
public:
    const FieldDefinition& definition() const;
    const std::string& fieldName() const;
    FieldType type() const;
    std::string displayName() const; // DisplayLabel, or FieldName when that is empty
    Alignment alignment() const;
    int index() const; // position in definition order

    bool readOnly() const;
    void setReadOnly(bool readOnly); // no notification: views ask on demand

    double NumberValue() const;    // 0 when empty
    std::string TextValue() const; // "" when empty; numbers through NumberToText(v, 15)
    bool HasValue() const;
    std::string ShownText() const; // the grid's and the report's text

    void AssignNumber(double value);
    void AssignText(std::string_view text);
    void ClearValue();

private:
    friend class ApplianceTable;
    Field(ApplianceTable& table, int index, FieldDefinition definition);
    ApplianceTable* m_table;
    int m_index;
    FieldDefinition m_definition;
};

// What a view is told after the table changed.
enum class TableChange {
    CurrentValues, // values of the current record (its row is currentViewRow())
    Cursor,        // another record became current
    Rows,          // records added, removed or reordered, or the state changed
    Fields,        // the set of fields was replaced
};

class TableListener {
public:
    virtual ~TableListener() = default;
    virtual void tableChanged(TableChange change) = 0;
};

// Negative, zero or positive like strcmp.
using TextComparison = std::function<int(std::string_view, std::string_view)>;

class ApplianceTable {
public:
    ApplianceTable(); // open, browsing, the standard fields, no records
    ~ApplianceTable();
    ApplianceTable(const ApplianceTable&) = delete;
    ApplianceTable& operator=(const ApplianceTable&) = delete;

    // Fields
    int fieldCount() const;
    Field& field(int index);
    const Field& field(int index) const;
    Field& FieldNamed(std::string_view name); // fails with "KMT: Field '%s' not found"
    Field* findField(std::string_view name);  // nullptr when there is none
    // Drops all records and the sort order and invalidates every Field&; keeps
    // the table closed or open as it was. Works on a closed table.
    void replaceFields(std::vector<FieldDefinition> definitions);

    // Life cycle (the ledger load closes, rebuilds and reopens)
    TableState state() const;
    bool isOpen() const;
    void open();  // a closed table becomes browsing, with no records
    void close(); // drops all records and the sort order; the fields stay
    // While set: read-only not enforced, posted marks stay unset, the sort
    // order is not maintained and views are not notified. Clearing it rebuilds
    // the orders from storage (row order = storage order, a sort order is
    // sorted again), makes the first record current and notifies the views.
    void setLoading(bool loading);
    bool loading() const;

    // Cursor
    void GoFirst();
    void GoLast();
    void GoNext();
    void GoPrior();
    bool AtStart() const;
    bool AtEnd() const;
    int RecordTotal() const;
    int RowNumber() const; // 1-based in the current order, -1 with no current record
                           // and while inserting (the new record has no place yet)

    // Stored records in the current order, and a move to one of them that
    // follows the record wherever a post has since placed it (settles first;
    // fails with "KMT: Record not found" when it is no longer stored).
    std::vector<Bookmark> bookmarksInOrder() const;
    Bookmark currentBookmark() const; // nullptr with no stored current record
    void GoToBookmark(Bookmark bookmark);

    // Records
    void StartEdit();
    void StartInsert();
    void StartAppend();
    void PostRecord();
    void CancelRecord();
    void RemoveRecord();
    bool modified() const; // a field was written since the edit or insert began

    // Order
    void SortByFields(std::string_view fieldNames);
    bool sorted() const;
    void setTextComparison(TextComparison compare); // empty: compare bytes

    // Views: random access to what the grid shows, without moving the cursor.
    // The view rows are the current order plus an unposted new record in its place.
    // The current record's row shows its edit copy. Rows out of range read empty.
    int viewRowCount() const;
    int currentViewRow() const; // -1 with no current record
    std::string shownTextAt(int viewRow, int fieldIndex) const;
    bool hasValueAt(int viewRow, int fieldIndex) const;
    // The stored record drawn at a view row; nullptr for the new record and out
    // of range. A view asks before it moves the cursor, since settling the
    // pending change may drop a new record or move the edited one.
    Bookmark bookmarkAtViewRow(int viewRow) const;

    // Stored values by position in the current order (0-based, < RecordTotal),
    // never an edit copy: what the ledger writer saves. TextValue's rules apply.
    std::string storedTextAt(int row, int fieldIndex) const;
    bool storedHasValueAt(int row, int fieldIndex) const;
    double storedNumberAt(int row, int fieldIndex) const;

    // Told after every change; must outlive their registration.
    void addListener(TableListener* listener);
    void removeListener(TableListener* listener);

    // While one lives, listeners are told nothing; when the last one ends,
    // each kind of change that happened meanwhile is told once, in the order
    // fields, rows, cursor, current values. A pass that writes many records
    // so reaches the views and the window a few times, not once per write.
    class ChangeBatch {
    public:
        explicit ChangeBatch(ApplianceTable& table);
        ~ChangeBatch();
        ChangeBatch(const ChangeBatch&) = delete;
        ChangeBatch& operator=(const ChangeBatch&) = delete;

    private:
        ApplianceTable& m_table;
    };

private:
    friend class Field;
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace pellion
