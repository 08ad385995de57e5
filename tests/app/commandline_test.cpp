// The command line: what each argument list asks for, and what the answers
// print and return, all without a window.

#include "app/commandline.h"

#include "tests/scratchfolder.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using pellion::CommandLine;
using Request = CommandLine::Request;

CommandLine parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("pellion"));
    return pellion::parseCommandLine(arguments);
}

TEST(CommandLineTest, EachArgumentListAsksForOneThing) {
    struct Case {
        QStringList arguments;
        Request request;
        QString error;
        QString pdfFile = {};
    };
    const Case cases[] = {
        {{}, Request::OpenWindow, {}},
        {{"--help"}, Request::ShowHelp, {}},
        {{"-h"}, Request::ShowHelp, {}},
        {{"--version"}, Request::ShowVersion, {}},
        {{"-v"}, Request::ShowVersion, {}},
        {{"--version", "--help"}, Request::ShowHelp, {}},
        {{"--pdf", "June.pdf"}, Request::ExportPdf, {}, "June.pdf"},
        {{"--pdf=out/June report.pdf"}, Request::ExportPdf, {}, "out/June report.pdf"},
        {{"--summary"}, Request::PrintSummary, {}},
        {{"--summary", "--pdf", "June.pdf"}, Request::ExportPdf, {}, "June.pdf"},
        {{"--pdf", "June.pdf", "--help"}, Request::ShowHelp, {}},
        {{"-platform", "offscreen", "--summary"}, Request::PrintSummary, {}},
        // Qt's own options are the application object's to take.
        {{"-style", "fusion"}, Request::OpenWindow, {}},
        {{"-style=fusion", "-reverse"}, Request::OpenWindow, {}},
        {{"-platform", "offscreen", "--version"}, Request::ShowVersion, {}},
        {{"--bogus"}, Request::Refuse, "Unknown option 'bogus'."},
        {{"-x", "--help"}, Request::Refuse, "Unknown option 'x'."},
        {{"-hv"}, Request::Refuse, "Unknown option 'hv'."},
        {{"pellion.csv"}, Request::Refuse, "Unexpected argument 'pellion.csv'."},
        {{"-style"}, Request::Refuse, "Missing value after '-style'."},
        {{"--help=all"}, Request::Refuse, "Unexpected value after '--help'."},
        {{"--pdf"}, Request::Refuse, "Missing value after '--pdf'."},
        {{"--pdf", ""}, Request::Refuse, "Missing file name after '--pdf'."},
        {{"--summary=all"}, Request::Refuse, "Unexpected value after '--summary'."},
        {{"--pdf", "a.pdf", "b.pdf"}, Request::Refuse, "Unexpected argument 'b.pdf'."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CommandLine line = parse(c.arguments);
        EXPECT_EQ(line.request, c.request);
        EXPECT_EQ(line.error.toStdString(), c.error.toStdString());
        EXPECT_EQ(line.pdfFile.toStdString(), c.pdfFile.toStdString());
    }
}

// Runs without a window pick the offscreen platform only where nothing
// else would work: no display, and no platform the user chose.
TEST(CommandLineTest, OffscreenPlatformOnlyWithoutADisplayOrAChosenPlatform) {
    struct Case {
        const char* situation;
        QStringList arguments;
        QStringList environment; // NAME=value
        bool offscreen;
    };
    const Case cases[] = {
        {"no display at all", {"--summary"}, {}, true},
        {"empty display variables", {"--summary"}, {"DISPLAY=", "WAYLAND_DISPLAY="}, true},
        {"an X display", {"--summary"}, {"DISPLAY=:0"}, false},
        {"a Wayland display", {"--pdf", "a.pdf"}, {"WAYLAND_DISPLAY=wayland-0"}, false},
        {"platform chosen in the environment", {"--summary"}, {"QT_QPA_PLATFORM=xcb"}, false},
        {"platform chosen on the command line", {"-platform", "minimal", "--summary"}, {}, false},
        {"platform chosen with =", {"--summary", "-platform=vnc"}, {}, false},
        {"a file named like the option", {"--pdf", "platform.pdf"}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        QProcessEnvironment environment;
        for (const QString& variable : c.environment)
            environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        QStringList arguments = c.arguments;
        arguments.prepend(QStringLiteral("pellion"));
        EXPECT_EQ(pellion::needsOffscreenPlatform(arguments, environment), c.offscreen);
    }
}

TEST(CommandLineTest, RefusalGoesToTheErrorStreamWithStatusTwoAndPointsAtHelp) {
    const auto answer = pellion::answerCommandLine(parse({"--bogus"}), {}, {});
    EXPECT_TRUE(answer.toErrorStream);
    EXPECT_EQ(answer.exitStatus, 2);
    EXPECT_EQ(answer.text.toStdString(),
              "pellion: Unknown option 'bogus'.\nTry 'pellion --help' for more information.\n");
}

TEST(CommandLineTest, VersionIsOneLineOnTheOutputStream) {
    const auto answer = pellion::answerCommandLine(parse({"--version"}), {}, {});
    EXPECT_FALSE(answer.toErrorStream);
    EXPECT_EQ(answer.exitStatus, 0);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Pellion \\d+(\\.\\d+)+\\n$"))
                    .match(answer.text)
                    .hasMatch())
        << answer.text.toStdString();
}

// The locations themselves are decided elsewhere; help names the paths this
// run would use, so a user can find the files.
TEST(CommandLineTest, HelpListsTheOptionsAndWhereEachFileLives) {
    pellion::testing::ScratchFolder root("commandline_test");
    std::filesystem::create_directories(root.path() / "bin/help");
    std::filesystem::create_directories(root.path() / "work");
    const QString folder = QString::fromStdString(root.path().string());

    const auto answer =
        pellion::answerCommandLine(parse({"--help"}), folder + "/bin", folder + "/work");
    EXPECT_FALSE(answer.toErrorStream);
    EXPECT_EQ(answer.exitStatus, 0);
    for (const QString& expected :
         {QStringLiteral("Usage: pellion [options]"), QStringLiteral("-h, --help"),
          QStringLiteral("-v, --version"), QStringLiteral("--pdf FILE"),
          QStringLiteral("--summary"), folder + "/bin/cfgfd.ini", folder + "/work/pellion.csv",
          folder + "/bin/help\n"}) {
        EXPECT_TRUE(answer.text.contains(expected)) << expected.toStdString() << " missing from\n"
                                                    << answer.text.toStdString();
    }
    // Qt's options stay out of Pellion's help.
    EXPECT_FALSE(answer.text.contains(QStringLiteral("style")));
}

} // namespace
