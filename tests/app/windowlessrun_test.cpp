// pellion --summary and pellion --pdf: first in this process against the
// main window's own start-up, then the real program on a machine with no
// display and no platform chosen.

#include "app/windowlessrun.h"

#include "ledger/appliancetable.h"
#include "ledger/ledgerfile.h"
#include "tests/dialoganswerer.h"
#include "tests/qtapplication.h"
#include "tests/report/printedpdf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

using pellion::CommandLine;
using Request = CommandLine::Request;

const char* const workedExampleSummary = "Cost per hour: 0.05317\n"
                                         "Cost per day: 1.27600\n"
                                         "Cost per month: 38.79040\n"
                                         "Cost per quarter: 116.37120\n"
                                         "Cost per year: 465.48480\n"
                                         "Daily kWh: 3.88\n"
                                         "Cheapest appliance: Fridge (0.02400 per hour)\n"
                                         "Dearest appliance: Kettle (0.40000 per hour)\n";

QByteArray workedExample(const char* file) {
    QFile fixture(qEnvironmentVariable("PELLION_SOURCE_DIR") +
                  QStringLiteral("/tests/e2e/fixtures/worked_example/") + QLatin1String(file));
    EXPECT_TRUE(fixture.open(QIODevice::ReadOnly)) << file;
    return fixture.readAll();
}

// A program folder for the settings and a working folder for the ledger.
class Household : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("bin")));
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("work")));
        previousFolder = QDir::currentPath();
        QDir::setCurrent(workDir());
    }
    void TearDown() override { QDir::setCurrent(previousFolder); }

    QString appDir() const { return root.filePath(QStringLiteral("bin")); }
    QString workDir() const { return root.filePath(QStringLiteral("work")); }
    static void writeFile(const QString& path, const QByteArray& contents) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    void placeWorkedExample() {
        writeFile(appDir() + QStringLiteral("/cfgfd.ini"), workedExample("cfgfd.ini"));
        writeFile(workDir() + QStringLiteral("/pellion.csv"), workedExample("pellion.csv"));
    }
    // Sixty heaters of 1000 W for an hour a day at the worked example's
    // prices: 60 kWh a day, 12.00 for energy and 0.50 of other charges.
    void placeSixtyHeaters() {
        writeFile(appDir() + QStringLiteral("/cfgfd.ini"), workedExample("cfgfd.ini"));
        pellion::ApplianceTable table;
        for (int number = 1; number <= 60; ++number) {
            table.StartAppend();
            table.FieldNamed("appliance").AssignText("Heater " + std::to_string(number));
            table.FieldNamed("voltage").AssignText("230");
            table.FieldNamed("wattage").AssignText("1000");
            table.FieldNamed("hrsday").AssignText("1");
            table.PostRecord();
        }
        pellion::SaveLedger(table, (workDir() + QStringLiteral("/pellion.csv")).toStdString());
    }
    std::string listing() const {
        QStringList files;
        for (const QString& folder : {appDir(), workDir()})
            for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files))
                files << file.fileName() + QLatin1Char(' ') + QString::number(file.size());
        return files.join(QLatin1Char('\n')).toStdString();
    }
    pellion::CommandLineAnswer run(Request request, const QString& pdfFile = {}) {
        return pellion::runWithoutWindow({request, {}, pdfFile}, {appDir()});
    }

    QTemporaryDir root;
    QString previousFolder;
};

// Counts the windows that show while it exists.
class ShownWindows : public QObject {
public:
    ShownWindows() { qApp->installEventFilter(this); }
    ~ShownWindows() override { qApp->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            ++count;
        return false;
    }
};

TEST_F(Household, SummaryGivesTheTotalsOnePerLine) {
    struct Case {
        const char* situation;
        bool withLedger;
        const char* summary;
    };
    const Case cases[] = {
        {"the worked example", true, workedExampleSummary},
        // The daily charges alone; no appliance has been priced, so there is
        // no cheapest or dearest to name.
        {"no list", false,
         "Cost per hour: 0.02083\n"
         "Cost per day: 0.50000\n"
         "Cost per month: 15.20000\n"
         "Cost per quarter: 45.60000\n"
         "Cost per year: 182.40000\n"
         "Daily kWh: 0\n"
         "Cheapest appliance: none\n"
         "Dearest appliance: none\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        placeWorkedExample();
        if (!c.withLedger)
            QFile::remove(workDir() + QStringLiteral("/pellion.csv"));
        const ShownWindows shown;
        const pellion::CommandLineAnswer answer = run(Request::PrintSummary);
        EXPECT_EQ(answer.text.toStdString(), c.summary);
        EXPECT_FALSE(answer.toErrorStream);
        EXPECT_EQ(answer.exitStatus, 0);
        EXPECT_EQ(shown.count, 0);
    }
}

// Whatever start-up would show in a box ends the run with status 1 and the
// box's text on the error stream; no box opens and no file is written.
TEST_F(Household, WhatStartUpWouldShowInABoxFailsTheRunAndWritesNothing) {
    struct Case {
        const char* situation;
        QByteArray settings;
        QByteArray ledgerLine; // appended to the worked example's ledger
        QString error;
    };
    const Case cases[] = {
        {"a damaged price",
         "[cost]\n0=0.2\n[dailycosts]\n0=abc\n",
         {},
         QStringLiteral("'abc' is not a valid floating point value.")},
        {"a damaged whole number",
         "[discnoofhrs]\n0=1.5\n",
         {},
         QStringLiteral("'1.5' is not a valid integer value.")},
        {"an appliance with watts only", workedExample("cfgfd.ini"),
         ",\"Radio\",,,\"2\",,,\"5\",\r\n",
         QStringLiteral("You must enter value for at least 2 of the following \"Voltage\", "
                        "\"Amperage\", \"Wattage\"")},
    };
    for (const Case& c : cases) {
        for (const Request request : {Request::ExportPdf, Request::PrintSummary}) {
            SCOPED_TRACE(std::string(c.situation) +
                         (request == Request::ExportPdf ? " --pdf" : " --summary"));
            writeFile(appDir() + QStringLiteral("/cfgfd.ini"), c.settings);
            writeFile(workDir() + QStringLiteral("/pellion.csv"),
                      workedExample("pellion.csv") + c.ledgerLine);
            const std::string before = listing();
            const ShownWindows shown;
            const DialogAnswerer boxesWouldBeAnswered;
            const pellion::CommandLineAnswer answer =
                run(request, workDir() + QStringLiteral("/June.pdf"));
            EXPECT_EQ(answer.text.toStdString(), c.error.toStdString() + '\n');
            EXPECT_TRUE(answer.toErrorStream);
            EXPECT_EQ(answer.exitStatus, 1);
            EXPECT_EQ(listing(), before);
            EXPECT_EQ(shown.count, 0) << "a box or window opened";
        }
    }
}

TEST_F(Household, PdfThatCannotBeWrittenFailsTheRunWithItsError) {
    placeWorkedExample();
    const QString pdf = workDir() + QStringLiteral("/no such folder/June.pdf");
    const pellion::CommandLineAnswer answer = run(Request::ExportPdf, pdf);
    EXPECT_EQ(answer.text.toStdString(), "Cannot create file " + pdf.toStdString() + ".\n");
    EXPECT_EQ(answer.exitStatus, 1);
}

// The real program, with neither a display nor a platform to use: it picks
// the offscreen one itself. It runs from a folder of its own, where it finds
// its settings.
class Program : public Household {
protected:
    void SetUp() override {
        Household::SetUp();
        program = appDir() + QStringLiteral("/pellion");
        ASSERT_TRUE(QFile::copy(QStringLiteral(PELLION_PROGRAM), program));
    }
    int runProgram(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(workDir());
        process.start(program, arguments);
        if (!process.waitForFinished(120000)) {
            ADD_FAILURE() << "pellion did not end";
            process.kill();
            process.waitForFinished();
        }
        output = QString::fromLocal8Bit(process.readAllStandardOutput());
        errors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QString program;
    QString output;
    QString errors;
};

TEST_F(Program, SummaryPrintsTheTotalsWithoutADisplay) {
    placeWorkedExample();
    EXPECT_EQ(runProgram({QStringLiteral("--summary")}), 0) << errors.toStdString();
    EXPECT_EQ(output.toStdString(), workedExampleSummary);
}

TEST_F(Program, PdfOfSixtyAppliancesIsTwoLetterPagesWithTheirText) {
    placeSixtyHeaters();
    EXPECT_EQ(runProgram({QStringLiteral("--pdf"), QStringLiteral("June.pdf")}), 0)
        << errors.toStdString();
    EXPECT_TRUE(output.isEmpty());
    const QString pdf = workDir() + QStringLiteral("/June.pdf");
    ASSERT_EQ(pellion::test::pdfPageCount(pdf), 2);
    for (int page = 1; page <= 2; ++page)
        EXPECT_EQ(pellion::test::pdfPageSize(pdf, page), QStringLiteral("612 x 792 pts (letter)"));
    const QString first = pellion::test::pdfPageText(pdf, 1).simplified();
    const QString second = pellion::test::pdfPageText(pdf, 2).simplified();
    EXPECT_TRUE(first.contains(QStringLiteral("Pellion Report")));
    EXPECT_TRUE(first.contains(QStringLiteral("Electricity KWH Charge : 0.2000")));
    EXPECT_TRUE(first.contains(QStringLiteral("Heater 1 230 4.3478 1000 1 0.2")));
    EXPECT_TRUE(first.contains(QStringLiteral("Heater 54 ")));
    EXPECT_TRUE(second.contains(QStringLiteral("Heater 55 ")));
    // 12.50 a day, a 24th of it an hour.
    EXPECT_TRUE(second.contains(QStringLiteral(
        "Total Cost Per Day : $12.5 Total Cost Per Hour : $0.52083 Daily KWH Usage : 60")))
        << second.toStdString();
}

TEST_F(Program, PdfWithADamagedSettingEndsWithItsErrorAndWritesNothing) {
    placeWorkedExample();
    writeFile(appDir() + QStringLiteral("/cfgfd.ini"), "[cost]\n0=abc\n");
    const std::string before = listing();
    EXPECT_EQ(runProgram({QStringLiteral("--pdf"), QStringLiteral("June.pdf")}), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("'abc' is not a valid floating point value.\n")))
        << errors.toStdString();
    EXPECT_TRUE(output.isEmpty());
    EXPECT_EQ(listing(), before);
}

} // namespace
