#include "app/commandline.h"

#include "app/mainwindow.h"
#include "app/programfiles.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <array>
#include <cstdio>

namespace pellion {

namespace {

struct PellionOption {
    CommandLine::Request request;
    const char* shortName; // nullptr: none
    const char* longName;
    const char* valueName; // nullptr: the option takes no value
    const char* description;
};

// In the order --help lists them; the first one given wins.
constexpr std::array<PellionOption, 4> pellionOptions{{
    {CommandLine::Request::ShowHelp, "h", "help", nullptr,
     "Shows this help and where Pellion keeps its files."},
    {CommandLine::Request::ShowVersion, "v", "version", nullptr, "Shows Pellion's version."},
    {CommandLine::Request::ExportPdf, nullptr, "pdf", "FILE",
     "Writes the report into the PDF file FILE, without a window."},
    {CommandLine::Request::PrintSummary, nullptr, "summary", nullptr,
     "Prints the totals, one per line, without a window."},
}};

// The options Qt's application objects take out of the command line
// themselves; true: the option is followed by a value.
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr std::array<QtOption, 20> qtOptions{{
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"qwindowicon", true},
    {"qwindowtitle", true},
    {"geometry", true},
    {"icon", true},
    {"title", true},
    {"display", true},
    {"name", true},
    {"session", true},
    {"style", true},
    {"stylesheet", true},
    {"qmljsdebugger", true},
    {"reverse", false},
    {"widgetcount", false},
    {"sync", false},
    {"testability", false},
}};

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

QString optionNames(const PellionOption& option) {
    QString names = QStringLiteral("--") + latin1(option.longName);
    if (option.shortName != nullptr)
        names.prepend(QStringLiteral("-%1, ").arg(latin1(option.shortName)));
    if (option.valueName != nullptr)
        names += QLatin1Char(' ') + latin1(option.valueName);
    return names;
}

void addOptions(QCommandLineParser& parser) {
    // Qt's options are single-dash words (-style); Pellion's have a short form.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const PellionOption& option : pellionOptions) {
        QStringList names{latin1(option.longName)};
        if (option.shortName != nullptr)
            names.prepend(latin1(option.shortName));
        QCommandLineOption pellionOption(names, latin1(option.description));
        if (option.valueName != nullptr)
            pellionOption.setValueName(latin1(option.valueName));
        parser.addOption(pellionOption);
    }
    for (const QtOption& option : qtOptions) {
        QCommandLineOption qtOption(latin1(option.name));
        if (option.takesValue)
            qtOption.setValueName(QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
}

QString helpText(const QString& programFolder, const QString& workingFolder) {
    QString text =
        QStringLiteral("Usage: pellion [options]\n"
                       "Pellion tells a household what its electrical appliances cost to run.\n"
                       "Without options it opens its window.\n\nOptions:\n");
    for (const PellionOption& option : pellionOptions)
        text += QStringLiteral("  %1  %2\n")
                    .arg(optionNames(option), -15)
                    .arg(latin1(option.description));

    const SettingsLocation settings = settingsLocation(programFolder);
    const QString ledger = QDir(workingFolder).filePath(QLatin1String(MainWindow::ledgerFileName));
    const QString help = dataFolder(programFolder) + QStringLiteral("/help");
    text +=
        QStringLiteral("\nFiles:\n"
                       "  Prices and discounts, written by Save:\n"
                       "    %1\n"
                       "    cfgfd.ini is kept beside the program when it runs from a folder you\n"
                       "    may write, such as its build folder; an installed Pellion, or one in\n"
                       "    a folder you may not write, keeps it in your configuration folder\n"
                       "    (%2).\n"
                       "  Appliance list, written by Save:\n"
                       "    %3\n"
                       "    pellion.csv is kept in the folder Pellion is started from.\n"
                       "  Help pages:\n"
                       "    %4\n")
            .arg(QDir::toNativeSeparators(settings.filePath()),
                 QDir::toNativeSeparators(userSettingsFolder()), QDir::toNativeSeparators(ledger),
                 QDir::toNativeSeparators(help));
    return text;
}

QString refusal(const QString& reason) {
    return QStringLiteral("pellion: %1\nTry 'pellion --help' for more information.\n").arg(reason);
}

} // namespace

QString versionText() {
    return QStringLiteral("Pellion %1\n").arg(QLatin1String(PELLION_VERSION));
}

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(arguments))
        return {CommandLine::Request::Refuse, parser.errorText(), {}};
    if (!parser.positionalArguments().isEmpty())
        return {CommandLine::Request::Refuse,
                QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments()[0]),
                {}};
    for (const PellionOption& option : pellionOptions) {
        if (!parser.isSet(latin1(option.longName)))
            continue;
        CommandLine line{option.request, {}, {}};
        if (option.request == CommandLine::Request::ExportPdf) {
            line.pdfFile = parser.value(latin1(option.longName));
            if (line.pdfFile.isEmpty())
                return {
                    CommandLine::Request::Refuse,
                    QStringLiteral("Missing file name after '--%1'.").arg(latin1(option.longName)),
                    {}};
        }
        return line;
    }
    return {};
}

CommandLine parseCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parseCommandLine(arguments);
}

CommandLineAnswer answerCommandLine(const CommandLine& line, const QString& programFolder,
                                    const QString& workingFolder) {
    switch (line.request) {
    case CommandLine::Request::ShowHelp:
        return {helpText(programFolder, workingFolder), false, 0};
    case CommandLine::Request::ShowVersion:
        return {versionText(), false, 0};
    case CommandLine::Request::Refuse:
        return {refusal(line.error), true, refusedExitStatus};
    case CommandLine::Request::OpenWindow:
    case CommandLine::Request::ExportPdf:
    case CommandLine::Request::PrintSummary:
        break;
    }
    return {};
}

bool answeredWithoutApplication(CommandLine::Request request) {
    return request == CommandLine::Request::ShowHelp ||
           request == CommandLine::Request::ShowVersion || request == CommandLine::Request::Refuse;
}

bool runsWithoutWindow(CommandLine::Request request) {
    return request == CommandLine::Request::ExportPdf ||
           request == CommandLine::Request::PrintSummary;
}

bool needsOffscreenPlatform(const QStringList& arguments, const QProcessEnvironment& environment) {
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("-platform") || argument == QLatin1String("--platform") ||
            argument.startsWith(QLatin1String("-platform=")) ||
            argument.startsWith(QLatin1String("--platform=")))
            return false;
    }
    for (const char* chosenOrAvailable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!environment.value(latin1(chosenOrAvailable)).isEmpty())
            return false;
    }
    return true;
}

int printAnswer(const CommandLineAnswer& answer) {
    const QByteArray bytes = answer.text.toLocal8Bit();
    std::FILE* stream = answer.toErrorStream ? stderr : stdout;
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
    return answer.exitStatus;
}

int printCommandLineAnswer(const CommandLine& line, int argc, char* argv[]) {
    // Only for the program's folder: a core application needs no display.
    QCoreApplication application(argc, argv);
    return printAnswer(
        answerCommandLine(line, QCoreApplication::applicationDirPath(), QDir::currentPath()));
}

} // namespace pellion
