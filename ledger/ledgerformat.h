#pragma once

// What the ledger reader and writer share: the markers of the file, the names
// of field types and kinds, quoting, the escapes of stored texts and the text
// encoding. Internal to the ledger file; ledger/ledgerfile.h shows the layout.

#include "engine/numberformat.h"
#include "ledger/appliancetable.h"

#include <optional>
#include <string>
#include <string_view>

namespace pellion {

inline constexpr char kQuote = '"';
inline constexpr char kDelimiter = ',';

inline constexpr std::string_view kVersionMarker = "@@FILE VERSION@@";
inline constexpr std::string_view kVersion = "251";
inline constexpr std::string_view kTableDefStart = "@@TABLEDEF START@@";
inline constexpr std::string_view kTableDefEnd = "@@TABLEDEF END@@";
inline constexpr std::string_view kIndexDefStart = "@@INDEXDEF START@@";
inline constexpr std::string_view kIndexDefEnd = "@@INDEXDEF END@@";

// Only the decimal separator shows in the file; the rest are switched too so
// that nothing depends on the user's regional settings while the file is open.
FormatSettings ledgerFormat();

std::string_view kindName(FieldKind kind);
FieldKind kindNamed(std::string_view name); // Data when the name is unknown
std::string_view typeName(FieldType type);
std::optional<FieldType> typeNamed(std::string_view name);

// The text in quotes, its own quotes doubled.
void appendQuoted(std::string& out, std::string_view text);

// So that a stored text never holds a line break in the file.
std::string escaped(std::string_view text);
// An unknown escape is kept as it stands rather than lose the character.
std::string unescaped(std::string_view text);

bool isValidUtf8(std::string_view text);
std::string windows1252ToUtf8(std::string_view text);

} // namespace pellion
