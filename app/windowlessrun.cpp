#include "app/windowlessrun.h"

#include "base/error.h"
#include "engine/numberformat.h"
#include "ui/currencyfield.h"
#include "ui/errordisplay.h"

#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

namespace pellion {

namespace {

template <typename Widget> const Widget& shown(const MainWindow& window, const char* name) {
    const auto* widget = window.findChild<const Widget*>(QString::fromLatin1(name));
    if (widget == nullptr)
        throw Error(std::string("The main window has no ") + name);
    return *widget;
}

QString amount(const MainWindow& window, const char* field) {
    return QString::fromStdString(
        FormatNumber("0.00000", shown<CurrencyField>(window, field).value()));
}

// The name as its label shows it, then what it costs an hour; "none" when
// no appliance was priced (the window then shows no name and an empty field).
QString appliance(const MainWindow& window, const char* nameLabel, const char* costField) {
    const QString name = shown<QLabel>(window, nameLabel).text();
    if (name.isEmpty() && shown<CurrencyField>(window, costField).text().isEmpty())
        return QStringLiteral("none");
    const QString cost =
        QStringLiteral("(") + amount(window, costField) + QStringLiteral(" per hour)");
    return name.isEmpty() ? cost : name + QLatin1Char(' ') + cost;
}

} // namespace

QString summaryText(const MainWindow& window) {
    const QStringList lines{
        QStringLiteral("Cost per hour: ") + amount(window, "CE"),
        QStringLiteral("Cost per day: ") + amount(window, "cetpd"),
        QStringLiteral("Cost per month: ") + amount(window, "cecostmth"),
        QStringLiteral("Cost per quarter: ") + amount(window, "cecostqtr"),
        QStringLiteral("Cost per year: ") + amount(window, "cecostyr"),
        QStringLiteral("Daily kWh: ") + shown<QLineEdit>(window, "eb_dailyusage").text(),
        QStringLiteral("Cheapest appliance: ") + appliance(window, "lbllst", "celeast"),
        QStringLiteral("Dearest appliance: ") + appliance(window, "lblmst", "cemost"),
    };
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

CommandLineAnswer runWithoutWindow(const CommandLine& line, const MainWindow::Options& options) {
    QStringList errors;
    setUnattendedSink([&errors](const QString& text) { errors << text; });
    const auto boxesAgain = qScopeGuard([] { setUnattendedSink({}); });

    MainWindow window(options);
    QString text;
    if (errors.isEmpty()) {
        try {
            if (line.request == CommandLine::Request::ExportPdf)
                window.exportPdf(line.pdfFile);
            else
                text = summaryText(window);
        } catch (const std::exception& error) {
            errors << errorDisplayText(QString::fromUtf8(error.what()));
        }
    }
    if (!errors.isEmpty())
        return {errors.join(QLatin1Char('\n')) + QLatin1Char('\n'), true, failedExitStatus};
    return {text, false, 0};
}

} // namespace pellion
