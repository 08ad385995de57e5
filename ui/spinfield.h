#pragma once

#include <QLineEdit>

class QTimer;

namespace pellion {

class SpinButton;

// A single-line number entry with a square up/down button at its right end.
// The text is the only state: the value is parsed from it on every read and
// formatted into it on every write. objectName() is the field kind's designed
// name unless the owner names the instance.
//
// changed() is raised exactly once for every change of
// the text (typed, pasted, stepped or set) and never when the text stays the
// same. A step compares the texts without regard to letter case.
//
// Text a user pastes or drops in is trimmed of surrounding white space and
// line breaks before the field shows it, so that a price copied from a
// spreadsheet cell reads as the number shown. The program's own texts are
// taken as they are.
class SpinField : public QLineEdit {
    Q_OBJECT

public:
    enum class ValueType { Integer, Float };

    explicit SpinField(QWidget* parent = nullptr);
    ~SpinField() override;

    // Switching to Integer rounds the increment to a whole number (0 becomes
    // 1); both setters write the current value again in the new form.
    void setValueType(ValueType type);
    ValueType valueType() const { return m_valueType; }
    void setDecimal(int decimals); // 0..255; only Float texts show decimals
    int decimal() const { return m_decimal; }
    void setIncrement(double increment);
    double increment() const { return m_increment; }

    // When the two are equal there is no range.
    void setMinValue(double minValue) { m_minValue = minValue; }
    double minValue() const { return m_minValue; }
    void setMaxValue(double maxValue) { m_maxValue = maxValue; }
    double maxValue() const { return m_maxValue; }
    double clampValue(double value) const;

    // The number of the text; a text that does not parse reads as minValue()
    // (truncated for Integer). No clamping on reading.
    double value() const;
    // Clamps, formats and stores the text; changed() when the text differs.
    void setValue(double value);

    void stepUp();
    void stepDown();

    void setArrowKeys(bool on) { m_arrowKeys = on; }
    bool arrowKeys() const { return m_arrowKeys; }
    void setEditorEnabled(bool on) { m_editorEnabled = on; }
    bool editorEnabled() const { return m_editorEnabled; }

    // Press-and-hold repeat of the button: first after 400 ms, then every 100 ms.
    void setRepeatIntervals(int firstMs, int nextMs);

    SpinButton* button() const { return m_button; }

signals:
    void changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    friend class InsertionTrimmer;
    void trimInsertion(QString& text, int& cursor) const;
    void step(double delta);
    bool acceptsCharacter(QChar c) const;
    void placeButton();
    void onTextChanged();

    ValueType m_valueType = ValueType::Integer;
    int m_decimal = 2;
    double m_increment = 1;
    double m_minValue = 0;
    double m_maxValue = 0;
    bool m_arrowKeys = true;
    bool m_editorEnabled = true;
    bool m_holdChange = false;
    bool m_handlingUserInput = false; // a key, a click, a drop or the context menu
    QString m_previousText;           // what a change being checked started from
    SpinButton* m_button = nullptr;
};

} // namespace pellion
