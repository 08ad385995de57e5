#include "ledger/appliancetable.h"

#include "base/asciicase.h"
#include "engine/numberformat.h"
#include "ledger/recordstore.h"
#include "ledger/sortorder.h"
#include "ledger/valuerows.h"

#include <algorithm>
#include <utility>

namespace pellion {

namespace {

const char* const tableName = "KMT";
// How many records ahead a move starts fetching values from memory: far enough
// that in a walk over a large table the values have arrived when it gets there.
constexpr std::size_t prefetchDistance = 8;

Error tableError(const std::string& message) {
    return Error(std::string(tableName) + ": " + message);
}

Error closedError() {
    return tableError("Cannot perform this operation on a closed dataset");
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

struct ApplianceTable::Impl {
    std::vector<std::unique_ptr<Field>> fields;
    TableState state = TableState::Browsing;
    bool loading = false;
    bool fieldsReplacedWhileLoading = false;

    RecordStore store; // the orders hold its slot numbers
    std::vector<int> rowOrder;
    std::vector<int> sortOrder;
    int sortField = -1; // the field the sort order follows; -1: the row order is current

    int cursor = -1; // position in the current order; -1 only when it is empty
    bool atStart = false;
    bool atEnd = false;

    // One row: the edit copy while editing, the new record while inserting.
    ValueRows buffer;
    bool modified = false;
    int insertPosition = 0; // view position of the new record
    bool insertFromAppend = false;
    int insertRowNumber = -1; // RowNumber when the insert began

    TextComparison compareText = byteComparison;
    std::vector<TableListener*> listeners;
    int batchDepth = 0;
    unsigned pendingChanges = 0; // one bit per TableChange told nobody yet

    bool sorted() const { return sortField >= 0; }
    std::vector<int>& order() { return sorted() ? sortOrder : rowOrder; }
    const std::vector<int>& order() const { return sorted() ? sortOrder : rowOrder; }
    int count() const { return int(order().size()); }
    int slotAt(int position) const { return order()[std::size_t(position)]; }
    // The slot of the stored current record, -1 when there is none.
    int currentSlot() const {
        return state == TableState::Inserting || cursor < 0 ? -1 : slotAt(cursor);
    }
    bool editingOrInserting() const {
        return state == TableState::Editing || state == TableState::Inserting;
    }

    RowRef storedRow(int slot) const { return store.row(slot); }
    RowRef bufferRow() const { return {&buffer, 0}; }
    Bookmark bookmarkOf(int slot) const { return store.bookmark(slot); }

    void setLayout() {
        std::vector<FieldType> types;
        for (const auto& field : fields)
            types.push_back(field->type());
        store.setLayout(types);
        buffer.setLayout(types);
        buffer.resize(1);
    }

    void notify(TableChange change) {
        if (loading) {
            if (change == TableChange::Fields)
                fieldsReplacedWhileLoading = true;
            return;
        }
        if (batchDepth > 0) {
            pendingChanges |= 1u << unsigned(change);
            return;
        }
        for (std::size_t i = 0; i < listeners.size(); ++i)
            listeners[i]->tableChanged(change);
    }

    void notifyPending() {
        const unsigned pending = std::exchange(pendingChanges, 0u);
        for (TableChange change : {TableChange::Fields, TableChange::Rows, TableChange::Cursor,
                                   TableChange::CurrentValues})
            if (pending & (1u << unsigned(change)))
                notify(change);
    }

    void requireOpen() const {
        if (state == TableState::Closed)
            throw closedError();
    }

    RowRef currentRow() const {
        if (editingOrInserting())
            return bufferRow();
        if (state == TableState::Browsing && cursor >= 0)
            return storedRow(slotAt(cursor));
        return {};
    }

    RowRef viewRow(int viewRow) const {
        if (viewRow < 0)
            return {};
        if (state == TableState::Inserting) {
            if (viewRow == insertPosition)
                return bufferRow();
            if (viewRow > insertPosition)
                --viewRow;
        } else if (state == TableState::Editing && viewRow == cursor) {
            return bufferRow();
        }
        if (viewRow >= count())
            return {};
        return storedRow(slotAt(viewRow));
    }

    // Readers of stored values (the recalculation's first walk, the ledger
    // writer) go through them in order, so fetch ahead as a move does.
    RowRef storedRowAt(int row) const {
        if (row < 0 || row >= count())
            return {};
        const std::size_t next = std::size_t(row) + prefetchDistance;
        if (next < order().size())
            store.values().prefetch(std::size_t(order()[next]));
        return storedRow(slotAt(row));
    }

    bool validField(int fieldIndex) const {
        return fieldIndex >= 0 && fieldIndex < int(fields.size());
    }

    // The row a write goes to, after the checks every write makes in this order.
    ValueRows& writableRow(const Field& field) {
        if (!editingOrInserting())
            throw tableError("Dataset is not in edit mode.");
        if (field.readOnly() && !loading)
            throw Error("Field " + field.displayName() + " is read only");
        return buffer;
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
    int compareKeys(RowRef a, RowRef b) const {
        bool aHas = a.hasValue(sortField);
        bool bHas = b.hasValue(sortField);
        if (!aHas || !bHas)
            return int(aHas) - int(bHas);
        if (fields[std::size_t(sortField)]->type() == FieldType::Number) {
            double x = a.number(sortField);
            double y = b.number(sortField);
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        int result = compareText(a.text(sortField), b.text(sortField));
        return result < 0 ? -1 : (result > 0 ? 1 : 0);
    }

    // Records never posted keep their storage order among equal keys and go
    // before posted ones, so a loaded file sorts in file order within a key.
    int compareForSort(int a, int b) const {
        int result = compareKeys(storedRow(a), storedRow(b));
        if (result != 0)
            return result;
        bool aPosted = store.isPosted(a);
        bool bPosted = store.isPosted(b);
        if (!aPosted && !bPosted)
            return a < b ? -1 : (a > b ? 1 : 0);
        if (!aPosted)
            return -1;
        if (!bPosted)
            return 1;
        return 0;
    }

    void sortRecords(std::vector<int>& list) const {
        sortSlots(list, [this](int a, int b) { return compareForSort(a, b); });
    }

    // Where `slot`'s record belongs in `list`, skipping position `skip`.
    int placeFor(const std::vector<int>& list, int slot, int skip) const {
        RowRef own = storedRow(slot);
        return placeInOrder(
            list, [&](int other) { return compareKeys(storedRow(other), own); }, skip);
    }

    void placeNewInSortOrder(int slot) {
        if (loading) {
            sortOrder.push_back(slot);
            return;
        }
        int position = placeFor(sortOrder, slot, -1);
        sortOrder.insert(sortOrder.begin() + position, slot);
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

    // A text comparison that fails while a record is placed leaves the sort
    // order incomplete; the row order, which always holds every record, takes
    // over with the posted record current.
    template <class Place> void placeOrFallBack(int slot, Place place) {
        try {
            place();
        } catch (...) {
            useRowOrder(slot);
            settleFlags();
            notify(TableChange::Rows);
            throw;
        }
    }

    void postEdit() {
        int slot = slotAt(cursor);
        bool keyChanged =
            sorted() && !store.values().sameValue(std::size_t(slot), sortField, buffer, 0);
        store.replace(slot, buffer);
        if (!loading)
            store.markPosted(slot);
        state = TableState::Browsing;
        if (keyChanged && !loading)
            placeOrFallBack(slot, [&] { replaceInSortOrder(cursor); });
    }

    void postInsert() {
        int slot = store.add(buffer, !loading);
        if (!sorted() && !insertFromAppend && insertRowNumber > 0)
            rowOrder.insert(rowOrder.begin() + (insertRowNumber - 1), slot);
        else
            rowOrder.push_back(slot);
        state = TableState::Browsing;
        if (sorted())
            placeOrFallBack(slot, [&] { placeNewInSortOrder(slot); });
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
    // next one. In a sort order the rows of successive records lie far apart,
    // so fetch those of a record a few steps ahead while this one is worked on.
    void prefetchAhead() const {
        std::size_t next = std::size_t(cursor) + prefetchDistance;
        if (next < order().size())
            store.values().prefetch(std::size_t(order()[next]));
    }

    void startNewRecord(bool append) {
        requireOpen();
        settle();
        insertRowNumber = cursor >= 0 ? cursor + 1 : -1;
        insertPosition = append ? count() : std::max(cursor, 0);
        insertFromAppend = append;
        buffer.clearRow(0);
        modified = false;
        state = TableState::Inserting;
        atStart = false;
        atEnd = false;
        notify(TableChange::Rows);
    }

    void dropRecords() {
        store.clear();
        rowOrder.clear();
        sortOrder.clear();
        sortField = -1;
        cursor = -1;
        buffer.clearRow(0);
        modified = false;
        if (editingOrInserting())
            state = TableState::Browsing;
        settleFlags();
    }

    int positionIn(const std::vector<int>& list, int slot) const {
        auto found = std::find(list.begin(), list.end(), slot);
        return found == list.end() ? -1 : int(found - list.begin());
    }

    // `current`: the slot of the record to keep current, or -1 for none.
    void useRowOrder(int current) {
        sortField = -1;
        sortOrder.clear();
        cursor = current >= 0 ? positionIn(rowOrder, current) : (rowOrder.empty() ? -1 : 0);
    }

    void rebuildOrders() {
        rowOrder = store.slotsInUse();
        if (sorted()) {
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
    return numberValueOf(*this, m_table->m->currentRow());
}

std::string Field::TextValue() const {
    return textValueOf(*this, m_table->m->currentRow());
}

bool Field::HasValue() const {
    RowRef values = m_table->m->currentRow();
    return values && values.hasValue(m_index);
}

std::string Field::ShownText() const {
    return shownTextOf(*this, m_table->m->currentRow());
}

void Field::AssignNumber(double value) {
    ValueRows& row = m_table->m->writableRow(*this);
    if (type() == FieldType::Number)
        row.setNumber(0, m_index, value);
    else
        row.setText(0, m_index, NumberToText(value, 15));
    m_table->m->written();
}

void Field::AssignText(std::string_view text) {
    ValueRows& row = m_table->m->writableRow(*this);
    if (type() == FieldType::Text) {
        text = text.substr(0, text.find('\0'));
        if (m_definition.size > 0)
            text = firstCharacters(text, m_definition.size);
        row.setText(0, m_index, text);
    } else if (text.empty()) {
        row.clearValue(0, m_index);
    } else {
        double value = 0;
        if (!TryTextToNumber(text, value))
            throw Error("'" + std::string(text) +
                        "' is not a valid floating point value for field '" + displayName() + "'");
        row.setNumber(0, m_index, value);
    }
    m_table->m->written();
}

void Field::ClearValue() {
    m_table->m->writableRow(*this).clearValue(0, m_index);
    m_table->m->written();
}

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
        if (equalIgnoringAsciiCase(field->fieldName(), name))
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
    m->setLayout();
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
    std::vector<Bookmark> bookmarks;
    bookmarks.reserve(m->order().size());
    for (int slot : m->order())
        bookmarks.push_back(m->bookmarkOf(slot));
    return bookmarks;
}

Bookmark ApplianceTable::currentBookmark() const {
    int slot = m->currentSlot();
    return slot < 0 ? nullptr : m->bookmarkOf(slot);
}

void ApplianceTable::GoToBookmark(Bookmark bookmark) {
    m->requireOpen();
    m->settle();
    // Search onward from the cursor first: after a post the record sought is
    // almost always at or just after it, so a pass over all records stays linear.
    // Bookmarks are compared, never followed: one may outlive its record.
    int size = m->count();
    int start = std::max(m->cursor, 0);
    for (int step = 0; step < size; ++step) {
        int position = (start + step) % size;
        if (m->bookmarkOf(m->slotAt(position)) == bookmark) {
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
    m->buffer.copyRow(0, m->store.values(), std::size_t(m->slotAt(m->cursor)));
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
    int slot = m->slotAt(position);
    m->order().erase(m->order().begin() + position);
    if (m->sorted())
        m->rowOrder.erase(m->rowOrder.begin() + m->positionIn(m->rowOrder, slot));
    m->store.remove(slot);
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
    int current = m->currentSlot();
    m->useRowOrder(current);
    std::string_view name = trimBlanks(fieldNames);
    if (name.empty()) {
        m->settleFlags();
        m->notify(TableChange::Rows);
        return;
    }
    try {
        int field = FieldNamed(name).index();
        std::vector<int> records = m->store.slotsInUse();
        m->sortField = field;
        m->sortRecords(records);
        m->sortOrder = std::move(records);
    } catch (...) {
        m->useRowOrder(current);
        m->settleFlags();
        m->notify(TableChange::Rows);
        throw;
    }
    int position = current >= 0 ? m->positionIn(m->sortOrder, current) : 0;
    m->clampCursor(position);
    m->settleFlags();
    m->notify(TableChange::Rows);
}

bool ApplianceTable::sorted() const {
    return m->sorted();
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
    if (!m->validField(fieldIndex))
        return {};
    return shownTextOf(field(fieldIndex), m->viewRow(viewRow));
}

bool ApplianceTable::hasValueAt(int viewRow, int fieldIndex) const {
    RowRef values = m->viewRow(viewRow);
    return values && m->validField(fieldIndex) && values.hasValue(fieldIndex);
}

Bookmark ApplianceTable::bookmarkAtViewRow(int viewRow) const {
    if (viewRow < 0)
        return nullptr;
    if (m->state == TableState::Inserting) {
        if (viewRow == m->insertPosition)
            return nullptr;
        if (viewRow > m->insertPosition)
            --viewRow;
    }
    if (viewRow >= m->count())
        return nullptr;
    return m->bookmarkOf(m->slotAt(viewRow));
}

std::string ApplianceTable::storedTextAt(int row, int fieldIndex) const {
    if (!m->validField(fieldIndex))
        return {};
    return textValueOf(field(fieldIndex), m->storedRowAt(row));
}

bool ApplianceTable::storedHasValueAt(int row, int fieldIndex) const {
    RowRef values = m->storedRowAt(row);
    return values && m->validField(fieldIndex) && values.hasValue(fieldIndex);
}

double ApplianceTable::storedNumberAt(int row, int fieldIndex) const {
    if (!m->validField(fieldIndex))
        return 0;
    return numberValueOf(field(fieldIndex), m->storedRowAt(row));
}

void ApplianceTable::addListener(TableListener* listener) {
    m->listeners.push_back(listener);
}

void ApplianceTable::removeListener(TableListener* listener) {
    auto& listeners = m->listeners;
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

ApplianceTable::ChangeBatch::ChangeBatch(ApplianceTable& table) : m_table(table) {
    ++m_table.m->batchDepth;
}

ApplianceTable::ChangeBatch::~ChangeBatch() {
    if (--m_table.m->batchDepth == 0)
        m_table.m->notifyPending();
}

} // namespace pellion
