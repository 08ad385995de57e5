#include "report/controltext.h"

#include "engine/numberformat.h"

#include <QLocale>

namespace pellion {

namespace {

bool separatesTheZone(QChar ch) {
    return ch.isSpace() || ch == QLatin1Char(',');
}

// The long time format without the time zone ('t' outside quotes), the
// brackets that enclose it alone and what separates it from the time: the
// title's date-time box leaves room for the date and the time only.
QString withoutTimeZone(const QString& format) {
    QString kept;
    bool quoted = false;
    for (qsizetype index = 0; index < format.size(); ++index) {
        const QChar ch = format[index];
        if (ch == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && ch == QLatin1Char('t')) {
            while (index + 1 < format.size() && format[index + 1] == QLatin1Char('t'))
                ++index;
            const QChar opening = kept.isEmpty() ? QChar() : kept.back();
            const QChar closing = index + 1 < format.size() ? format[index + 1] : QChar();
            if ((opening == QLatin1Char('(') && closing == QLatin1Char(')')) ||
                (opening == QLatin1Char('[') && closing == QLatin1Char(']'))) {
                kept.chop(1);
                ++index;
            }
            while (!kept.isEmpty() && separatesTheZone(kept.back()))
                kept.chop(1);
            if (kept.isEmpty()) {
                while (index + 1 < format.size() && separatesTheZone(format[index + 1]))
                    ++index;
            }
            continue;
        }
        kept += ch;
    }
    return kept;
}

} // namespace

QString dateTimeText(const QDateTime& moment) {
    const FormatSettings& settings = formatSettings();
    const QLocale locale;
    QString text = locale.toString(moment.date(), QString::fromStdString(settings.shortDateFormat));
    const QTime time = moment.time();
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0) {
        text += QLatin1Char(' ');
        text +=
            locale.toString(time, withoutTimeZone(QString::fromStdString(settings.longTimeFormat)));
    }
    return text;
}

QStringList controlLines(const QString& text) {
    QString withoutFeeds = text;
    withoutFeeds.remove(QLatin1Char('\n'));
    return withoutFeeds.split(QLatin1Char('\r'));
}

} // namespace pellion
