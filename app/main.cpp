#ifdef PELLION_BARE_WINDOW
#include <QMainWindow>
#else
#include "app/mainwindow.h"
#endif

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellion"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pellion"));
#ifdef PELLION_BARE_WINDOW
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Orvane - Pellion"));
#else
    pellion::MainWindow window;
#endif
    window.show();
    return app.exec();
}
