#pragma once

// The records a report run prints, taken from the appliance table at the
// run's start: for every record in the table's current order, the shown text
// of each field the report names, as the grid shows it. The run walks this copy and never the
// table, so nothing the user does in the main window while pages are being
// produced (edits, deletes, sorting, a recalculation) changes or shortens
// the report, and the table's cursor stays where the user has it.
//
// The texts lie end to end in one buffer: a long list costs a few bytes per
// text rather than a string object each.

#include "ledger/appliancetable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

class RecordSnapshot {
public:
    RecordSnapshot() = default; // no records

    // One column per field name, matched without regard to case; a name no
    // field carries gives empty texts. A closed table gives no records. The
    // rows are the table's view rows, so a record being edited or inserted
    // counts as the grid shows it: settle the table first to take only what
    // is stored.
    RecordSnapshot(ApplianceTable& table, const std::vector<std::string>& fieldNames);

    int recordCount() const { return m_records; }
    int columnCount() const { return m_columns; }
    // Empty for a record or column outside the snapshot.
    std::string_view text(int record, int column) const;

private:
    int m_records = 0;
    int m_columns = 0;
    std::string m_texts;
    std::vector<std::size_t> m_ends; // where each text ends, record by record
};

} // namespace pellion
