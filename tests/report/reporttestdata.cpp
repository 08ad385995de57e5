#include "reporttestdata.h"

namespace pellion::test {

void fillAppliances(ApplianceTable& table, int count) {
    for (int number = 1; number <= count; ++number) {
        table.StartAppend();
        table.FieldNamed("appliance").AssignText(applianceName(number).toStdString());
        table.FieldNamed("voltage").AssignNumber(230);
        table.FieldNamed("amperage").AssignNumber(0.5 + number);
        table.FieldNamed("wattage").AssignNumber(230 * (0.5 + number));
        table.FieldNamed("hrsday").AssignNumber(2);
        table.FieldNamed("kilowattshour").AssignNumber(0.23 * (0.5 + number));
        table.FieldNamed("costhour").AssignNumber(0.046 * (0.5 + number));
        table.FieldNamed("costday").AssignNumber(0.092 * (0.5 + number));
        table.PostRecord();
    }
    if (count > 0)
        table.GoFirst();
}

} // namespace pellion::test
