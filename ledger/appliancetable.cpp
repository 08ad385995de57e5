#include "ledger/appliancetable.h"

#include "engine/numberformat.h"

#include <algorithm>
#include <cstring>

namespace pellion {

namespace {

const char* const tableName = "KMT";
// Placing a record searches sequentially in orders up to this size, by
// bisection beyond; both find the same place.
constexpr std::size_t sequentialSearchLimit = 20;
// How many records ahead a move starts fetching values from memory.
constexpr std::size_t prefetchDistance = 3;

Error tableError(const std::string& message) {
    return Error(std::string(tableName) + ": " + message);
}

Error closedError() {
    return tableError("Cannot perform this operation on a closed dataset");
}

char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return foldCase(x) == foldCase(y);
           });
}

// Text is UTF-8: a limit in characters is a limit on lead bytes.
std::string_view firstCharacters(std::string_view text, int maxCharacters) {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (count == maxCharacters)
            return text.substr(0, i);
        ++count;
    }
    return text;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

int byteComparison(std::string_view a, std::string_view b) {
    return a.compare(b);
}

FieldDefinition numberField(const char* name, const char* label,
                            std::optional<std::string> displayFormat) {
    FieldDefinition d;
    d.fieldName = name;
    d.type = FieldType::Number;
    d.size = 0;
    d.displayLabel = label;
    d.displayFormat = std::move(displayFormat);
    d.precision = 2;
    d.displayWidth = 10;
    d.decimalSeparator = formatSettings().decimalSeparator;
    return d;
}

FieldDefinition textField(const char* name, const char* label, int size) {
    FieldDefinition d;
    d.fieldName = name;
    d.type = FieldType::Text;
    d.size = size;
    d.displayLabel = label;
    d.displayWidth = size;
    d.decimalSeparator = formatSettings().decimalSeparator;
    return d;
}

} // namespace

std::vector<FieldDefinition> standardFields() {
    return {
        numberField("amperage", "Amperage", std::nullopt),
        textField("appliance", "Appliance", 50),
        numberField("costday", "Cost/Day", "#.00"),
        numberField("costhour", "Cost/Hour", "#.00"),
        numberField("hrsday", "Daily Usage(Hrs)", "#.00"),
        numberField("kilowattshour", "KWH", "#.00"),
        numberField("voltage", "Voltage", "#.00"),
        numberField("wattage", "Wattage", "#.00"),
    };
}

struct TableValue {
    bool hasValue = false;
    double number = 0;
    std::string text;
};

using TableValues = std::vector<TableValue>;

struct StoredRecord {
    int slot = 0;
    bool posted = false;
    TableValues cells;
};

namespace {

bool sameValue(const TableValue& a, const TableValue& b) {
    if (a.hasValue != b.hasValue)
        return false;
    return !a.hasValue ||
           (std::memcmp(&a.number, &b.number, sizeof a.number) == 0 && a.text == b.text);
}

std::string numberText(const TableValue& cell) {
    return cell.hasValue ? NumberToText(cell.number, 15) : std::string();
}

std::string shownTextOf(const Field& field, const TableValue& cell) {
    if (!cell.hasValue)
        return {};
    if (field.type() == FieldType::Text)
        return cell.text;
    const FieldDefinition& definition = field.definition();
    if (definition.displayFormat)
        return FormatNumber(*definition.displayFormat, cell.number);
    return NumberToText(cell.number, definition.precision);
}

double textNumber(const TableValue& cell) {
    double value = 0;
    if (cell.hasValue && TryTextToNumber(cell.text, value))
        return value;
    return 0;
}

} // namespace

struct ApplianceTable::Impl {
    std::vector<std::unique_ptr<Field>> fields;
    TableState state = TableState::Browsing;
    bool loading = false;
    bool fieldsReplacedWhileLoading = false;

    std::vector<std::unique_ptr<StoredRecord>> slots; // nullptr: freed
    std::vector<int> freedSlots;                      // most recently freed last
    std::vector<StoredRecord*> rowOrder;
    std::vector<StoredRecord*> sortOrder;
    bool sorted = false;
    int sortField = -1;

    int cursor = -1; // position in the current order; -1 only when it is empty
    bool atStart = false;
    bool atEnd = false;

    // The edit copy while editing, the new record while inserting.
    TableValues buffer;
    bool modified = false;
    int insertPosition = 0; // view position of the new record
    bool insertFromAppend = false;
    int insertRowNumber = -1; // RowNumber when the insert began

    TextComparison compareText = byteComparison;
    std::vector<TableListener*> listeners;

    std::vector<StoredRecord*>& order() { return sorted ? sortOrder : rowOrder; }
    const std::vector<StoredRecord*>& order() const { return sorted ? sortOrder : rowOrder; }
    int count() const { return int(order().size()); }
    bool editingOrInserting() const {
        return state == TableState::Editing || state == TableState::Inserting;
    }

    void notify(TableChange change) {
        if (loading) {
            if (change == TableChange::Fields)
                fieldsReplacedWhileLoading = true;
            return;
        }
        for (std::size_t i = 0; i < listeners.size(); ++i)
            listeners[i]->tableChanged(change);
    }

    void requireOpen() const {
        if (state == TableState::Closed)
            throw closedError();
    }

    const TableValue* currentCell(int fieldIndex) const {
        if (editingOrInserting())
            return &buffer[std::size_t(fieldIndex)];
        if (state == TableState::Browsing && cursor >= 0)
            return &order()[std::size_t(cursor)]->cells[std::size_t(fieldIndex)];
        return nullptr;
    }

    const TableValues* viewValues(int viewRow) const {
        if (viewRow < 0)
            return nullptr;
        if (state == TableState::Inserting) {
            if (viewRow == insertPosition)
                return &buffer;
            if (viewRow > insertPosition)
                --viewRow;
        } else if (state == TableState::Editing && viewRow == cursor) {
            return &buffer;
        }
        if (viewRow >= count())
            return nullptr;
        return &order()[std::size_t(viewRow)]->cells;
    }

    const TableValue* storedCell(int row, int fieldIndex) const {
        if (row < 0 || row >= count() || fieldIndex < 0 || fieldIndex >= int(fields.size()))
            return nullptr;
        return &order()[std::size_t(row)]->cells[std::size_t(fieldIndex)];
    }

    TableValue& writableCell(const Field& field) {
        if (!editingOrInserting())
            throw tableError("Dataset is not in edit mode.");
        if (field.readOnly() && !loading)
            throw Error("Field " + field.displayName() + " is read only");
        return buffer[std::size_t(field.index())];
    }

    void written() {
        modified = true;
        notify(TableChange::CurrentValues);
    }

    void settleFlags() {
        bool none = cursor < 0 && state != TableState::Inserting;
        atStart = none;
        atEnd = none;
    }

    void clampCursor(int position) {
        cursor = count() == 0 ? -1 : std::clamp(position, 0, count() - 1);
    }

    // Ordering of two values of the sort field; empty values come first.
    int compareKeys(const TableValue& a, const TableValue& b) const {
        if (!a.hasValue || !b.hasValue)
            return int(a.hasValue) - int(b.hasValue);
        if (fields[std::size_t(sortField)]->type() == FieldType::Number)
            return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
        int result = compareText(a.text, b.text);
        return result < 0 ? -1 : (result > 0 ? 1 : 0);
    }

    const TableValue& key(const StoredRecord* record) const {
        return record->cells[std::size_t(sortField)];
    }

    // Records never posted keep their storage order among equal keys and go
    // before posted ones, so a loaded file sorts in file order within a key.
    int compareForSort(const StoredRecord* a, const StoredRecord* b) const {
        int result = compareKeys(key(a), key(b));
        if (result != 0)
            return result;
        if (!a->posted && !b->posted)
            return a->slot < b->slot ? -1 : (a->slot > b->slot ? 1 : 0);
        if (!a->posted)
            return -1;
        if (!b->posted)
            return 1;
        return 0;
    }

    bool less(const StoredRecord* a, const StoredRecord* b) const {
        return compareForSort(a, b) < 0;
    }
    bool greater(const StoredRecord* a, const StoredRecord* b) const {
        return compareForSort(a, b) > 0;
    }

    // Median-of-three quicksort that leaves partitions of five or fewer to the
    // insertion sort. It recurses into the smaller part only, which keeps the
    // stack shallow without changing the result.
    void quickSort(std::vector<StoredRecord*>& list, int l, int r) const {
        while (r - l > 4) {
            int m = (l + r) / 2;
            if (greater(list[l], list[m]))
                std::swap(list[l], list[m]);
            if (greater(list[l], list[r]))
                std::swap(list[l], list[r]);
            if (greater(list[m], list[r]))
                std::swap(list[m], list[r]);
            std::swap(list[m], list[r - 1]);
            StoredRecord* pivot = list[r - 1];
            int i = l;
            int j = r - 1;
            for (;;) {
                // The bounds only guard against a comparison that is not a
                // strict order; for a proper one the sentinels stop first.
                ++i;
                while (i < r && less(list[i], pivot))
                    ++i;
                --j;
                while (j > l && greater(list[j], pivot))
                    --j;
                if (i > j)
                    break;
                std::swap(list[i], list[j]);
            }
            std::swap(list[i], list[r - 1]);
            if (j - l < r - (i + 1)) {
                quickSort(list, l, j);
                l = i + 1;
            } else {
                quickSort(list, i + 1, r);
                r = j;
            }
        }
    }

    void insertionSort(std::vector<StoredRecord*>& list, int l, int r) const {
        for (int k = l + 1; k <= r; ++k) {
            StoredRecord* x = list[k];
            int j = k;
            while (j > l && greater(list[j - 1], x)) {
                list[j] = list[j - 1];
                --j;
            }
            list[j] = x;
        }
    }

    void sortRecords(std::vector<StoredRecord*>& list) const {
        int last = int(list.size()) - 1;
        quickSort(list, 0, last);
        insertionSort(list, 0, last);
    }

    std::vector<StoredRecord*> storageOrder() const {
        std::vector<StoredRecord*> records;
        records.reserve(slots.size());
        for (const auto& slot : slots)
            if (slot)
                records.push_back(slot.get());
        return records;
    }

    // Position in `list` before the first record whose key is not less than
    // `record`'s, skipping position `skip`, counted as if `skip` were gone.
    int placeFor(const std::vector<StoredRecord*>& list, const StoredRecord* record,
                 int skip) const {
        const TableValue& own = key(record);
        auto notLess = [&](const StoredRecord* other) { return compareKeys(key(other), own) >= 0; };
        int size = int(list.size());
        int remaining = skip >= 0 ? size - 1 : size;
        if (remaining <= int(sequentialSearchLimit)) {
            int position = 0;
            for (int i = 0; i < size; ++i) {
                if (i == skip)
                    continue;
                if (notLess(list[std::size_t(i)]))
                    return position;
                ++position;
            }
            return position;
        }
        auto isLess = [&](const StoredRecord* other, const TableValue& k) {
            return compareKeys(key(other), k) < 0;
        };
        auto begin = list.begin();
        int end = skip >= 0 ? skip : size;
        int found = int(std::lower_bound(begin, begin + end, own, isLess) - begin);
        if (found < end || skip < 0)
            return found;
        found = int(std::lower_bound(begin + skip + 1, list.end(), own, isLess) - begin);
        return found - 1;
    }

    void placeNewInSortOrder(StoredRecord* record) {
        if (loading) {
            sortOrder.push_back(record);
            return;
        }
        int position = placeFor(sortOrder, record, -1);
        sortOrder.insert(sortOrder.begin() + position, record);
    }

    // Moves the record at `from` to its place; shifts only what lies between.
    void replaceInSortOrder(int from) {
        int to = placeFor(sortOrder, sortOrder[std::size_t(from)], from);
        auto at = sortOrder.begin();
        if (to < from)
            std::rotate(at + to, at + from, at + from + 1);
        else if (to > from)
            std::rotate(at + from, at + from + 1, at + to + 1);
    }

    StoredRecord* store(TableValues cells) {
        int slot;
        if (!freedSlots.empty()) {
            slot = freedSlots.back();
            freedSlots.pop_back();
        } else {
            slot = int(slots.size());
            slots.emplace_back();
        }
        auto record = std::make_unique<StoredRecord>();
        record->slot = slot;
        record->posted = !loading;
        record->cells = std::move(cells);
        slots[std::size_t(slot)] = std::move(record);
        return slots[std::size_t(slot)].get();
    }

    // A text comparison that fails while a record is placed leaves the sort
    // order incomplete; the row order, which always holds every record, takes
    // over with the posted record current.
    template <class Place> void placeOrFallBack(StoredRecord* record, Place place) {
        try {
            place();
        } catch (...) {
            useRowOrder(record);
            settleFlags();
            notify(TableChange::Rows);
            throw;
        }
    }

    void postEdit() {
        StoredRecord* record = order()[std::size_t(cursor)];
        bool keyChanged = sorted && !sameValue(key(record), buffer[std::size_t(sortField)]);
        record->cells.swap(buffer);
        if (!loading)
            record->posted = true;
        state = TableState::Browsing;
        if (keyChanged && !loading)
            placeOrFallBack(record, [&] { replaceInSortOrder(cursor); });
    }

    void postInsert() {
        StoredRecord* record = store(std::move(buffer));
        buffer.clear();
        if (!sorted && !insertFromAppend && insertRowNumber > 0)
            rowOrder.insert(rowOrder.begin() + (insertRowNumber - 1), record);
        else
            rowOrder.push_back(record);
        state = TableState::Browsing;
        if (sorted)
            placeOrFallBack(record, [&] { placeNewInSortOrder(record); });
        clampCursor(insertPosition);
    }

    void post() {
        if (!editingOrInserting())
            throw tableError("Dataset not in edit or insert mode");
        if (state == TableState::Editing)
            postEdit();
        else
            postInsert();
        settleFlags();
        notify(TableChange::Rows);
    }

    void cancel() {
        if (state == TableState::Editing) {
            state = TableState::Browsing;
        } else if (state == TableState::Inserting) {
            state = TableState::Browsing;
            buffer.clear();
            clampCursor(insertPosition);
        } else {
            return;
        }
        settleFlags();
        notify(TableChange::Rows);
    }

    void settle() {
        if (!editingOrInserting())
            return;
        if (modified)
            post();
        else
            cancel();
    }

    void moveTo(int position) {
        if (position != cursor) {
            cursor = position;
            prefetchAhead();
            notify(TableChange::Cursor);
        }
    }

    // Walks over the records (the recalculation, the report) mostly step to the
    // next one. In a sort order the records lie scattered in memory, so fetch
    // the values of a record a few steps ahead, and the header of the one after
    // it, while this one is being worked on.
    void prefetchAhead() const {
        const auto& records = order();
        std::size_t next = std::size_t(cursor) + prefetchDistance;
        if (next + 1 < records.size())
            __builtin_prefetch(records[next + 1]);
        if (next < records.size()) {
            const auto& cells = records[next]->cells;
            const char* begin = reinterpret_cast<const char*>(cells.data());
            const char* end = reinterpret_cast<const char*>(cells.data() + cells.size());
            for (const char* line = begin; line < end; line += 64)
                __builtin_prefetch(line);
        }
    }

    void startNewRecord(bool append) {
        requireOpen();
        settle();
        insertRowNumber = cursor >= 0 ? cursor + 1 : -1;
        insertPosition = append ? count() : std::max(cursor, 0);
        insertFromAppend = append;
        buffer.assign(fields.size(), TableValue{});
        modified = false;
        state = TableState::Inserting;
        atStart = false;
        atEnd = false;
        notify(TableChange::Rows);
    }

    void dropRecords() {
        slots.clear();
        freedSlots.clear();
        rowOrder.clear();
        sortOrder.clear();
        sorted = false;
        sortField = -1;
        cursor = -1;
        buffer.clear();
        modified = false;
        if (editingOrInserting())
            state = TableState::Browsing;
        settleFlags();
    }

    int positionIn(const std::vector<StoredRecord*>& list, const StoredRecord* record) const {
        auto found = std::find(list.begin(), list.end(), record);
        return found == list.end() ? -1 : int(found - list.begin());
    }

    void useRowOrder(const StoredRecord* current) {
        sorted = false;
        sortField = -1;
        sortOrder.clear();
        cursor = current ? positionIn(rowOrder, current) : (rowOrder.empty() ? -1 : 0);
    }

    void rebuildOrders() {
        rowOrder = storageOrder();
        if (sorted) {
            sortOrder = rowOrder;
            sortRecords(sortOrder);
        }
        cursor = rowOrder.empty() ? -1 : 0;
        if (state == TableState::Inserting) {
            insertFromAppend = true;
            insertPosition = count();
            insertRowNumber = -1;
        }
        settleFlags();
    }
};

// Field

Field::Field(ApplianceTable& table, int index, FieldDefinition definition)
    : m_table(&table), m_index(index), m_definition(std::move(definition)) {
    m_definition.precision = std::clamp(m_definition.precision, 2, 15);
}

const FieldDefinition& Field::definition() const {
    return m_definition;
}
const std::string& Field::fieldName() const {
    return m_definition.fieldName;
}
FieldType Field::type() const {
    return m_definition.type;
}

std::string Field::displayName() const {
    return m_definition.displayLabel.empty() ? m_definition.fieldName : m_definition.displayLabel;
}

Alignment Field::alignment() const {
    return type() == FieldType::Number ? Alignment::Right : Alignment::Left;
}

int Field::index() const {
    return m_index;
}
bool Field::readOnly() const {
    return m_definition.readOnly;
}
void Field::setReadOnly(bool readOnly) {
    m_definition.readOnly = readOnly;
}

double Field::NumberValue() const {
    const TableValue* cell = m_table->m->currentCell(m_index);
    if (!cell || !cell->hasValue)
        return 0;
    return type() == FieldType::Number ? cell->number : textNumber(*cell);
}

std::string Field::TextValue() const {
    const TableValue* cell = m_table->m->currentCell(m_index);
    if (!cell || !cell->hasValue)
        return {};
    return type() == FieldType::Number ? numberText(*cell) : cell->text;
}

bool Field::HasValue() const {
    const TableValue* cell = m_table->m->currentCell(m_index);
    return cell && cell->hasValue;
}

std::string Field::ShownText() const {
    const TableValue* cell = m_table->m->currentCell(m_index);
    return cell ? shownTextOf(*this, *cell) : std::string();
}

void Field::AssignNumber(double value) {
    TableValue& cell = m_table->m->writableCell(*this);
    cell.hasValue = true;
    if (type() == FieldType::Number)
        cell.number = value;
    else
        cell.text = NumberToText(value, 15);
    m_table->m->written();
}

void Field::AssignText(std::string_view text) {
    TableValue& cell = m_table->m->writableCell(*this);
    if (type() == FieldType::Text) {
        text = text.substr(0, text.find('\0'));
        if (m_definition.size > 0)
            text = firstCharacters(text, m_definition.size);
        cell.text.assign(text);
        cell.hasValue = true;
    } else if (text.empty()) {
        cell.hasValue = false;
        cell.number = 0;
    } else {
        double value = 0;
        if (!TryTextToNumber(text, value))
            throw Error("'" + std::string(text) +
                        "' is not a valid floating point value for field '" + displayName() + "'");
        cell.number = value;
        cell.hasValue = true;
    }
    m_table->m->written();
}

void Field::ClearValue() {
    TableValue& cell = m_table->m->writableCell(*this);
    cell.hasValue = false;
    cell.number = 0;
    cell.text.clear();
    m_table->m->written();
}

// ApplianceTable

ApplianceTable::ApplianceTable() : m(std::make_unique<Impl>()) {
    replaceFields(standardFields());
}

ApplianceTable::~ApplianceTable() = default;

int ApplianceTable::fieldCount() const {
    return int(m->fields.size());
}
Field& ApplianceTable::field(int index) {
    return *m->fields.at(std::size_t(index));
}
const Field& ApplianceTable::field(int index) const {
    return *m->fields.at(std::size_t(index));
}

Field& ApplianceTable::FieldNamed(std::string_view name) {
    if (Field* found = findField(name))
        return *found;
    throw tableError("Field '" + std::string(name) + "' not found");
}

Field* ApplianceTable::findField(std::string_view name) {
    for (auto& field : m->fields)
        if (equalIgnoringCase(field->fieldName(), name))
            return field.get();
    return nullptr;
}

void ApplianceTable::replaceFields(std::vector<FieldDefinition> definitions) {
    m->dropRecords();
    m->fields.clear();
    for (auto& definition : definitions) {
        int index = int(m->fields.size());
        m->fields.push_back(std::unique_ptr<Field>(new Field(*this, index, std::move(definition))));
    }
    m->notify(TableChange::Fields);
}

TableState ApplianceTable::state() const {
    return m->state;
}
bool ApplianceTable::isOpen() const {
    return m->state != TableState::Closed;
}

void ApplianceTable::open() {
    if (isOpen())
        return;
    m->state = TableState::Browsing;
    m->dropRecords();
    m->notify(TableChange::Rows);
}

void ApplianceTable::close() {
    m->dropRecords();
    m->state = TableState::Closed;
    m->notify(TableChange::Rows);
}

void ApplianceTable::setLoading(bool loading) {
    if (loading == m->loading)
        return;
    m->loading = loading;
    if (loading) {
        m->fieldsReplacedWhileLoading = false;
        return;
    }
    m->rebuildOrders();
    if (m->fieldsReplacedWhileLoading)
        m->notify(TableChange::Fields);
    m->notify(TableChange::Rows);
}

bool ApplianceTable::loading() const {
    return m->loading;
}

void ApplianceTable::GoFirst() {
    m->requireOpen();
    m->settle();
    m->moveTo(m->count() == 0 ? -1 : 0);
    m->atStart = true;
    m->atEnd = m->count() == 0;
}

void ApplianceTable::GoLast() {
    m->requireOpen();
    m->settle();
    m->moveTo(m->count() - 1);
    m->atStart = m->count() == 0;
    m->atEnd = true;
}

void ApplianceTable::GoNext() {
    m->requireOpen();
    m->settle();
    if (m->cursor + 1 < m->count()) {
        m->moveTo(m->cursor + 1);
        m->atStart = false;
        m->atEnd = false;
    } else {
        m->atStart = m->count() == 0;
        m->atEnd = true;
    }
}

void ApplianceTable::GoPrior() {
    m->requireOpen();
    m->settle();
    if (m->cursor > 0) {
        m->moveTo(m->cursor - 1);
        m->atStart = false;
        m->atEnd = false;
    } else {
        m->atStart = true;
        m->atEnd = m->count() == 0;
    }
}

bool ApplianceTable::AtStart() const {
    return m->atStart;
}
bool ApplianceTable::AtEnd() const {
    return m->atEnd;
}

int ApplianceTable::RecordTotal() const {
    m->requireOpen();
    return m->count();
}

int ApplianceTable::RowNumber() const {
    if (m->state == TableState::Inserting || m->cursor < 0)
        return -1;
    return m->cursor + 1;
}

std::vector<Bookmark> ApplianceTable::bookmarksInOrder() const {
    return {m->order().begin(), m->order().end()};
}

Bookmark ApplianceTable::currentBookmark() const {
    if (m->state == TableState::Inserting || m->cursor < 0)
        return nullptr;
    return m->order()[std::size_t(m->cursor)];
}

void ApplianceTable::GoToBookmark(Bookmark bookmark) {
    m->requireOpen();
    m->settle();
    // Search onward from the cursor first: after a post the record sought is
    // almost always at or just after it, so a pass over all records stays linear.
    const auto& order = m->order();
    int size = m->count();
    int start = std::max(m->cursor, 0);
    for (int step = 0; step < size; ++step) {
        int position = (start + step) % size;
        if (order[std::size_t(position)] == bookmark) {
            m->moveTo(position);
            m->atStart = false;
            m->atEnd = false;
            return;
        }
    }
    throw tableError("Record not found");
}

void ApplianceTable::StartEdit() {
    m->requireOpen();
    if (m->editingOrInserting())
        return;
    if (m->count() == 0) {
        m->startNewRecord(false);
        return;
    }
    m->buffer = m->order()[std::size_t(m->cursor)]->cells;
    m->modified = false;
    m->state = TableState::Editing;
    m->notify(TableChange::Rows);
}

void ApplianceTable::StartInsert() {
    m->startNewRecord(false);
}
void ApplianceTable::StartAppend() {
    m->startNewRecord(true);
}
void ApplianceTable::PostRecord() {
    m->post();
}
void ApplianceTable::CancelRecord() {
    m->cancel();
}

void ApplianceTable::RemoveRecord() {
    m->requireOpen();
    if (m->state == TableState::Inserting) {
        m->cancel();
        return;
    }
    if (m->count() == 0)
        throw tableError("Cannot perform this operation on an empty dataset");
    m->state = TableState::Browsing;
    int position = m->cursor;
    StoredRecord* record = m->order()[std::size_t(position)];
    m->order().erase(m->order().begin() + position);
    if (m->sorted)
        m->rowOrder.erase(m->rowOrder.begin() + m->positionIn(m->rowOrder, record));
    int slot = record->slot;
    m->slots[std::size_t(slot)].reset();
    m->freedSlots.push_back(slot);
    m->clampCursor(position);
    m->settleFlags();
    m->notify(TableChange::Rows);
}

bool ApplianceTable::modified() const {
    return m->editingOrInserting() && m->modified;
}

void ApplianceTable::SortByFields(std::string_view fieldNames) {
    if (!isOpen())
        return;
    m->settle();
    const StoredRecord* current = currentBookmark();
    m->useRowOrder(current);
    std::string_view name = trimBlanks(fieldNames);
    if (name.empty()) {
        m->settleFlags();
        m->notify(TableChange::Rows);
        return;
    }
    try {
        int field = FieldNamed(name).index();
        std::vector<StoredRecord*> records = m->storageOrder();
        m->sortField = field;
        m->sortRecords(records);
        m->sortOrder = std::move(records);
        m->sorted = true;
    } catch (...) {
        m->useRowOrder(current);
        m->settleFlags();
        m->notify(TableChange::Rows);
        throw;
    }
    int position = current ? m->positionIn(m->sortOrder, current) : 0;
    m->clampCursor(position);
    m->settleFlags();
    m->notify(TableChange::Rows);
}

bool ApplianceTable::sorted() const {
    return m->sorted;
}

void ApplianceTable::setTextComparison(TextComparison compare) {
    m->compareText = compare ? std::move(compare) : TextComparison(byteComparison);
}

int ApplianceTable::viewRowCount() const {
    return m->count() + (m->state == TableState::Inserting ? 1 : 0);
}

int ApplianceTable::currentViewRow() const {
    return m->state == TableState::Inserting ? m->insertPosition : m->cursor;
}

std::string ApplianceTable::shownTextAt(int viewRow, int fieldIndex) const {
    const TableValues* cells = m->viewValues(viewRow);
    if (!cells || fieldIndex < 0 || fieldIndex >= fieldCount())
        return {};
    return shownTextOf(field(fieldIndex), (*cells)[std::size_t(fieldIndex)]);
}

bool ApplianceTable::hasValueAt(int viewRow, int fieldIndex) const {
    const TableValues* cells = m->viewValues(viewRow);
    return cells && fieldIndex >= 0 && fieldIndex < fieldCount() &&
           (*cells)[std::size_t(fieldIndex)].hasValue;
}

std::string ApplianceTable::storedTextAt(int row, int fieldIndex) const {
    const TableValue* cell = m->storedCell(row, fieldIndex);
    if (!cell || !cell->hasValue)
        return {};
    return field(fieldIndex).type() == FieldType::Number ? numberText(*cell) : cell->text;
}

bool ApplianceTable::storedHasValueAt(int row, int fieldIndex) const {
    const TableValue* cell = m->storedCell(row, fieldIndex);
    return cell && cell->hasValue;
}

double ApplianceTable::storedNumberAt(int row, int fieldIndex) const {
    const TableValue* cell = m->storedCell(row, fieldIndex);
    if (!cell || !cell->hasValue)
        return 0;
    return field(fieldIndex).type() == FieldType::Number ? cell->number : textNumber(*cell);
}

void ApplianceTable::addListener(TableListener* listener) {
    m->listeners.push_back(listener);
}

void ApplianceTable::removeListener(TableListener* listener) {
    auto& listeners = m->listeners;
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

} // namespace pellion
