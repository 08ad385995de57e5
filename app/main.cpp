#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellion"));
    pellion::MainWindow window;
    QObject::connect(&window, &pellion::MainWindow::closed, &app, &QCoreApplication::quit);
    window.show();
    return app.exec();
}
