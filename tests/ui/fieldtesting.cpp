#include "fieldtesting.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace pellion::testing {

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
