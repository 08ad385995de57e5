#pragma once

// The texts a report control prints.

#include <QDateTime>
#include <QStringList>

namespace pellion {

// The user's short date, a space and the long time (formatSettings()); the
// time is left out at midnight exactly, and the time zone always.
QString dateTimeText(const QDateTime& moment);

// Line feeds are dropped and the text is cut into lines at carriage returns.
QStringList controlLines(const QString& text);

} // namespace pellion
