#pragma once

// Test support: appliance tables of a given length.

#include "ledger/appliancetable.h"
#include "report/printercapabilities.h"

#include <QString>

#include <vector>

namespace pellion::test {

// "Fridge 1" ... "Fridge n" with voltage, amperage, wattage and the derived
// values filled in; the cursor is left on the first record.
void fillAppliances(ApplianceTable& table, int count);

inline QString applianceName(int number) {
    return QStringLiteral("Fridge %1").arg(number);
}

// An installed printer offering these papers and holding the current one.
PrinterCapabilities installedPrinter(const QString& name, std::vector<int> papers,
                                     int currentPaper);

} // namespace pellion::test
