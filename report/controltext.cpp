#include "report/controltext.h"

#include "engine/numberformat.h"

#include <QLocale>

namespace pellion {

QString dateTimeText(const QDateTime& moment) {
    const FormatSettings& settings = formatSettings();
    const QLocale locale;
    QString text = locale.toString(moment.date(), QString::fromStdString(settings.shortDateFormat));
    const QTime time = moment.time();
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0) {
        text += QLatin1Char(' ');
        text += locale.toString(time, QString::fromStdString(settings.longTimeFormat));
    }
    return text;
}

QStringList controlLines(const QString& text) {
    QString withoutFeeds = text;
    withoutFeeds.remove(QLatin1Char('\n'));
    return withoutFeeds.split(QLatin1Char('\r'));
}

} // namespace pellion
