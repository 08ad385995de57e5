#pragma once

// The calculator dialog. It holds no arithmetic: a typed
// key is routed to its button, a clicked button becomes one call on the
// CalculatorEngine, and the dialog then shows the engine's display and memory
// indicator again. Errors the engine raises go to the application's error
// display; its beeps go to pellion::beep.

#include "calculator/calculatorengine.h"

#include <QDialog>

#include <functional>

class QLabel;

namespace pellion {

class CalcButton;
class CalculatorPanel;

class CalculatorForm : public QDialog {
    Q_OBJECT
public:
    // scale: the screen's density over 96 dpi; 0 reads it from the screen.
    explicit CalculatorForm(QWidget* parent = nullptr, int precision = 15, bool beepOnError = true,
                            double scale = 0);

    // Starts a session with the component's last value and memory.
    void start(double value, double memory);

    CalculatorEngine& engine() { return m_engine; }
    CalculatorPanel* panel() const { return m_panel; }
    QString displayText() const;

    static double screenScale(const QWidget* widget);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createDisplay(QWidget* parent, double scale);
    void connectEngine();
    void buttonClicked(CalcButton* button);
    void okClicked();
    void run(const std::function<void()>& action);
    void refresh();
    void centreOnScreen();

    CalculatorEngine m_engine;
    CalculatorPanel* m_panel = nullptr;
    QLabel* m_display = nullptr;
};

} // namespace pellion
