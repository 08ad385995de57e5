#include "reporttestdata.h"

namespace pellion::test {

void fillAppliances(ApplianceTable& table, int count) {
    // Fields the table does not define are skipped.
    const auto assign = [&table](const char* name, double value) {
        if (Field* field = table.findField(name))
            field->AssignNumber(value);
    };
    for (int number = 1; number <= count; ++number) {
        table.StartAppend();
        table.FieldNamed("appliance").AssignText(applianceName(number).toStdString());
        assign("voltage", 230);
        assign("amperage", 0.5 + number);
        assign("wattage", 230 * (0.5 + number));
        assign("hrsday", 2);
        assign("kilowattshour", 0.23 * (0.5 + number));
        assign("costhour", 0.046 * (0.5 + number));
        assign("costday", 0.092 * (0.5 + number));
        table.PostRecord();
    }
    if (count > 0)
        table.GoFirst();
}

PrinterCapabilities installedPrinter(const QString& name, std::vector<int> papers,
                                     int currentPaper) {
    PrinterCapabilities printer;
    printer.installed = true;
    printer.printerName = name;
    printer.offeredPapers = std::move(papers);
    printer.currentPaper = currentPaper;
    return printer;
}

} // namespace pellion::test
