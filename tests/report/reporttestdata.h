#pragma once

// Test support: appliance tables of a given length.

#include "ledger/appliancetable.h"

#include <QString>

namespace pellion::test {

// "Fridge 1" ... "Fridge n" with voltage, amperage, wattage and the derived
// values filled in; the cursor is left on the first record.
void fillAppliances(ApplianceTable& table, int count);

inline QString applianceName(int number) {
    return QStringLiteral("Fridge %1").arg(number);
}

} // namespace pellion::test
