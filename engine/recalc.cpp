#include "engine/recalc.h"

#include "base/error.h"
#include "engine/numberformat.h"

#include <cmath>
#include <cstdint>

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

double finiteOrOverflow(double value) {
    if (!std::isfinite(value))
        throw Error(floatingPointOverflow);
    return value;
}

void completeTotals(RecalcResult& result, double dailyEnergy, const RecalcInputs& inputs) {
    const double charge = energyCharge(dailyEnergy, inputs);
    result.dayTotal = finiteOrOverflow(inputs.dailyDiscountOn
                                           ? (inputs.dailyCharges - inputs.dailyDiscount) + charge
                                           : charge + inputs.dailyCharges);
    result.hourTotal = result.dayTotal / 24;
    result.monthTotal = finiteOrOverflow(daysPerMonth * result.dayTotal);
    result.quarterTotal = finiteOrOverflow(daysPerMonth * result.dayTotal * 3);
    result.yearTotal = finiteOrOverflow(daysPerMonth * result.dayTotal * 12);
    result.dailyEnergyText = NumberToText(dailyEnergy, 15);
}

RecalcResult recalculate(const std::vector<ApplianceValues>& appliances,
                         const RecalcInputs& inputs) {
    RecalcResult result;
    result.appliances.reserve(appliances.size());
    double dailyEnergy = 0;
    std::optional<std::size_t> mostRecord;
    std::optional<std::size_t> leastRecord;
    for (std::size_t index = 0; index < appliances.size(); ++index) {
        const ApplianceValues& values = appliances[index];
        if (values.name.empty()) {
            result.appliances.emplace_back();
            continue;
        }
        ApplianceResult r;
        r.wattage = values.wattage;
        r.voltage = values.voltage;
        r.amperage = values.amperage;
        if (!calckwh(r.amperage, r.voltage, r.wattage)) {
            result.failingRecord = index;
            break;
        }
        r.kwhPerHour = r.wattage / 1000;
        r.costPerHour = finiteOrOverflow(inputs.pricePerKwh * r.kwhPerHour);
        if (values.hours > 0) {
            r.costPerDay = finiteOrOverflow(r.costPerHour * values.hours);
            dailyEnergy = finiteOrOverflow(dailyEnergy + values.hours * r.kwhPerHour);
        }
        // Strictly more or less: among equal costs the first met is named.
        if (r.costPerHour > result.most) {
            result.most = r.costPerHour;
            mostRecord = index;
        }
        if (r.costPerHour < result.least) {
            result.least = r.costPerHour;
            leastRecord = index;
        }
        result.applianceCosts.push_back({values.name, r.costPerDay.value_or(0)});
        result.appliances.push_back(r);
    }
    completeTotals(result, dailyEnergy, inputs);
    if (mostRecord)
        result.mostName = appliances[*mostRecord].name;
    if (leastRecord)
        result.leastName = appliances[*leastRecord].name;
    return result;
}

} // namespace pellion
