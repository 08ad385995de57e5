#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace pellion {

// The conversions work on single-byte text: a separator is one char, so a
// locale's non-ASCII separator (such as a no-break space) is its Latin-1 byte.
// Characters outside Latin-1 become '?', which no number accepts.
inline std::string toNumberText(const QString& text) {
    return text.toLatin1().toStdString();
}

inline QString fromNumberText(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace pellion
