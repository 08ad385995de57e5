#pragma once

// A stand-in for the program's collator in the table's tests and benchmarks:
// it orders like an English collation, letters without regard to case first,
// then lower case before upper case as the last resort.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <string_view>

namespace pellion::testing {

inline int englishLikeComparison(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        int x = std::tolower(static_cast<unsigned char>(a[i]));
        int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x - y;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return std::islower(static_cast<unsigned char>(a[i])) ? -1 : 1;
    return 0;
}

} // namespace pellion::testing
