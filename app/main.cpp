#include "app/commandline.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char* argv[]) {
    const pellion::CommandLine command = pellion::parseCommandLine(argc, argv);
    if (command.request != pellion::CommandLine::Request::OpenWindow)
        return pellion::printCommandLineAnswer(command, argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellion"));
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
