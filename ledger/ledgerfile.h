#pragma once

// The ledger file keeps the appliance list between runs: a comma-separated
// text file that carries the table's field definitions as well as its records.
//
//   "@@FILE VERSION@@","251"
//   "@@TABLEDEF START@@"
//   "amperage=Float,0,""Amperage"","""",10,Data,"""""      one line per field
//   ...
//   "@@INDEXDEF START@@"
//   "@@INDEXDEF END@@"
//   "@@TABLEDEF END@@"
//   "Amperage","Appliance",...,                            header of display names
//   "8.6957","Kettle",,"0.4",...,                          one line per record
//
// Every line ends with CR LF. Text values escape '%' as "%%", CR as "%c", LF as
// "%n" and NUL as "%0"; a null value is written as nothing between delimiters,
// an empty text as "". Numbers use '.' whatever the user's separators are.
// The file is written as UTF-8; a line that is not valid UTF-8 is read as
// Windows-1252, the encoding of lists written on older Windows installations.

#include "base/replacingfile.h"

#include <string>

namespace pellion {

class ApplianceTable;

// Writes the stored records in the table's current order, without moving the
// cursor. The old file is replaced only once the new one is safely on disk:
// on any failure it stays as it was; a file the user may not write is not
// replaced. With KeepAsBackup the old file's bytes are first kept as
// "<path>.bak" (see keepBackupCopy), and a file that cannot be read to keep
// it is not replaced either. Fails with the table's closed-table message,
// "Cannot create file <path>" or "Stream write error".
void SaveLedger(const ApplianceTable& table, const std::string& path,
                ReplacingFile::OldFile old = ReplacingFile::OldFile::Replace);

// Replaces the table's fields and records with those of the file (a file
// without a definition section adds its records to the table as it is).
// Fails with "Cannot open file <path>" leaving the table untouched; any later
// failure leaves what was read so far, and a failure inside the definition
// section leaves the table closed.
void LoadLedger(ApplianceTable& table, const std::string& path);

} // namespace pellion
