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

std::vector<ApplianceValues> gatherValues(const ApplianceTable& table, ApplianceFields& f) {
    const int total = table.RecordTotal();
    std::vector<ApplianceValues> values(static_cast<std::size_t>(total));
    for (int row = 0; row < total; ++row) {
        ApplianceValues& v = values[std::size_t(row)];
        v.name = table.storedTextAt(row, f.appliance.index());
        if (v.name.empty())
            continue; // left alone: its other fields are never read
        v.wattage = table.storedNumberAt(row, f.wattage.index());
        v.voltage = table.storedNumberAt(row, f.voltage.index());
        v.amperage = table.storedNumberAt(row, f.amperage.index());
        v.hours = table.storedNumberAt(row, f.hrsday.index());
    }
    return values;
}

// The user must not type into the derived fields, so a field the pass writes
// is marked read-only once its writing is done; the mark is saved with the
// ledger. Its mark is lifted once, before the pass's first write to it.
class DerivedField {
public:
    explicit DerivedField(FieldOnDemand& field) : m_field(field) {}

    void write(double value) {
        if (!m_lifted) {
            m_field.setReadOnly(false);
            m_lifted = true;
        }
        m_field.AssignNumber(value);
    }

    void markReadOnly() {
        if (m_lifted)
            m_field.setReadOnly(true);
    }

private:
    FieldOnDemand& m_field;
    bool m_lifted = false;
};

// Posting a record can move it in a sorted table, so the pass follows the
// order the records had when it began rather than the cursor's neighbours.
void writeResults(ApplianceTable& table, ApplianceFields& f, const RecalcResult& result) {
    const std::vector<Bookmark> records = table.bookmarksInOrder();
    DerivedField kwh(f.kilowattshour);
    DerivedField costPerHour(f.costhour);
    DerivedField costPerDay(f.costday);
    for (std::size_t i = 0; i < result.appliances.size(); ++i) {
        if (i > 0)
            table.GoToBookmark(records[i]);
        const std::optional<ApplianceResult>& r = result.appliances[i];
        if (!r)
            continue;
        table.StartEdit();
        f.wattage.AssignNumber(r->wattage);
        f.amperage.AssignNumber(r->amperage);
        f.voltage.AssignNumber(r->voltage);
        kwh.write(r->kwhPerHour);
        costPerHour.write(r->costPerHour);
        if (r->costPerDay)
            costPerDay.write(*r->costPerDay);
    }
    kwh.markReadOnly();
    costPerHour.markReadOnly();
    costPerDay.markReadOnly();
    if (result.failingRecord) {
        if (*result.failingRecord > 0)
            table.GoToBookmark(records[*result.failingRecord]);
        return;
    }
    table.GoLast(); // posts the last record's edit
}

} // namespace

RecalcResult Recalculate(ApplianceTable& table, const RecalcInputs& inputs) {
    const ApplianceTable::ChangeBatch batch(table);
    table.GoFirst();
    // Fields are looked up only when there is a record to read them from.
    if (table.RecordTotal() == 0)
        return recalculate({}, inputs);
    ApplianceFields fields(table);
    RecalcResult result = recalculate(gatherValues(table, fields), inputs);
    writeResults(table, fields, result);
    return result;
}

} // namespace pellion
