#include "ledger/recordstore.h"

namespace pellion {

void RecordStore::setLayout(const std::vector<FieldType>& types) {
    clear();
    m_values.setLayout(types);
}

void RecordStore::clear() {
    m_values.resize(0);
    m_use.clear();
    m_bookmarks.clear();
    m_freed.clear();
}

int RecordStore::add(const ValueRows& from, bool posted) {
    int slot;
    if (!m_freed.empty()) {
        slot = m_freed.back();
        m_freed.pop_back();
    } else {
        slot = int(m_use.size());
        m_use.push_back(Use::Free);
        m_bookmarks.push_back(StoredRecord{slot});
        m_values.resize(m_use.size());
    }
    m_values.copyRow(std::size_t(slot), from, 0);
    m_use[std::size_t(slot)] = posted ? Use::Posted : Use::Unposted;
    return slot;
}

void RecordStore::replace(int slot, const ValueRows& from) {
    m_values.copyRow(std::size_t(slot), from, 0);
}

void RecordStore::markPosted(int slot) {
    m_use[std::size_t(slot)] = Use::Posted;
}

void RecordStore::remove(int slot) {
    m_use[std::size_t(slot)] = Use::Free;
    m_values.clearRow(std::size_t(slot));
    m_freed.push_back(slot);
}

std::vector<int> RecordStore::slotsInUse() const {
    std::vector<int> slots;
    slots.reserve(m_use.size());
    for (std::size_t slot = 0; slot < m_use.size(); ++slot)
        if (m_use[slot] != Use::Free)
            slots.push_back(int(slot));
    return slots;
}

} // namespace pellion
