#include "info/helpwindow.h"

#include "info/bevelpanel.h"
#include "info/flatbutton.h"
#include "info/helpbrowser.h"
#include "info/weblauncher.h"
#include "ui/errordisplay.h"
#include "ui/windowplacement.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <exception>

namespace pellion {

namespace {

constexpr int buttonBarHeight = 25;

struct BarButton {
    const char* name;
    const char* caption;
    int panelWidth;
    bool pinnedRight;
};

// Left to right as the bar reads; the right-hand ones keep to the right edge.
constexpr BarButton barButtons[] = {
    {"obtn_back", "<<Back", 87, false},
    {"obtn_forward", "Forward>>", 87, false},
    {"obtn_search", "<<<Search The Net>>>", 192, true},
    {"obtn_contents", "<<<Pellion Help>>>", 192, true},
    {"obtn_home", "<<Home>>", 118, true},
};

// Runs a button's action; its failures are of no interest to the user.
template <typename Action> void ignoringErrors(Action action) {
    try {
        action();
    } catch (const std::exception&) {
    }
}

} // namespace

HelpWindow::HelpWindow(const QString& appDir, QWidget* owner)
    : QWidget(owner, Qt::Window), m_appDir(appDir) {
    setObjectName(QStringLiteral("frm_hlpcont"));
    setWindowTitle(QStringLiteral("Orvane Fundora Help"));
    resize(680, 555);
    centreOnScreen();

    QFont small = font(); // the button bar is laid out for an 8-point face
    small.setPointSize(8);
    setFont(small);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildButtonBar());
    m_webB = new HelpBrowser(this);
    m_webB->setObjectName(QStringLiteral("WebB"));
    m_webB->setFont(QApplication::font()); // pages keep the reader's usual size
    column->addWidget(m_webB, 1);

    try {
        m_webB->navigate(indexPage());
    } catch (const std::exception& error) {
        showError(error, owner);
    }
}

QString HelpWindow::indexPage() const {
    return m_appDir + QStringLiteral("/help/index.htm");
}

QWidget* HelpWindow::buildButtonBar() {
    auto* bar = new BevelPanel(this);
    bar->setObjectName(QStringLiteral("pnl_buttons"));
    bar->setFixedHeight(buttonBarHeight);
    auto* row = new QHBoxLayout(bar); // inside the bevels, which are the bar's margins
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    bool stretched = false;
    for (const BarButton& entry : barButtons) {
        if (entry.pinnedRight && !stretched) {
            row->addStretch(1);
            stretched = true;
        }
        auto* panel = new QWidget(bar);
        panel->setFixedWidth(entry.panelWidth);
        auto* inside = new QHBoxLayout(panel);
        inside->setContentsMargins(1, 1, 1, 1);
        auto* button = new FlatButton(QString::fromLatin1(entry.caption), panel);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setFaceColor(palette().color(QPalette::Button));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        inside->addWidget(button);
        row->addWidget(panel);
    }

    const auto connectButton = [this](const char* name, void (HelpWindow::*slot)()) {
        connect(findChild<FlatButton*>(QString::fromLatin1(name)), &FlatButton::clicked, this,
                slot);
    };
    connectButton("obtn_back", &HelpWindow::obtn_backClick);
    connectButton("obtn_forward", &HelpWindow::obtn_forwardClick);
    connectButton("obtn_search", &HelpWindow::obtn_searchClick);
    connectButton("obtn_contents", &HelpWindow::obtn_contentsClick);
    connectButton("obtn_home", &HelpWindow::obtn_homeClick);
    return bar;
}

void HelpWindow::centreOnScreen() {
    moveToCentreOf(*this, screen());
}

void HelpWindow::obtn_backClick() {
    ignoringErrors([this] { m_webB->backward(); });
}

void HelpWindow::obtn_forwardClick() {
    ignoringErrors([this] { m_webB->forward(); });
}

void HelpWindow::obtn_homeClick() {
    ignoringErrors([] { openInWebBrowser(webHomeAddress()); });
}

void HelpWindow::obtn_searchClick() {
    ignoringErrors([] { openInWebBrowser(webSearchAddress()); });
}

void HelpWindow::obtn_contentsClick() {
    try {
        m_webB->navigate(indexPage());
    } catch (const std::exception& error) {
        showError(error, this);
    }
}

HelpWindow* openHelpWindow(QWidget* owner, const QString& appDir) {
    auto* window = new HelpWindow(appDir, owner);
    window->showMaximized();
    return window;
}

} // namespace pellion
