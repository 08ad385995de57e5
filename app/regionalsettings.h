#pragma once

// The user's regional settings, handed to the core: the separators, the
// currency symbol and the date and time patterns that every conversion uses,
// and the text comparison the table sorts with.

#include "engine/numberformat.h"
#include "ledger/appliancetable.h"

class QLocale;

namespace pellion {

// The separators are single bytes in the core; a separator outside ASCII
// (a no-break space as thousands separator, say) falls back to a plain one.
FormatSettings regionalFormatSettings(const QLocale& locale);

// Locale-aware comparison of UTF-8 texts ("apple" < "Apple" < "banana" in
// English, and under the C locale too), for ApplianceTable::setTextComparison.
TextComparison regionalTextComparison(const QLocale& locale);

} // namespace pellion
