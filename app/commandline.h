#pragma once

// The command line, read before any application object exists, so that the
// answers need no display:
//
//   pellion             opens the main window
//   pellion --help      usage, options and where each file lives; status 0
//   pellion --version   "Pellion <version>"; status 0
//   anything else       a message on the error stream; status 2
//
// Qt's own options (-style fusion, -platform offscreen, ...) are accepted
// and left to the application object, which takes them out itself.
//
// A new request (a headless run, say) is one more option in the parser, one
// more Request and its branch in main().

#include <QString>
#include <QStringList>

namespace pellion {

struct CommandLine {
    enum class Request { OpenWindow, ShowHelp, ShowVersion, Refuse };
    Request request = Request::OpenWindow;
    QString error; // why the line is refused
};

inline constexpr int refusedExitStatus = 2;

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

QString versionText();

} // namespace pellion
