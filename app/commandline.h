#pragma once

// The command line, read before any application object exists, so that the
// answers need no display:
//
//   pellion             opens the main window
//   pellion --help      usage, options and where each file lives; status 0
//   pellion --version   "Pellion <version>"; status 0
//   pellion --pdf FILE  the report into a PDF file, without a window
//   pellion --summary   the totals, one per line, without a window
//   anything else       a message on the error stream; status 2
//
// --pdf and --summary start the program as the window does and need an
// application object; windowlessrun.h answers them. Where there is no
// display to connect to they pick the offscreen platform themselves.
//
// Qt's own options (-style fusion, -platform offscreen, ...) are accepted
// and left to the application object, which takes them out itself.
//
// A new request (a headless run, say) is one more option in the parser, one
// more Request and its branch in main().

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace pellion {

struct CommandLine {
    enum class Request { OpenWindow, ShowHelp, ShowVersion, ExportPdf, PrintSummary, Refuse };
    Request request = Request::OpenWindow;
    QString error;   // why the line is refused
    QString pdfFile; // --pdf's file, as given
};

inline constexpr int failedExitStatus = 1;
inline constexpr int refusedExitStatus = 2;

// Help, version and refusals need no application object and no display.
bool answeredWithoutApplication(CommandLine::Request request);
// --pdf and --summary: the program starts as for its window, which it never shows.
bool runsWithoutWindow(CommandLine::Request request);
// True when a run without a window has to choose the offscreen platform:
// the user chose none (QT_QPA_PLATFORM, -platform) and there is no X or
// Wayland display to connect to. arguments: the program's name first.
bool needsOffscreenPlatform(const QStringList& arguments, const QProcessEnvironment& environment);

// arguments: the program's name first, as in argv.
CommandLine parseCommandLine(const QStringList& arguments);
CommandLine parseCommandLine(int argc, char* argv[]);

// What a request other than OpenWindow prints, and the program's exit status.
struct CommandLineAnswer {
    QString text;
    bool toErrorStream = false;
    int exitStatus = 0;
};

// programFolder and workingFolder tell --help where the files are.
CommandLineAnswer answerCommandLine(const CommandLine& line, const QString& programFolder,
                                    const QString& workingFolder);

// Prints the answer for this process and returns its exit status; needs no display.
int printCommandLineAnswer(const CommandLine& line, int argc, char* argv[]);
// Writes the text to standard output or standard error; returns the status.
int printAnswer(const CommandLineAnswer& answer);

QString versionText();

} // namespace pellion
