#pragma once

// Writes the ledger file: the definition section, the header and the first
// recordCount stored records, in the table's current order. Expects the
// ledger's number format in force (see ledgerFormat). The old file is
// replaced only once the new one is safely on disk. Fails with "Cannot create
// file <path>" or "Stream write error". With KeepAsBackup the old file's
// bytes are kept as "<path>.bak" just before the new file takes its place.

#include "base/replacingfile.h"

#include <string>

namespace pellion {

class ApplianceTable;

void writeLedger(const ApplianceTable& table, int recordCount, const std::string& path,
                 ReplacingFile::OldFile old);

} // namespace pellion
