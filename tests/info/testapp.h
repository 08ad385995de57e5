#pragma once

// What the info tests share: one QApplication for the whole run, and a catcher
// that answers the modal boxes a window may raise and records their texts.

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace pellion::test {

inline QApplication& application() {
    static int argc = 1;
    static char name[] = "info_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down after main() crashes in its device list.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Base of the fixtures whose members are widgets: the application must come first.
struct WithApplication {
    WithApplication() { application(); }
};

// While it lives, every message box that opens is recorded and closed with
// its escape or default button.
class ModalCatcher {
public:
    ModalCatcher() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(10);
    }

    const QStringList& texts() const { return m_texts; }

private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        m_texts << box->windowTitle() + u'|' + box->text();
        box->done(QMessageBox::Ok);
    }

    QTimer m_timer;
    QStringList m_texts;
};

} // namespace pellion::test
