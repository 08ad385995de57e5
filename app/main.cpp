#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/windowlessrun.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QProcessEnvironment>

int main(int argc, char* argv[]) {
    const pellion::CommandLine command = pellion::parseCommandLine(argc, argv);
    if (pellion::answeredWithoutApplication(command.request))
        return pellion::printCommandLineAnswer(command, argc, argv);

    const bool windowless = pellion::runsWithoutWindow(command.request);
    // A script on a server or in a container has no display; nothing is shown anyway.
    if (windowless) {
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        if (pellion::needsOffscreenPlatform(arguments, QProcessEnvironment::systemEnvironment()))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellion"));
    if (windowless)
        return pellion::printAnswer(pellion::runWithoutWindow(command));

    // Ties the windows to the menu entry, and gives them its icon.
    QApplication::setDesktopFileName(QStringLiteral(PELLION_APP_ID));
    QIcon icon;
    for (const QString& size : QDir(QStringLiteral(":/icons")).entryList())
        icon.addFile(QStringLiteral(":/icons/") + size);
    QApplication::setWindowIcon(icon);

    pellion::MainWindow window;
    QObject::connect(&window, &pellion::MainWindow::closed, &app, &QCoreApplication::quit);
    window.show();
    return app.exec();
}
