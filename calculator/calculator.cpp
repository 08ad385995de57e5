#include "calculator/calculator.h"

#include "calculator/calculatorform.h"

namespace pellion {

bool Calculator::ShowCalculator(QWidget* owner) {
    CalculatorForm form(owner, m_precision, m_beepOnError);
    form.setWindowTitle(m_title);
    form.start(m_value, m_memory);
    if (form.exec() != QDialog::Accepted)
        return false;

    m_memory = form.engine().memory();
    const double shown = form.engine().ReadDisplay();
    if (shown != m_value) {
        m_value = shown;
        if (onChange)
            onChange();
    }
    return true;
}

} // namespace pellion
