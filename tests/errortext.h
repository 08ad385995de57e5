#pragma once

// The message of the pellion::Error a call raises, or "(no error)", so that a
// test states the expected failure in one comparison.

#include "base/error.h"

#include <string>

namespace pellion::testing {

std::string errorText(auto&& call) {
    try {
        call();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

} // namespace pellion::testing
