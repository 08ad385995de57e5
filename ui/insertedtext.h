#pragma once

// What one change of an edit field's text put in, and counting its text in
// characters. The fields use them to tidy a paste before it is shown.

#include <QString>
#include <QStringView>

#include <algorithm>

namespace pellion {

// The run a change put in: what lies between the start and the end that the
// change left as they were ("12" to "1 5 2": " 5 " at 1).
struct InsertedRun {
    qsizetype start = 0;
    qsizetype length = 0;
};

inline InsertedRun insertedRun(QStringView before, QStringView after) {
    const qsizetype common = std::min(before.size(), after.size());
    qsizetype start = 0;
    while (start < common && before[start] == after[start])
        ++start;
    qsizetype end = 0;
    while (end < common - start && before[before.size() - 1 - end] == after[after.size() - 1 - end])
        ++end;
    return {start, after.size() - start - end};
}

// Characters as the user sees them, at least whole code points: a surrogate
// pair (an emoji, say) is one, a lone half counts as one too.
inline qsizetype characterCount(QStringView text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    return count;
}

// The length of the text's first `characters` characters, never inside a pair.
inline qsizetype lengthOfCharacters(QStringView text, qsizetype characters) {
    qsizetype i = 0;
    for (; i < text.size() && characters > 0; ++i, --characters)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    return i;
}

} // namespace pellion
