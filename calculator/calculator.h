#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace pellion {

// The calculator the main window owns: it opens the
// dialog on demand and keeps the last value accepted with OK, and the
// calculator memory, for the next opening during the run.
class Calculator {
public:
    // Shows the dialog modally over owner; true when it was closed with OK.
    bool ShowCalculator(QWidget* owner = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    double value() const { return m_value; }
    void setValue(double value) { m_value = value; }
    double memory() const { return m_memory; }
    int precision() const { return m_precision; }
    void setPrecision(int precision) { m_precision = precision; }
    bool beepOnError() const { return m_beepOnError; }
    void setBeepOnError(bool beep) { m_beepOnError = beep; }

    // Called when OK accepts a value different from the last one.
    std::function<void()> onChange;

private:
    QString m_title = QStringLiteral("Calculator");
    double m_value = 0;
    double m_memory = 0;
    int m_precision = 15;
    bool m_beepOnError = true;
};

} // namespace pellion
