#include "calculator/calculatorform.h"

#include "calculator/calculatorpanel.h"
#include "calculator/scaled.h"
#include "engine/numberformat.h"
#include "ui/beep.h"
#include "ui/errordisplay.h"
#include "ui/windowplacement.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QScreen>

namespace pellion {

namespace {

constexpr QSize clientSize(242, 159);
constexpr QRect displayBoxPlace(6, 6, 230, 23);
constexpr QRect displayTextPlace(5, 2, 217, 17); // inside the display box
constexpr QPoint panelPlace(1, 29);              // the button panel along the bottom edge

// The character a key press stands for: the control keys by their codes,
// Ctrl with a letter as its control character, otherwise the typed text.
char typedCharacter(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return calculatorkeys::Enter;
    case Qt::Key_Escape:
        return calculatorkeys::Escape;
    case Qt::Key_Backspace:
        return calculatorkeys::Backspace;
    default:
        break;
    }
    if ((event->modifiers() & Qt::ControlModifier) && event->key() >= Qt::Key_A &&
        event->key() <= Qt::Key_Z)
        return char(event->key() - Qt::Key_A + 1);
    const QString text = event->text();
    if (text.size() == 1 && text.front().unicode() > 0 && text.front().unicode() < 128)
        return char(text.front().unicode());
    return '\0';
}

} // namespace

CalculatorForm::CalculatorForm(QWidget* parent, int precision, bool beepOnError, double scale)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_engine(precision, beepOnError) {
    setObjectName(QStringLiteral("CalculatorForm"));
    setWindowTitle(tr("Calculator"));
    if (scale <= 0)
        scale = screenScale(parent);
    QFont bold = QApplication::font("QMessageBox");
    bold.setBold(true);
    setFont(bold);
    setFixedSize(scaled(clientSize.width(), scale), scaled(clientSize.height(), scale));

    auto* background = new QFrame(this);
    background->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    background->setGeometry(rect());
    createDisplay(background, scale);
    m_panel = new CalculatorPanel(scale, background);
    m_panel->move(scaled(panelPlace.x(), scale), scaled(panelPlace.y(), scale));

    connect(m_panel, &CalculatorPanel::buttonClicked, this, &CalculatorForm::buttonClicked);
    connect(m_panel->copyAction(), &QAction::triggered, this,
            [this] { run([this] { m_engine.copy(); }); });
    connect(m_panel->pasteAction(), &QAction::triggered, this,
            [this] { run([this] { m_engine.paste(); }); });
    connectEngine();
    start(0, 0);
    centreOnScreen();
}

double CalculatorForm::screenScale(const QWidget* widget) {
    const QScreen* screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return 1.0;
    return screen->logicalDotsPerInch() / 96.0;
}

void CalculatorForm::createDisplay(QWidget* parent, double scale) {
    auto* box = new QFrame(parent);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setGeometry(scaled(displayBoxPlace, scale));
    box->setBackgroundRole(QPalette::Base);
    box->setAutoFillBackground(true);

    m_display = new QLabel(box);
    m_display->setObjectName(QStringLiteral("Display"));
    m_display->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_display->setGeometry(scaled(displayTextPlace, scale));
}

void CalculatorForm::connectEngine() {
    CalculatorEvents events;
    events.beep = [] { pellion::beep(); };
    events.copyText = [](const std::string& text) {
        QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    };
    events.clipboardText = []() -> std::optional<std::string> {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (!data || !data->hasText())
            return std::nullopt;
        return data->text().toStdString();
    };
    m_engine.setEvents(std::move(events));
}

void CalculatorForm::centreOnScreen() {
    moveToCentreOf(*this,
                   parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen());
}

void CalculatorForm::start(double value, double memory) {
    m_engine.open(value, memory);
    refresh();
}

QString CalculatorForm::displayText() const {
    return m_display->text();
}

void CalculatorForm::refresh() {
    m_display->setText(QString::fromStdString(m_engine.display()));
    m_panel->setMemoryShown(m_engine.memory() != 0);
}

// Every engine call goes through here: an error it raises is shown and ends
// that key's action, and the dialog then shows whatever the engine holds.
void CalculatorForm::run(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        refresh();
        showError(error, this);
    }
    refresh();
}

void CalculatorForm::buttonClicked(CalcButton* button) {
    switch (button->action()) {
    case CalcButtonAction::Key: {
        const char key = button->key() == '.' ? formatSettings().decimalSeparator : button->key();
        run([this, key] { m_engine.ProcessKey(key); });
        break;
    }
    case CalcButtonAction::MemoryClear:
        run([this] { m_engine.memoryClear(); });
        break;
    case CalcButtonAction::MemoryRecall:
        run([this] { m_engine.memoryRecall(); });
        break;
    case CalcButtonAction::MemoryStore:
        run([this] { m_engine.memoryStore(); });
        break;
    case CalcButtonAction::MemoryPlus:
        run([this] { m_engine.memoryPlus(); });
        break;
    case CalcButtonAction::Ok:
        okClicked();
        break;
    case CalcButtonAction::Cancel:
        reject();
        break;
    }
}

void CalculatorForm::okClicked() {
    bool accepted = false;
    run([this, &accepted] { accepted = m_engine.acceptDisplay(); });
    if (accepted)
        accept();
}

// Escape and Enter stay with the calculator ('C' and '='); they neither
// cancel nor accept the dialog.
void CalculatorForm::keyPressEvent(QKeyEvent* event) {
    const char typed = typedCharacter(event);
    if (typed == '\0')
        return;
    if (const auto key = CalculatorEngine::buttonKeyFor(typed)) {
        if (CalcButton* button = m_panel->buttonForKey(*key)) {
            button->pressFromKeyboard();
            return;
        }
    }
    run([this, typed] { m_engine.ProcessKey(typed); });
}

} // namespace pellion
