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
    };
    const Case cases[] = {
        {{}, Request::OpenWindow, {}},
        {{"--help"}, Request::ShowHelp, {}},
        {{"-h"}, Request::ShowHelp, {}},
        {{"--version"}, Request::ShowVersion, {}},
        {{"-v"}, Request::ShowVersion, {}},
        {{"--version", "--help"}, Request::ShowHelp, {}},
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CommandLine line = parse(c.arguments);
        EXPECT_EQ(line.request, c.request);
        EXPECT_EQ(line.error.toStdString(), c.error.toStdString());
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
          QStringLiteral("-v, --version"), folder + "/bin/cfgfd.ini", folder + "/work/pellion.csv",
          folder + "/bin/help\n"}) {
        EXPECT_TRUE(answer.text.contains(expected)) << expected.toStdString() << " missing from\n"
                                                    << answer.text.toStdString();
    }
    // Qt's options stay out of Pellion's help.
    EXPECT_FALSE(answer.text.contains(QStringLiteral("style")));
}

} // namespace
