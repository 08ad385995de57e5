#include "ui/currencyfield.h"

#include "base/error.h"
#include "engine/numberformat.h"
#include "ui/beep.h"
#include "ui/errordisplay.h"
#include "ui/fieldkeys.h"
#include "ui/numbertext.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>

#include <algorithm>

namespace pellion {

namespace {

QChar thousandSeparator() {
    return QChar::fromLatin1(formatSettings().thousandSeparator);
}

// The horizontal text margin of an edit box inside its contents rectangle.
constexpr int textMargin = 2;
// Right-aligned display text stays this far in front of the text margin.
constexpr int rightGap = 2;
// The edit pattern "0." plus one '#' per place must stay a usable pattern.
constexpr int maxDecimalPlaces = 222;
// TryTextToNumber sees at most this many characters of a typed text.
constexpr int typedTextLimit = 63;

} // namespace

CurrencyField::CurrencyField(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("TCurrencyField"));
    // Every character has to pass the typing rules, so no input method and
    // no dropped text can slip around them.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
    setDragEnabled(false);
    connect(this, &QLineEdit::textChanged, this, &CurrencyField::changed);
    RefreshEditText();
}

CurrencyField::~CurrencyField() = default;

double CurrencyField::value() const {
    if (m_editing)
        commitEditText();
    return m_value;
}

void CurrencyField::setValue(double value) {
    m_value = value;
    m_blank = false;
    RefreshEditText();
    update();
}

void CurrencyField::setDisplayFormat(const QString& pattern) {
    m_displayFormat = pattern;
    update();
}

void CurrencyField::setDecimalPlaces(int places) {
    m_decimalPlaces = std::clamp(places, 0, maxDecimalPlaces);
    if (!m_editing)
        RefreshEditText();
}

void CurrencyField::setZeroEmpty(bool on) {
    m_zeroEmpty = on;
    if (!m_editing)
        RefreshEditText();
}

void CurrencyField::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void CurrencyField::clearValue() {
    m_value = 0;
    m_blank = true;
    RefreshEditText();
    update();
}

QString CurrencyField::displayText() const {
    if (m_blank)
        return QString();
    if (!m_displayFormat.isEmpty()) {
        try {
            return fromNumberText(FormatNumber(toNumberText(m_displayFormat), m_value));
        } catch (const Error&) {
            // A pattern too long to use must not fail every repaint.
        }
    }
    return fromNumberText(NumberToText(m_value));
}

QString CurrencyField::editPattern() const {
    QString pattern = QStringLiteral("0");
    if (m_decimalPlaces > 0)
        pattern += u'.' + QString(m_decimalPlaces, u'#');
    return pattern;
}

void CurrencyField::RefreshEditText() {
    if (m_blank || (m_value == 0 && m_zeroEmpty))
        setText(QString());
    else
        setText(fromNumberText(FormatNumber(toNumberText(editPattern()), m_value)));
}

QString CurrencyField::NormalizeNumberText(const QString& text) {
    const QChar decimal = decimalSeparator();
    const QChar thousand = thousandSeparator();
    QString s = text;
    // Only the space character counts, as for the number parser.
    qsizetype first = 0;
    while (first < s.size() && s[first] == u' ')
        ++first;
    qsizetype last = s.size();
    while (last > first && s[last - 1] == u' ')
        --last;
    s = s.mid(first, last - first);
    if (decimal != thousand)
        s.remove(thousand);
    if (decimal != u'.' && thousand != u'.')
        s.replace(u'.', decimal);
    if (decimal != u',' && thousand != u',')
        s.replace(u',', decimal);
    if (s.isEmpty())
        return QStringLiteral("0");
    if (s == u"-")
        return QStringLiteral("-0");
    return s;
}

void CurrencyField::commitEditText() const {
    if (m_blank && text().isEmpty())
        return; // entered and left without typing: still no amount
    m_value = TextToNumber(toNumberText(NormalizeNumberText(text())));
    m_blank = false;
}

bool CurrencyField::acceptsTypedText(const QString& candidate) const {
    const QString s = NormalizeNumberText(candidate);
    const QChar decimal = decimalSeparator();

    const qsizetype point = s.indexOf(decimal);
    if (point >= 0) {
        qsizetype end = s.size();
        for (qsizetype i = point + 1; i < s.size(); ++i) {
            if (s[i] == u'e' || s[i] == u'E') {
                end = i;
                break;
            }
        }
        if (end - point - 1 > m_decimalPlaces)
            return false;
    }
    for (QChar c : s) {
        const bool allowed = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'e' ||
                             c == u'E' || c == decimal;
        if (!allowed)
            return false;
    }
    double number = 0;
    if (!TryTextToNumber(toNumberText(s.left(typedTextLimit)), number))
        return false;
    if (m_minValue >= 0 && m_maxValue > 0 && number < 0)
        return false;
    return true;
}

void CurrencyField::refuse() {
    if (m_beepOnError)
        beep();
}

void CurrencyField::typeCharacter(QChar c) {
    if ((c == u'.' || c == u',') && c != thousandSeparator())
        c = decimalSeparator();
    QString candidate = text();
    if (hasSelectedText())
        candidate.replace(selectionStart(), selectedText().size(), c);
    else
        candidate.insert(cursorPosition(), c);
    if (!acceptsTypedText(candidate))
        refuse();
    else if (!isReadOnly()) // a read-only field checks the character but keeps its text
        insert(QString(c));
}

void CurrencyField::pasteAndCommit(const QString& pasted) {
    if (isReadOnly())
        return;
    const QString previous = text();
    insert(pasted);
    try {
        commitEditText();
    } catch (const Error&) {
        setText(previous);
        selectAll();
        refuse();
    }
}

void CurrencyField::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (isDialogKey(key)) {
        if (key == Qt::Key_Escape) {
            RefreshEditText();
            selectAll();
        }
        // Left to the window (default or cancel button); never a line break.
        event->ignore();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteAndCommit(QApplication::clipboard()->text());
        event->accept();
        return;
    }
    const QString typed = event->text();
    // Delete produces U+007F on X11 but is an editing key, not a character.
    const bool isCharacter = !typed.isEmpty() && typed.front().unicode() >= 32 &&
                             typed.front().unicode() != 0x7f &&
                             !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (!isCharacter) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    for (QChar c : typed)
        typeCharacter(c);
    event->accept();
}

void CurrencyField::focusInEvent(QFocusEvent* event) {
    const bool entering = !m_editing;
    if (entering) {
        m_editing = true;
        RefreshEditText();
    }
    QLineEdit::focusInEvent(event);
    const bool byKeyboard = enteredByKeyboard(event->reason());
    if (entering) {
        if (byKeyboard && m_autoSelect)
            selectAll();
        else if (byKeyboard)
            deselect();
    }
    update();
}

void CurrencyField::focusOutEvent(QFocusEvent* event) {
    // Staying in the window keeps the edit text and commits nothing.
    if (!m_editing || staysInWindow(event->reason())) {
        QLineEdit::focusOutEvent(event);
        return;
    }
    try {
        commitEditText();
    } catch (const Error& error) {
        QLineEdit::focusOutEvent(event);
        if (!isVisible()) {
            // Hidden or closing: nobody could correct it, so drop the typing.
            m_editing = false;
            RefreshEditText();
            return;
        }
        setFocus(Qt::OtherFocusReason);
        selectAll();
        // The box runs its own event loop, which must not nest inside focus handling.
        const QString message = fromNumberText(error.what());
        QTimer::singleShot(0, this, [this, message] { showError(message, window()); });
        return;
    }
    m_editing = false;
    RefreshEditText();
    setCursorPosition(0);
    QLineEdit::focusOutEvent(event);
    update();
}

void CurrencyField::paintEvent(QPaintEvent* event) {
    if (m_editing) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);

    QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    area = area.marginsRemoved(textMargins());
    area.adjust(textMargin, 0, -textMargin, 0);
    if (m_alignment & Qt::AlignRight)
        area.adjust(0, 0, -rightGap, 0);

    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    painter.setPen(palette().color(group, QPalette::Text));
    painter.setFont(font());
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (m_alignment & Qt::AlignRight)
        horizontal = Qt::AlignRight;
    else if (m_alignment & Qt::AlignHCenter)
        horizontal = Qt::AlignHCenter;
    painter.drawText(area, int(horizontal | Qt::AlignVCenter) | Qt::TextSingleLine, displayText());
}

// The edit menu of an ordinary edit box, except that Paste commits like a
// typed paste. Qt's own menu offers no reliable way to find its Paste entry.
void CurrencyField::contextMenuEvent(QContextMenuEvent* event) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool writable = !isReadOnly();
    const bool selection = hasSelectedText();
    auto add = [&](const char* name, const QString& label, QKeySequence::StandardKey key,
                   bool enabled, auto slot) {
        QString text = label;
        if (key != QKeySequence::UnknownKey)
            text += u'\t' + QKeySequence(key).toString(QKeySequence::NativeText);
        QAction* action = menu->addAction(text, this, slot);
        action->setObjectName(QLatin1String(name));
        action->setEnabled(enabled);
    };
    add("edit-undo", tr("&Undo"), QKeySequence::Undo, writable && isUndoAvailable(),
        [this] { undo(); });
    add("edit-redo", tr("&Redo"), QKeySequence::Redo, writable && isRedoAvailable(),
        [this] { redo(); });
    menu->addSeparator();
    add("edit-cut", tr("Cu&t"), QKeySequence::Cut, writable && selection, [this] { cut(); });
    add("edit-copy", tr("&Copy"), QKeySequence::Copy, selection, [this] { copy(); });
    add("edit-paste", tr("&Paste"), QKeySequence::Paste,
        writable && !QApplication::clipboard()->text().isEmpty(),
        [this] { pasteAndCommit(QApplication::clipboard()->text()); });
    add("edit-delete", tr("Delete"), QKeySequence::UnknownKey, writable && selection,
        [this] { del(); });
    menu->addSeparator();
    add("select-all", tr("Select All"), QKeySequence::SelectAll,
        !text().isEmpty() && selectedText() != text(), [this] { selectAll(); });
    menu->popup(event->globalPos());
}

// The middle button pastes the selection buffer; it commits like any paste.
void CurrencyField::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        if (!isReadOnly())
            pasteAndCommit(QApplication::clipboard()->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

} // namespace pellion
