#pragma once

// The appliance table's stored records by slot: their values, which slots are
// in use, whether each record has been posted since the last load, and one
// bookmark per slot. Internal to the table, which keeps its orders as lists
// of slots.

#include "ledger/appliancetable.h"
#include "ledger/valuerows.h"

#include <deque>
#include <vector>

namespace pellion {

// What a Bookmark points at: one per storage slot, never moved while the slot
// list lives, so a bookmark stays valid while its record stays stored.
struct StoredRecord {
    int slot = 0;
};

class RecordStore {
public:
    // Drops every record.
    void setLayout(const std::vector<FieldType>& types);
    void clear();

    // Stores row 0 of `from` in the slot freed most recently, or a new one.
    int add(const ValueRows& from, bool posted);
    void replace(int slot, const ValueRows& from);
    void markPosted(int slot);
    void remove(int slot);

    // Records never posted sort in storage order among equal keys.
    bool isPosted(int slot) const { return m_use[std::size_t(slot)] == Use::Posted; }
    // The slots in use, in storage order.
    std::vector<int> slotsInUse() const;

    const ValueRows& values() const { return m_values; }
    RowRef row(int slot) const { return {&m_values, std::size_t(slot)}; }
    Bookmark bookmark(int slot) const { return &m_bookmarks[std::size_t(slot)]; }

private:
    enum class Use : unsigned char { Free, Unposted, Posted };

    ValueRows m_values;
    std::vector<Use> m_use;
    std::deque<StoredRecord> m_bookmarks; // a deque: growing moves no element
    std::vector<int> m_freed;             // most recently freed last
};

} // namespace pellion
