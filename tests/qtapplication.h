#pragma once

#include <QApplication>

// One application object for the whole test program. It is never destroyed:
// Qt's own globals may already be gone when static objects are.
inline QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "pellion_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellion"));
    return *application;
}

// Base of the fixtures whose members are widgets: the application must come first.
struct WithApplication {
    WithApplication() { testApplication(); }
};
