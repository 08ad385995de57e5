#pragma once

// Reads a ledger file's definition section, header and records into a table
// that is loading, with the ledger's number format in force (see
// ledgerFormat). A definition section replaces the table's fields; a failure
// inside it leaves the table closed with the fields defined so far.

namespace pellion {

class ApplianceTable;
class LedgerInput;

void readLedger(ApplianceTable& table, LedgerInput& input);

} // namespace pellion
