#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellion"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pellion"));
    pellion::MainWindow window;
    window.show();
    return app.exec();
}
