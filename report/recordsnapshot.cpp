#include "report/recordsnapshot.h"

#include <exception>

namespace pellion {

RecordSnapshot::RecordSnapshot(ApplianceTable& table, const std::vector<std::string>& fieldNames)
    : m_columns(static_cast<int>(fieldNames.size())) {
    if (!table.isOpen())
        return;
    std::vector<int> fieldIndex;
    for (const std::string& name : fieldNames) {
        const Field* field = table.findField(name);
        fieldIndex.push_back(field != nullptr ? field->index() : -1);
    }
    m_records = table.viewRowCount();
    m_ends.reserve(static_cast<std::size_t>(m_records) * fieldIndex.size());
    for (int record = 0; record < m_records; ++record) {
        for (const int field : fieldIndex) {
            if (field >= 0) {
                try {
                    m_texts += table.shownTextAt(record, field);
                } catch (const std::exception&) {
                    // A text that cannot be had prints empty; the run goes on.
                }
            }
            m_ends.push_back(m_texts.size());
        }
    }
}

std::string_view RecordSnapshot::text(int record, int column) const {
    if (record < 0 || record >= recordCount() || column < 0 || column >= m_columns)
        return {};
    const std::size_t index = static_cast<std::size_t>(record) * m_columns + column;
    const std::size_t begin = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_texts).substr(begin, m_ends[index] - begin);
}

} // namespace pellion
