#include "ledger/costpass.h"

#include "ledger/appliancetable.h"

#include <string>
#include <vector>

namespace pellion {

namespace {

// A field of the table, looked up by name when a step of the pass first
// needs it: a ledger may define other fields than the program's own, and a
// field no step reaches (costday, when no appliance has hours) must not stop
// the pass.
class FieldOnDemand {
public:
    FieldOnDemand(ApplianceTable& table, const char* name) : m_table(table), m_name(name) {}

    std::string TextValue() { return field().TextValue(); }
    double NumberValue() { return field().NumberValue(); }
    void AssignNumber(double value) { field().AssignNumber(value); }
    void setReadOnly(bool readOnly) { field().setReadOnly(readOnly); }

private:
    Field& field() {
        if (!m_field)
            m_field = &m_table.FieldNamed(m_name);
        return *m_field;
    }

    ApplianceTable& m_table;
    const char* m_name;
    Field* m_field = nullptr;
};

struct ApplianceFields {
    explicit ApplianceFields(ApplianceTable& table)
        : appliance(table, "appliance"), wattage(table, "wattage"), voltage(table, "voltage"),
          amperage(table, "amperage"), hrsday(table, "hrsday"),
          kilowattshour(table, "kilowattshour"), costhour(table, "costhour"),
          costday(table, "costday") {}
    FieldOnDemand appliance;
    FieldOnDemand wattage;
    FieldOnDemand voltage;
    FieldOnDemand amperage;
    FieldOnDemand hrsday;
    FieldOnDemand kilowattshour;
    FieldOnDemand costhour;
    FieldOnDemand costday;
};

struct PassTotals {
    double dailyEnergy = 0;
    double most = 0;
    double least = startingLeast;
};

// Returns false when the triangle cannot be completed; the record is then
// left as it was.
bool processRecord(ApplianceTable& table, ApplianceFields& f, double pricePerKwh,
                   PassTotals& totals, RecalcResult& result) {
    std::string name = f.appliance.TextValue();
    if (name.empty())
        return true;
    double wattage = f.wattage.NumberValue();
    double voltage = f.voltage.NumberValue();
    double amperage = f.amperage.NumberValue();
    double hours = f.hrsday.NumberValue();
    if (!calckwh(amperage, voltage, wattage))
        return false;

    table.StartEdit();
    f.wattage.AssignNumber(wattage);
    f.amperage.AssignNumber(amperage);
    f.voltage.AssignNumber(voltage);

    // The user must not type into the derived fields, so their read-only
    // marks are lifted only around the pass's own writes.
    double kwhPerHour = wattage / 1000;
    f.kilowattshour.setReadOnly(false);
    f.costhour.setReadOnly(false);
    f.kilowattshour.AssignNumber(kwhPerHour);
    f.costhour.AssignNumber(pricePerKwh * kwhPerHour);
    if (hours > 0) {
        f.costday.setReadOnly(false);
        f.costday.AssignNumber(f.costhour.NumberValue() * hours);
        f.costday.setReadOnly(true);
        totals.dailyEnergy += hours * kwhPerHour;
    }
    result.applianceCosts.push_back({name, hours > 0 ? f.costday.NumberValue() : 0});

    double costPerHour = f.costhour.NumberValue();
    if (costPerHour > totals.most) {
        totals.most = costPerHour;
        result.mostName = name;
    }
    if (costPerHour < totals.least) {
        totals.least = costPerHour;
        result.leastName = name;
    }
    f.kilowattshour.setReadOnly(true);
    f.costhour.setReadOnly(true);
    return true;
}

void processRecords(ApplianceTable& table, const std::vector<Bookmark>& records,
                    const RecalcInputs& inputs, const CompletionFailedHook& onCompletionFailed,
                    PassTotals& totals, RecalcResult& result) {
    ApplianceFields fields(table);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0)
            table.GoToBookmark(records[i]);
        if (!processRecord(table, fields, inputs.pricePerKwh, totals, result)) {
            result.completionFailed = true;
            if (onCompletionFailed)
                onCompletionFailed();
            return;
        }
    }
    table.GoLast(); // posts the last record's edit
}

} // namespace

RecalcResult Recalculate(ApplianceTable& table, const RecalcInputs& inputs,
                         const CompletionFailedHook& onCompletionFailed) {
    RecalcResult result;
    PassTotals totals;

    table.GoFirst();
    // Posting a record can move it in a sorted table, so the pass follows the
    // order the records had when it began rather than the cursor's neighbours.
    std::vector<Bookmark> records = table.bookmarksInOrder();
    if (!records.empty())
        processRecords(table, records, inputs, onCompletionFailed, totals, result);

    completeTotals(result, totals.dailyEnergy, inputs);
    result.most = totals.most;
    result.least = totals.least;
    return result;
}

} // namespace pellion
