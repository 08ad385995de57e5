#include "engine/recalc.h"

#include "engine/error.h"
#include "engine/numberformat.h"
#include "ledger/appliancetable.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace pellion {

namespace {

constexpr double roundingFactor = 0.0001;
constexpr double daysPerMonth = 30.4;

// Half up to four decimals through a 64-bit whole number; false when the
// value or its scaled form does not fit.
bool roundToFourDecimals(double value, double& rounded) {
    if (!std::isfinite(value))
        return false;
    double scaled = value / roundingFactor + 0.5;
    // 2^63: the first value a signed 64-bit integer cannot hold.
    constexpr double int64Limit = 9223372036854775808.0;
    if (!(scaled < int64Limit && scaled >= -int64Limit))
        return false;
    rounded = double(static_cast<std::int64_t>(scaled)) * roundingFactor;
    return true;
}

struct ApplianceFields {
    explicit ApplianceFields(ApplianceTable& table)
        : appliance(table.FieldNamed("appliance")), wattage(table.FieldNamed("wattage")),
          voltage(table.FieldNamed("voltage")), amperage(table.FieldNamed("amperage")),
          hrsday(table.FieldNamed("hrsday")), kilowattshour(table.FieldNamed("kilowattshour")),
          costhour(table.FieldNamed("costhour")), costday(table.FieldNamed("costday")) {}
    Field& appliance;
    Field& wattage;
    Field& voltage;
    Field& amperage;
    Field& hrsday;
    Field& kilowattshour;
    Field& costhour;
    Field& costday;
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
};

// An infinite cost would be saved as a text the ledger cannot read back, and
// shown as a total; the calculator's word for it stops the command instead.
double finite(double value) {
    if (!std::isfinite(value))
        throw Error(floatingPointOverflow);
    return value;
}

PassPlan planPass(const ApplianceTable& table, const ApplianceFields& f, double pricePerKwh) {
    PassPlan plan;
    const int total = table.RecordTotal();
    plan.records.reserve(std::size_t(total));
    for (int row = 0; row < total; ++row) {
        if (table.storedTextAt(row, f.appliance.index()).empty()) {
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
        r.costPerHour = finite(pricePerKwh * r.kwhPerHour);
        if (hours > 0) {
            r.costPerDay = finite(r.costPerHour * hours);
            plan.dailyEnergy = finite(plan.dailyEnergy + hours * r.kwhPerHour);
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

double energyCharge(double dailyEnergy, const RecalcInputs& in) {
    if (!in.kwhDiscountOn)
        return in.pricePerKwh * dailyEnergy;
    double discounted = in.discountKwh;
    double discountedPart =
        discounted > dailyEnergy ? in.discountPrice * dailyEnergy : in.discountPrice * discounted;
    double fullPricePart =
        discounted < dailyEnergy ? in.pricePerKwh * (dailyEnergy - discounted) : 0;
    return fullPricePart + discountedPart;
}

} // namespace

bool calckwh(double& amperage, double& voltage, double& wattage) {
    if (wattage > 0 && amperage > 0 && voltage > 0)
        return roundToFourDecimals(amperage * voltage, wattage);
    if (wattage == 0 && amperage > 0 && voltage > 0)
        return roundToFourDecimals(amperage * voltage, wattage);
    if (amperage == 0 && wattage > 0 && voltage > 0)
        return roundToFourDecimals(wattage / voltage, amperage);
    if (voltage == 0 && amperage > 0 && wattage > 0)
        return roundToFourDecimals(wattage / amperage, voltage);
    return false;
}

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
    const double charge = energyCharge(plan.dailyEnergy, inputs);
    result.dayTotal =
        finite(inputs.dailyDiscountOn ? (inputs.dailyCharges - inputs.dailyDiscount) + charge
                                      : charge + inputs.dailyCharges);
    result.hourTotal = result.dayTotal / 24;
    result.monthTotal = finite(daysPerMonth * result.dayTotal);
    result.quarterTotal = finite(daysPerMonth * result.dayTotal * 3);
    result.yearTotal = finite(daysPerMonth * result.dayTotal * 12);
    result.most = plan.most;
    result.least = plan.least;
    result.dailyEnergyText = NumberToText(plan.dailyEnergy, 15);

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
