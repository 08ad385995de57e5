#include "calculator/calculatorpanel.h"

#include "calculator/calculatorengine.h"
#include "calculator/scaled.h"
#include "engine/numberformat.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>

namespace pellion {

namespace {

enum class Glyph { None, Cancel, Ok, Sign, Multiply, Subtract, Add };
enum class Colour { ButtonText, Purple, Navy, Maroon };

struct ButtonPlace {
    const char* name;
    CalcButtonAction action;
    char key;         // the key that presses it
    const char* face; // nullptr for the decimal separator, which follows the user's setting
    Glyph glyph;
    int left, top, width;
    Colour colour;
};

constexpr int buttonHeight = 22;
constexpr int defaultWidth = 36;
constexpr char decimalKey = '.';

using A = CalcButtonAction;
using G = Glyph;
using C = Colour;

// Places relative to the panel, in pixels at 96 dpi.
constexpr ButtonPlace buttonPlaces[] = {
    {"btn0", A::Key, '0', "0", G::None, 47, 104, defaultWidth, C::ButtonText},
    {"btn1", A::Key, '1', "1", G::None, 47, 80, defaultWidth, C::ButtonText},
    {"btn2", A::Key, '2', "2", G::None, 85, 80, defaultWidth, C::ButtonText},
    {"btn3", A::Key, '3', "3", G::None, 123, 80, defaultWidth, C::ButtonText},
    {"btn4", A::Key, '4', "4", G::None, 47, 56, defaultWidth, C::ButtonText},
    {"btn5", A::Key, '5', "5", G::None, 85, 56, defaultWidth, C::ButtonText},
    {"btn6", A::Key, '6', "6", G::None, 123, 56, defaultWidth, C::ButtonText},
    {"btn7", A::Key, '7', "7", G::None, 47, 32, defaultWidth, C::ButtonText},
    {"btn8", A::Key, '8', "8", G::None, 85, 32, defaultWidth, C::ButtonText},
    {"btn9", A::Key, '9', "9", G::None, 123, 32, defaultWidth, C::ButtonText},
    {"btnSign", A::Key, '_', "", G::Sign, 85, 104, defaultWidth, C::ButtonText},
    {"btnDecimal", A::Key, decimalKey, nullptr, G::None, 123, 104, defaultWidth, C::ButtonText},
    {"btnDivide", A::Key, '/', "/", G::None, 161, 32, defaultWidth, C::Purple},
    {"btnMultiply", A::Key, '*', "", G::Multiply, 161, 56, defaultWidth, C::Purple},
    {"btnSubtract", A::Key, '-', "", G::Subtract, 161, 80, defaultWidth, C::Purple},
    {"btnAdd", A::Key, '+', "", G::Add, 161, 104, defaultWidth, C::Purple},
    {"btnEquals", A::Key, '=', "=", G::None, 199, 104, defaultWidth, C::Purple},
    {"btnSqrt", A::Key, 'Q', "sqrt", G::None, 199, 32, defaultWidth, C::Navy},
    {"btnPercent", A::Key, '%', "%", G::None, 199, 56, defaultWidth, C::Navy},
    {"btnReciprocal", A::Key, 'R', "1/x", G::None, 199, 80, defaultWidth, C::Navy},
    {"btnBackspace", A::Key, calculatorkeys::Backspace, "<-", G::None, 145, 6, 44, C::Maroon},
    {"btnClear", A::Key, 'C', "C", G::None, 191, 6, 44, C::Maroon},
    {"btnMC", A::MemoryClear, '\0', "MC", G::None, 5, 32, defaultWidth, C::Navy},
    {"btnMR", A::MemoryRecall, '\0', "MR", G::None, 5, 56, defaultWidth, C::Navy},
    {"btnMS", A::MemoryStore, '\0', "MS", G::None, 5, 80, defaultWidth, C::Navy},
    {"btnMP", A::MemoryPlus, '\0', "MP", G::None, 5, 104, defaultWidth, C::Navy},
    {"btnOK", A::Ok, '\0', "", G::Ok, 47, 6, defaultWidth, C::ButtonText},
    {"btnCancel", A::Cancel, '\0', "", G::Cancel, 85, 6, defaultWidth, C::ButtonText},
};

constexpr QRect memoryIndicatorPlace(6, 7, 34, 20);
constexpr QSize glyphSize(14, 13);

const QColor purple(0x80, 0x00, 0x80);
const QColor navy(0x00, 0x00, 0x80);
const QColor maroon(0x80, 0x00, 0x00);

// The six glyphs are drawn rather than typed so that they do not depend on
// the fonts installed: a cross and a tick and the sign change in black, the
// three operators in purple.
QPixmap glyphPixmap(Glyph glyph, double scale) {
    const QSize size(scaled(glyphSize.width(), scale), scaled(glyphSize.height(), scale));
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    const bool operatorGlyph =
        glyph == Glyph::Multiply || glyph == Glyph::Subtract || glyph == Glyph::Add;
    painter.setPen(QPen(operatorGlyph ? purple : QColor(Qt::black), 2, Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    switch (glyph) {
    case Glyph::Cancel:
        painter.drawLine(QPointF(3, 2), QPointF(11, 10));
        painter.drawLine(QPointF(11, 2), QPointF(3, 10));
        break;
    case Glyph::Ok: {
        QPainterPath tick;
        tick.moveTo(2, 7);
        tick.lineTo(5.5, 10.5);
        tick.lineTo(12, 2);
        painter.drawPath(tick);
        break;
    }
    case Glyph::Sign:
        painter.drawLine(QPointF(3, 4), QPointF(11, 4));
        painter.drawLine(QPointF(7, 1), QPointF(7, 7));
        painter.drawLine(QPointF(3, 10), QPointF(11, 10));
        break;
    case Glyph::Multiply:
        painter.drawLine(QPointF(4, 3), QPointF(10, 9));
        painter.drawLine(QPointF(10, 3), QPointF(4, 9));
        break;
    case Glyph::Subtract:
        painter.drawLine(QPointF(3, 6.5), QPointF(11, 6.5));
        break;
    case Glyph::Add:
        painter.drawLine(QPointF(3, 6.5), QPointF(11, 6.5));
        painter.drawLine(QPointF(7, 2.5), QPointF(7, 10.5));
        break;
    case Glyph::None:
        break;
    }
    return pixmap;
}

QColor textColour(Colour colour, const QPalette& palette) {
    switch (colour) {
    case Colour::Purple:
        return purple;
    case Colour::Navy:
        return navy;
    case Colour::Maroon:
        return maroon;
    case Colour::ButtonText:
        break;
    }
    return palette.color(QPalette::ButtonText);
}

// Glyph buttons have no text, so screen readers get a name instead.
QString glyphName(Glyph glyph) {
    switch (glyph) {
    case Glyph::Cancel:
        return QStringLiteral("Cancel");
    case Glyph::Ok:
        return QStringLiteral("OK");
    case Glyph::Sign:
        return QStringLiteral("Change sign");
    case Glyph::Multiply:
        return QStringLiteral("Multiply");
    case Glyph::Subtract:
        return QStringLiteral("Subtract");
    case Glyph::Add:
        return QStringLiteral("Add");
    case Glyph::None:
        break;
    }
    return QString();
}

bool clipboardHoldsText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

} // namespace

CalculatorPanel::CalculatorPanel(double scale, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("CalculatorPanel"));
    resize(scaled(240, scale), scaled(129, scale));
    createButtons(scale);
    createMemoryIndicator(scale);
    createPopupMenu();
}

void CalculatorPanel::createButtons(double scale) {
    for (const ButtonPlace& place : buttonPlaces) {
        auto* button = new CalcButton(place.action, place.key, this);
        button->setObjectName(QString::fromLatin1(place.name));
        button->setGeometry(scaled(QRect(place.left, place.top, place.width, buttonHeight), scale));
        if (place.face)
            button->setText(QString::fromLatin1(place.face));
        else
            button->setText(QString(QChar::fromLatin1(formatSettings().decimalSeparator)));
        if (place.glyph != Glyph::None) {
            const QPixmap glyph = glyphPixmap(place.glyph, scale);
            button->setIcon(QIcon(glyph));
            button->setIconSize(glyph.size());
            button->setAccessibleName(glyphName(place.glyph));
        }
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, textColour(place.colour, palette));
        button->setPalette(palette);
        connect(button, &QPushButton::clicked, this,
                [this, button] { emit buttonClicked(button); });
        m_buttons.push_back(button);
    }
}

void CalculatorPanel::createMemoryIndicator(double scale) {
    m_memoryIndicator = new QLabel(this);
    m_memoryIndicator->setObjectName(QStringLiteral("MemoryIndicator"));
    m_memoryIndicator->setGeometry(scaled(memoryIndicatorPlace, scale));
    m_memoryIndicator->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_memoryIndicator->setAlignment(Qt::AlignCenter);
    QFont plain = m_memoryIndicator->font();
    plain.setBold(false);
    m_memoryIndicator->setFont(plain);
}

void CalculatorPanel::createPopupMenu() {
    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu"));
    m_copyAction = m_popupMenu->addAction(tr("&Copy"));
    m_copyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    m_pasteAction = m_popupMenu->addAction(tr("&Paste"));
    m_pasteAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    // The shortcuts also act while the menu is closed.
    for (QAction* action : {m_copyAction, m_pasteAction}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    updatePasteEnabled();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CalculatorPanel::updatePasteEnabled);
    connect(m_popupMenu, &QMenu::aboutToShow, this, &CalculatorPanel::updatePasteEnabled);
}

void CalculatorPanel::updatePasteEnabled() {
    m_pasteAction->setEnabled(clipboardHoldsText());
}

void CalculatorPanel::contextMenuEvent(QContextMenuEvent* event) {
    m_popupMenu->popup(event->globalPos());
}

CalcButton* CalculatorPanel::buttonForKey(char key) const {
    for (CalcButton* button : m_buttons)
        if (button->action() == CalcButtonAction::Key && button->key() == key)
            return button;
    return nullptr;
}

CalcButton* CalculatorPanel::buttonFor(CalcButtonAction action) const {
    for (CalcButton* button : m_buttons)
        if (button->action() == action)
            return button;
    return nullptr;
}

void CalculatorPanel::setMemoryShown(bool shown) {
    m_memoryIndicator->setText(shown ? QStringLiteral("M") : QString());
}

} // namespace pellion
