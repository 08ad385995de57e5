#pragma once

#include <stdexcept>
#include <string>

namespace pellion {

// The one error type of the program. Its message is shown to the user as it
// stands, so it carries the exact wording of the failure.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A result too large for a double, in the calculator and in the recalculation.
inline constexpr const char* floatingPointOverflow = "Floating point overflow";

} // namespace pellion
