// Loads arbitrary bytes as a ledger into a fresh table; when that succeeds,
// saves the table and loads the result again, which must give the same fields
// and records.

#include "base/error.h"
#include "ledger/appliancetable.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Files files;
    if (::ftruncate(files.inputFd, 0) != 0 ||
        ::pwrite(files.inputFd, data, size, 0) != ssize_t(size))
        std::abort();

    ApplianceTable first;
    if (!load(first, files.input) || !headerIsUnambiguous(first))
        return 0;
    pellion::SaveLedger(first, files.saved);
    ApplianceTable second;
    if (!load(second, files.saved) || !(snapshot(first) == snapshot(second))) {
        std::fprintf(stderr, "the saved ledger does not read back the same\n");
        std::abort();
    }
    return 0;
}
