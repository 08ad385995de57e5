#include "info/flatbutton.h"

#include "tests/qtapplication.h"

#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using pellion::FlatButton;

// A button in a shown window, with a second focusable widget to take the
// focus away from it.
class FlatButtonTest : public ::testing::Test, protected WithApplication {
protected:
    FlatButtonTest() {
        auto* layout = new QVBoxLayout(&m_window);
        m_other = new FlatButton(QStringLiteral("Other"), &m_window);
        m_button = new FlatButton(QStringLiteral("<<Back"), &m_window);
        layout->addWidget(m_other);
        layout->addWidget(m_button);
        m_window.resize(200, 80);
        m_window.show();
        m_window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_window));
        m_other->setFocus();
    }

    QWidget m_window;
    FlatButton* m_button = nullptr;
    FlatButton* m_other = nullptr;
};

TEST_F(FlatButtonTest, PressTakesTheFocusAndTheClickComesOnReleaseOverTheButton) {
    QSignalSpy clicks(m_button, &FlatButton::clicked);
    const QPoint centre = m_button->rect().center();

    QTest::mousePress(m_button, Qt::LeftButton, {}, centre);
    EXPECT_TRUE(m_button->hasFocus());
    EXPECT_EQ(m_button->state(), FlatButton::State::Pressed);
    EXPECT_EQ(clicks.count(), 0);

    QTest::mouseRelease(m_button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_NE(m_button->state(), FlatButton::State::Pressed);
}

TEST_F(FlatButtonTest, ReleasingAwayFromTheButtonDoesNotClick) {
    QSignalSpy clicks(m_button, &FlatButton::clicked);
    QTest::mousePress(m_button, Qt::LeftButton, {}, m_button->rect().center());
    QTest::mouseMove(m_button, QPoint(-20, -20));
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(FlatButtonTest, EnterClicksTheFocusedButtonOnly) {
    QSignalSpy clicks(m_button, &FlatButton::clicked);
    QTest::keyClick(m_other, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 0);

    m_button->setFocus();
    QTest::keyClick(m_button, Qt::Key_Return);
    QTest::keyClick(m_button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks.count(), 2);
    QTest::keyClick(m_button, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(clicks.count(), 2) << "Ctrl+Enter is not a click";
}

TEST_F(FlatButtonTest, ThePointerOverTheButtonLightsItUp) {
    QTest::mouseMove(m_other, m_other->rect().center());
    EXPECT_EQ(m_button->state(), FlatButton::State::Normal);
    QTest::mouseMove(m_button, m_button->rect().center());
    EXPECT_EQ(m_button->state(), FlatButton::State::Hover);
    QTest::mouseMove(m_other, m_other->rect().center());
    EXPECT_EQ(m_button->state(), FlatButton::State::Normal);
}

TEST_F(FlatButtonTest, ADisabledButtonShowsGreyAndIgnoresClicks) {
    QSignalSpy clicks(m_button, &FlatButton::clicked);
    m_button->setEnabled(false);
    EXPECT_EQ(m_button->state(), FlatButton::State::Disabled);
    QTest::mouseClick(m_button, Qt::LeftButton);
    m_button->setFocus();
    QTest::keyClick(m_button, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 0);
}

TEST(FlatButtonBullet, EachStateHasItsOwnColour) {
    using State = FlatButton::State;
    const State states[] = {State::Normal, State::Hover, State::Pressed, State::Disabled};
    for (State a : states)
        for (State b : states)
            if (a != b)
                EXPECT_NE(FlatButton::bulletColor(a), FlatButton::bulletColor(b));
    // Grey when disabled: no hue of its own.
    EXPECT_EQ(FlatButton::bulletColor(State::Disabled).hsvSaturation(), 0);
}

} // namespace
