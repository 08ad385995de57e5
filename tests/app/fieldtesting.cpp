#include "fieldtesting.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace pellion::testing {

BeepCounter::BeepCounter() : m_previous(setBeepHandler([this] { ++m_count; })) {}

BeepCounter::~BeepCounter() {
    setBeepHandler(std::move(m_previous));
}

struct MessageBoxCatcher::State {
    QTimer poll;
    int count = 0;
    QString caption;
    QString text;
};

MessageBoxCatcher::MessageBoxCatcher() : m_state(new State) {
    m_state->poll.setInterval(5);
    QObject::connect(&m_state->poll, &QTimer::timeout, [state = m_state] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        ++state->count;
        state->caption = box->windowTitle();
        state->text = box->text();
        box->done(QMessageBox::Ok);
    });
    m_state->poll.start();
}

MessageBoxCatcher::~MessageBoxCatcher() {
    delete m_state;
}

int MessageBoxCatcher::count() const {
    return m_state->count;
}
QString MessageBoxCatcher::lastCaption() const {
    return m_state->caption;
}
QString MessageBoxCatcher::lastText() const {
    return m_state->text;
}

void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

void placeAboveDefaultButton(QDialog& dialog, QWidget* field) {
    auto* layout = new QVBoxLayout(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    layout->addWidget(field);
    layout->addWidget(ok);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
}

} // namespace pellion::testing

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
