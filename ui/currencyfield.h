#pragma once

#include <QLineEdit>

namespace pellion {

// An amount of money in an edit box. Unfocused it draws the display text
// (DisplayFormat, e.g. "$1,234.50000"); focused it is an ordinary edit box
// holding the edit text ("1234.5"), which is also text(). Leaving the field
// commits the typed text; an invalid text keeps the focus and goes to the
// application's error display. objectName() is the field kind's designed
// name unless the owner names the instance.
class CurrencyField : public QLineEdit {
    Q_OBJECT

public:
    explicit CurrencyField(QWidget* parent = nullptr);
    ~CurrencyField() override;

    // Reading commits typed text first and throws pellion::Error when it is
    // not a number. Setting takes any number and rewrites the edit text.
    double value() const;
    void setValue(double value);
    // No amount at all: the value reads 0 and both texts are empty until a
    // value is set or typed.
    void clearValue();

    void setDisplayFormat(const QString& pattern);
    QString displayFormat() const { return m_displayFormat; }
    void setDecimalPlaces(int places);
    int decimalPlaces() const { return m_decimalPlaces; }
    void setZeroEmpty(bool on);
    bool zeroEmpty() const { return m_zeroEmpty; }
    void setBeepOnError(bool on) { m_beepOnError = on; }
    bool beepOnError() const { return m_beepOnError; }
    void setAutoSelect(bool on) { m_autoSelect = on; }
    bool autoSelect() const { return m_autoSelect; }
    // Only "not negative while min >= 0 and max > 0" uses the range.
    void setMinValue(double minValue) { m_minValue = minValue; }
    double minValue() const { return m_minValue; }
    void setMaxValue(double maxValue) { m_maxValue = maxValue; }
    double maxValue() const { return m_maxValue; }

    // Alignment of the display text; the edit text is always left-aligned.
    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return m_alignment; }

    // The text drawn while the field does not have the focus.
    QString displayText() const;
    // The text edited while the field has the focus; the same as text().
    QString editText() const { return text(); }
    // The edit pattern: "0", then "." and one '#' per decimal place.
    QString editPattern() const;
    // Writes the stored value into the edit text (empty for zero if ZeroEmpty).
    void RefreshEditText();
    // The typed text as TextToNumber reads it: trimmed, thousands separators
    // removed, '.' and ',' taken as the decimal separator, "" -> "0", "-" -> "-0".
    static QString NormalizeNumberText(const QString& text);

    // Inserts the text and commits it; on failure restores the previous text.
    void pasteAndCommit(const QString& text);

signals:
    void changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void commitEditText() const;
    bool acceptsTypedText(const QString& candidate) const;
    void typeCharacter(QChar c);
    void refuse();

    mutable double m_value = 0;
    mutable bool m_blank = false;
    QString m_displayFormat;
    int m_decimalPlaces = 2;
    bool m_zeroEmpty = true;
    bool m_beepOnError = true;
    bool m_autoSelect = true;
    double m_minValue = 0;
    double m_maxValue = 0;
    Qt::Alignment m_alignment = Qt::AlignRight;
    bool m_editing = false;
};

} // namespace pellion
