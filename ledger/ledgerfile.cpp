#include "ledger/ledgerfile.h"

#include "engine/numberformat.h"
#include "ledger/appliancetable.h"
#include "ledger/ledgerformat.h"
#include "ledger/ledgerinput.h"
#include "ledger/ledgerreader.h"
#include "ledger/ledgerwriter.h"

#include <exception>

namespace pellion {
namespace {

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

void SaveLedger(const ApplianceTable& table, const std::string& path, ReplacingFile::OldFile old) {
    // Fails on a closed table before the file is touched.
    int recordCount = table.RecordTotal();
    ScopedFormatSettings fixedFormat(ledgerFormat());
    writeLedger(table, recordCount, path, old);
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
                readLedger(table, input);
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
