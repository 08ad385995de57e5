#include "ledger/costpass.h"

#include "ledger/appliancetable.h"

#include <optional>
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

    int index() { return field().index(); }
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

// What the pass writes into one named record.
struct RecordResult {
    double wattage = 0;
    double amperage = 0;
    double voltage = 0;
    double kwhPerHour = 0;
    double costPerHour = 0;
    std::optional<double> costPerDay; // only with hours of use
};

// The whole pass worked out before anything is written, so that a result
// that does not fit a double can stop it with the table untouched.
struct PassPlan {
    std::vector<std::optional<RecordResult>> records; // none: a record without a name
    bool completionFailed = false;                    // at the record after the last one planned
    double dailyEnergy = 0;
    double most = 0;
    double least = startingLeast;
    std::optional<std::size_t> mostRecord;
    std::optional<std::size_t> leastRecord;
    std::vector<ApplianceCost> applianceCosts;
};

PassPlan planPass(const ApplianceTable& table, ApplianceFields& f, double pricePerKwh) {
    PassPlan plan;
    const int total = table.RecordTotal();
    plan.records.reserve(std::size_t(total));
    for (int row = 0; row < total; ++row) {
        std::string name = table.storedTextAt(row, f.appliance.index());
        if (name.empty()) {
            plan.records.emplace_back();
            continue;
        }
        RecordResult r;
        r.wattage = table.storedNumberAt(row, f.wattage.index());
        r.voltage = table.storedNumberAt(row, f.voltage.index());
        r.amperage = table.storedNumberAt(row, f.amperage.index());
        const double hours = table.storedNumberAt(row, f.hrsday.index());
        if (!calckwh(r.amperage, r.voltage, r.wattage)) {
            plan.completionFailed = true;
            break;
        }
        r.kwhPerHour = r.wattage / 1000;
        r.costPerHour = finiteOrOverflow(pricePerKwh * r.kwhPerHour);
        if (hours > 0) {
            r.costPerDay = finiteOrOverflow(r.costPerHour * hours);
            plan.dailyEnergy = finiteOrOverflow(plan.dailyEnergy + hours * r.kwhPerHour);
        }
        const std::size_t index = plan.records.size();
        if (r.costPerHour > plan.most) {
            plan.most = r.costPerHour;
            plan.mostRecord = index;
        }
        if (r.costPerHour < plan.least) {
            plan.least = r.costPerHour;
            plan.leastRecord = index;
        }
        plan.applianceCosts.push_back({std::move(name), r.costPerDay.value_or(0)});
        plan.records.push_back(r);
    }
    return plan;
}

void writeRecord(ApplianceTable& table, ApplianceFields& f, const RecordResult& r) {
    table.StartEdit();
    f.wattage.AssignNumber(r.wattage);
    f.amperage.AssignNumber(r.amperage);
    f.voltage.AssignNumber(r.voltage);

    // The user must not type into the derived fields, so their read-only
    // marks are lifted only around the pass's own writes.
    f.kilowattshour.setReadOnly(false);
    f.costhour.setReadOnly(false);
    f.kilowattshour.AssignNumber(r.kwhPerHour);
    f.costhour.AssignNumber(r.costPerHour);
    if (r.costPerDay) {
        f.costday.setReadOnly(false);
        f.costday.AssignNumber(*r.costPerDay);
        f.costday.setReadOnly(true);
    }
    f.kilowattshour.setReadOnly(true);
    f.costhour.setReadOnly(true);
}

// Posting a record can move it in a sorted table, so the pass follows the
// order the records had when it began rather than the cursor's neighbours.
void writeRecords(ApplianceTable& table, ApplianceFields& fields, const PassPlan& plan,
                  const std::vector<Bookmark>& records,
                  const CompletionFailedHook& onCompletionFailed, RecalcResult& result) {
    for (std::size_t i = 0; i < plan.records.size(); ++i) {
        if (i > 0)
            table.GoToBookmark(records[i]);
        if (plan.records[i])
            writeRecord(table, fields, *plan.records[i]);
    }
    if (plan.completionFailed) {
        result.completionFailed = true;
        const std::size_t failing = plan.records.size();
        if (failing > 0)
            table.GoToBookmark(records[failing]);
        if (onCompletionFailed)
            onCompletionFailed();
        return;
    }
    table.GoLast(); // posts the last record's edit
}

} // namespace

RecalcResult Recalculate(ApplianceTable& table, const RecalcInputs& inputs,
                         const CompletionFailedHook& onCompletionFailed) {
    table.GoFirst();
    // Fields are looked up only when there is a record to read them from.
    std::optional<ApplianceFields> fields;
    PassPlan plan;
    if (table.RecordTotal() > 0) {
        fields.emplace(table);
        plan = planPass(table, *fields, inputs.pricePerKwh);
    }

    RecalcResult result;
    completeTotals(result, plan.dailyEnergy, inputs);
    result.most = plan.most;
    result.least = plan.least;
    result.applianceCosts = std::move(plan.applianceCosts);

    if (!fields)
        return result;
    const int nameField = fields->appliance.index();
    if (plan.mostRecord)
        result.mostName = table.storedTextAt(int(*plan.mostRecord), nameField);
    if (plan.leastRecord)
        result.leastName = table.storedTextAt(int(*plan.leastRecord), nameField);
    writeRecords(table, *fields, plan, table.bookmarksInOrder(), onCompletionFailed, result);
    return result;
}

} // namespace pellion
