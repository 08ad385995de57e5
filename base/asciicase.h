#pragma once

// Case rules for names the program matches itself (field names, settings
// sections and keys, ledger column labels, calculator keys): only the ASCII
// letters have a case, whatever the user's locale.

#include <algorithm>
#include <string_view>

namespace pellion {

inline char toAsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

inline char toAsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

inline bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return toAsciiLower(x) == toAsciiLower(y);
           });
}

} // namespace pellion
