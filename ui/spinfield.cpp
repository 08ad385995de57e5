#include "ui/spinfield.h"

#include "base/error.h"
#include "engine/numberformat.h"
#include "ui/beep.h"
#include "ui/fieldkeys.h"
#include "ui/insertedtext.h"
#include "ui/numbertext.h"
#include "ui/spinbutton.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

namespace pellion {

namespace {

// Whole-number text of v, rounded half to even. Values beyond the 64-bit
// range saturate and a NaN counts as 0 rather than overflowing the cast.
QString wholeNumberText(double v) {
    if (std::isnan(v))
        v = 0;
    const double rounded = std::nearbyint(v);
    constexpr double limit = 9223372036854775807.0; // 2^63, not representable in int64
    std::int64_t whole;
    if (rounded >= limit)
        whole = std::numeric_limits<std::int64_t>::max();
    else if (rounded < -limit)
        whole = std::numeric_limits<std::int64_t>::min();
    else
        whole = static_cast<std::int64_t>(rounded);
    return fromNumberText(IntegerToText(whole));
}

} // namespace

// Sees every change of the text before the field shows it.
class InsertionTrimmer : public QValidator {
public:
    explicit InsertionTrimmer(SpinField& field) : QValidator(&field), m_field(field) {}

    State validate(QString& text, int& cursor) const override {
        m_field.trimInsertion(text, cursor);
        return Acceptable;
    }

private:
    SpinField& m_field;
};

SpinField::SpinField(QWidget* parent) : QLineEdit(parent), m_button(new SpinButton(this)) {
    setObjectName(QStringLiteral("TSpinField"));
    // Typed characters must pass the filter in keyPressEvent.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setText(QStringLiteral("0"));
    m_previousText = text();
    setValidator(new InsertionTrimmer(*this));
    connect(this, &QLineEdit::textChanged, this, &SpinField::onTextChanged);
    connect(m_button, &SpinButton::pressed, this, [this] {
        if (isEnabled() && (focusPolicy() & Qt::ClickFocus))
            setFocus(Qt::MouseFocusReason);
    });
    connect(m_button, &SpinButton::stepUp, this, &SpinField::stepUp);
    connect(m_button, &SpinButton::stepDown, this, &SpinField::stepDown);
    placeButton();
}

SpinField::~SpinField() = default;

void SpinField::setValueType(ValueType type) {
    m_valueType = type;
    if (type == ValueType::Integer)
        setIncrement(m_increment);
    setValue(value());
}

void SpinField::setDecimal(int decimals) {
    m_decimal = std::clamp(decimals, 0, 255);
    setValue(value());
}

void SpinField::setIncrement(double increment) {
    // A fractional step would round back to the same whole number and get stuck.
    if (m_valueType == ValueType::Integer) {
        increment = std::nearbyint(increment);
        if (increment == 0)
            increment = 1;
    }
    m_increment = increment;
}

double SpinField::clampValue(double value) const {
    if (m_maxValue == m_minValue)
        return value;
    if (value < m_minValue)
        return m_minValue;
    if (value > m_maxValue)
        return m_maxValue;
    return value;
}

double SpinField::value() const {
    const std::string s = toNumberText(text());
    if (m_valueType == ValueType::Float) {
        double v = 0;
        if (TryTextToNumber(s, v))
            return v;
        return m_minValue;
    }
    try {
        return TextToInteger(s);
    } catch (const Error&) {
        return std::trunc(m_minValue);
    }
}

void SpinField::setValue(double value) {
    value = clampValue(value);
    const QString formatted = m_valueType == ValueType::Float
                                  ? fromNumberText(NumberToFixedText(value, 15, m_decimal))
                                  : wholeNumberText(value);
    if (formatted != text())
        setText(formatted); // textChanged raises changed()
}

void SpinField::stepUp() {
    step(m_increment);
}

void SpinField::stepDown() {
    step(-m_increment);
}

void SpinField::step(double delta) {
    if (isReadOnly()) {
        beep();
        return;
    }
    const QString before = text();
    m_holdChange = true;
    setValue(value() + delta);
    m_holdChange = false;
    if (text().compare(before, Qt::CaseInsensitive) != 0) {
        setModified(true);
        emit changed();
    }
}

void SpinField::onTextChanged() {
    // A trimmed paste of blanks alone leaves the text as it was.
    if (text() == m_previousText)
        return;
    m_previousText = text();
    if (!m_holdChange)
        emit changed();
}

// Typing never brings white space (the filter refuses it), so the run a
// user's action put between the unchanged start and end of the text is what
// was pasted or dropped: a spreadsheet cell comes as "0.35" and a line break.
void SpinField::trimInsertion(QString& text, int& cursor) const {
    if (!m_handlingUserInput)
        return;
    const InsertedRun run = insertedRun(m_previousText, text);
    const QString inserted = text.mid(run.start, run.length);
    QString trimmed = inserted.trimmed();
    trimmed.remove(QLatin1Char('\r'));
    trimmed.remove(QLatin1Char('\n'));
    if (trimmed == inserted)
        return;
    text.replace(run.start, run.length, trimmed);
    cursor = int(run.start + trimmed.size());
}

void SpinField::setRepeatIntervals(int firstMs, int nextMs) {
    m_button->setRepeatIntervals(firstMs, nextMs);
}

bool SpinField::acceptsCharacter(QChar c) const {
    if (c.unicode() < 32)
        return m_editorEnabled || c != QChar(u'\b');
    if (!m_editorEnabled)
        return false;
    if (c == u'+' || c == u'-' || (c >= u'0' && c <= u'9'))
        return true;
    if (m_valueType != ValueType::Float)
        return false;
    const QString current = text(); // the selected part counts too
    if (c == decimalSeparator())
        return !current.contains(c);
    if (c == u'e' || c == u'E')
        return !current.contains(u'e', Qt::CaseInsensitive);
    return false;
}

void SpinField::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (isDialogKey(key)) {
        // Left to the window (default or cancel button); never a line break.
        event->ignore();
        return;
    }
    if (m_arrowKeys && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        key == Qt::Key_Up ? stepUp() : stepDown();
        event->accept();
        return;
    }
    const QString typed = event->text();
    // Delete produces U+007F on X11 but is an editing key, not a character.
    const bool isCharacter = !typed.isEmpty() && typed.front().unicode() != 0x7f &&
                             !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    const bool isBackspace = key == Qt::Key_Backspace;
    if (isCharacter || isBackspace) {
        const QChar c = isBackspace ? QChar(u'\b') : typed.front();
        if (!acceptsCharacter(c)) {
            beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void SpinField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (enteredByKeyboard(event->reason()))
        selectAll();
}

void SpinField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (staysInWindow(event->reason()))
        return;
    const double v = value();
    if (clampValue(v) != v)
        setValue(v);
}

// Shown modally, so that its Paste runs while the menu's event is handled and
// counts as the user's input (see event()).
void SpinField::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    menu->exec(event->globalPos());
}

void SpinField::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    placeButton();
}

bool SpinField::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::FontChange:
        placeButton();
        break;
    case QEvent::KeyPress:
    case QEvent::MouseButtonRelease:
    case QEvent::Drop:
    case QEvent::ContextMenu: { // its Paste runs before the menu returns
        const QScopedValueRollback userInput(m_handlingUserInput, true);
        return QLineEdit::event(event);
    }
    default:
        break;
    }
    return QLineEdit::event(event);
}

// A square as tall as the inner height at the right end; the text stops before it.
void SpinField::placeButton() {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    const int side = std::max(0, height() - 2 * frame);
    m_button->setGeometry(width() - frame - side, frame, side, side);
    setTextMargins(0, 0, side, 0);
}

} // namespace pellion
