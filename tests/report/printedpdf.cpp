#include "printedpdf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

namespace pellion::test {

namespace {

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>")
            .arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList pageRange(int page) {
    return {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
            QString::number(page)};
}

} // namespace

int pdfPageCount(const QString& pdf) {
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                              .match(runTool(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfPageSize(const QString& pdf, int page) {
    const QString info = runTool(QStringLiteral("pdfinfo"), pageRange(page) << pdf);
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("size:\\s+([^\\n]*)")).match(info);
    return match.hasMatch() ? match.captured(1).trimmed() : info;
}

QString pdfPageText(const QString& pdf, int page) {
    return runTool(QStringLiteral("pdftotext"), QStringList{QStringLiteral("-layout")}
                                                    << pageRange(page) << pdf
                                                    << QStringLiteral("-"));
}

QString pdfText(const QString& pdf) {
    return runTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

QString cupsPdfOutputFolder() {
    QString out = QStringLiteral("${HOME}/PDF");
    QFile config(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (config.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QString& line :
             QString::fromLocal8Bit(config.readAll()).split(QLatin1Char('\n'))) {
            const QString trimmed = line.trimmed();
            if (trimmed.startsWith(QStringLiteral("Out ")))
                out = trimmed.mid(4).trimmed();
        }
    }
    const passwd* user = getpwuid(getuid());
    const QString home = user != nullptr ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath();
    return out.replace(QStringLiteral("${HOME}"), home);
}

QString waitForNewPdf(const QString& folder, const QDateTime& since, int seconds) {
    const QDateTime deadline = QDateTime::currentDateTime().addSecs(seconds);
    while (QDateTime::currentDateTime() < deadline) {
        const QFileInfoList files =
            QDir(folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
        for (const QFileInfo& file : files) {
            // cups-pdf writes the file and then closes it; wait until pdfinfo can read it.
            if (file.lastModified() >= since && pdfPageCount(file.filePath()) > 0)
                return file.filePath();
        }
        QThread::msleep(250);
    }
    return {};
}

} // namespace pellion::test
