// Loads arbitrary bytes as a ledger into a fresh table; when that succeeds,
// saves the table and loads the result again, which must give the same fields
// and records, and saving that again must write the same bytes. Then the
// same for what a recalculation (prices picked by the input's last byte,
// extremes included) leaves in the table, overflow or not.

#include "base/error.h"
#include "ledger/appliancetable.h"
#include "ledger/costpass.h"
#include "ledger/ledgerfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {

using pellion::ApplianceTable;

struct Snapshot {
    std::vector<std::string> fieldNames;
    std::vector<std::vector<std::optional<std::string>>> records;
    bool operator==(const Snapshot&) const = default;
};

std::optional<std::string> storedValue(const ApplianceTable& table, int row, int field) {
    if (!table.storedHasValueAt(row, field))
        return std::nullopt;
    return table.storedTextAt(row, field);
}

Snapshot snapshot(const ApplianceTable& table) {
    Snapshot result;
    for (int f = 0; f < table.fieldCount(); ++f)
        result.fieldNames.push_back(table.field(f).fieldName());
    for (int r = 0; r < table.RecordTotal(); ++r) {
        result.records.emplace_back();
        for (int f = 0; f < table.fieldCount(); ++f)
            result.records.back().push_back(storedValue(table, r, f));
    }
    return result;
}

bool load(ApplianceTable& table, const std::string& path) {
    try {
        pellion::LoadLedger(table, path);
        return true;
    } catch (const pellion::Error&) {
        return false;
    }
}

// A header whose first name is a marker is read as that marker: the format
// cannot carry such a label in the first field, so no round trip is promised.
bool headerIsUnambiguous(const ApplianceTable& table) {
    if (table.fieldCount() == 0)
        return true;
    std::string first = table.field(0).displayName();
    return first.rfind("@@", 0) != 0;
}

struct Files {
    Files() {
        int fd = ::memfd_create("ledger", 0);
        if (fd < 0)
            std::abort();
        input = "/proc/self/fd/" + std::to_string(fd);
        inputFd = fd;
        // tmpfs, so that the fsync of every save costs nothing.
        char folder[] = "/dev/shm/ledgerfile_fuzz-XXXXXX";
        if (!::mkdtemp(folder))
            std::abort();
        saved = std::string(folder) + "/pellion.csv";
    }
    int inputFd;
    std::string input;
    std::string saved;
};

std::string readAll(const std::string& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[8192];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void checkSavesAndReloadsIdentically(const ApplianceTable& table, const std::string& path) {
    pellion::SaveLedger(table, path);
    const std::string saved = readAll(path);
    ApplianceTable reloaded;
    if (!load(reloaded, path) || !(snapshot(table) == snapshot(reloaded)))
        fail("the saved ledger does not read back the same");
    pellion::SaveLedger(reloaded, path);
    if (readAll(path) != saved)
        fail("the reloaded ledger is not saved the same way again");
}

pellion::RecalcInputs pricesFrom(std::uint8_t choice) {
    constexpr double prices[] = {0.2, 1000, 100000000, 0};
    constexpr double charges[] = {0.5, 1.7976931348623157e308, -1.7976931348623157e308, 1e-300};
    pellion::RecalcInputs in;
    in.pricePerKwh = prices[choice & 3];
    in.dailyCharges = charges[(choice >> 2) & 3];
    in.kwhDiscountOn = choice & 0x10;
    in.discountKwh = 2;
    in.discountPrice = (choice & 0x20) ? -1e308 : 0.1;
    in.dailyDiscountOn = choice & 0x40;
    in.dailyDiscount = (choice & 0x80) ? -1e308 : 0.3;
    return in;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Files files;
    if (::ftruncate(files.inputFd, 0) != 0 ||
        ::pwrite(files.inputFd, data, size, 0) != ssize_t(size))
        std::abort();

    ApplianceTable first;
    if (!load(first, files.input) || !headerIsUnambiguous(first))
        return 0;
    checkSavesAndReloadsIdentically(first, files.saved);
    try {
        pellion::Recalculate(first, pricesFrom(size > 0 ? data[size - 1] : 0));
    } catch (const pellion::Error&) {
        // Other fields than the program's, or a cost beyond a double: the
        // table stays as it is, and must still save and reload.
    }
    checkSavesAndReloadsIdentically(first, files.saved);
    return 0;
}
