// Every caption of the fixed-layout windows is drawn whole inside its control,
// with nothing over it: the labels and buttons of the main window (with the
// worked example loaded), its grid titles, the calculator, the help window's
// bar at its narrowest designed width and the About box. ctest runs this
// program twice, at 96 dpi and at a 1.5 scale factor.

#include "calculator/calculatorform.h"
#include "info/aboutbox.h"
#include "info/helpwindow.h"
#include "info/systeminfo.h"

#include "mainwindowfixture.h"
#include "tests/drawntext.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>

namespace {

// The caption as the control shows it: a mnemonic's '&' is not drawn.
QString captionOf(const QWidget& widget) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        text = button->text();
    else if (const auto* group = qobject_cast<const QGroupBox*>(&widget))
        text = group->title();
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text;
}

QString describe(const QRectF& r) {
    return QStringLiteral("(%1, %2; %3 x %4)")
        .arg(r.left(), 0, 'f', 1)
        .arg(r.top(), 0, 'f', 1)
        .arg(r.width(), 0, 'f', 1)
        .arg(r.height(), 0, 'f', 1);
}

// Less than half a pixel beyond an edge is the antialiased fringe of a glyph,
// not a cut a reader can see.
constexpr qreal fringe = 0.5;

QRectF withFringe(const QRectF& area) {
    return area.adjusted(-fringe, -fringe, fringe, fringe);
}

// Where the ink leaves the control, leaves a region that holds it, or lies
// under a control stacked above; empty when it is in plain view.
QString inkProblem(const QWidget& widget, const QRectF& ink, const QWidget& window) {
    if (!withFringe(widget.rect()).contains(ink))
        return QStringLiteral("ink %1 outside the control %2")
            .arg(describe(ink), describe(widget.rect()));
    const QWidget* level = &widget;
    while (level != &window && level->parentWidget()) {
        const QWidget* parent = level->parentWidget();
        const QRectF inParent = ink.translated(widget.mapTo(parent, QPoint(0, 0)));
        if (!withFringe(parent->rect()).contains(inParent))
            return QStringLiteral("ink cut off by %1").arg(parent->objectName());
        const QObjectList& siblings = parent->children();
        for (qsizetype i = siblings.indexOf(level) + 1; i < siblings.size(); ++i) {
            const auto* above = qobject_cast<const QWidget*>(siblings[i]);
            if (above && above->isVisible() && !above->isWindow() &&
                QRectF(above->geometry())
                    .intersects(inParent.adjusted(fringe, fringe, -fringe, -fringe)))
                return QStringLiteral("ink %1 under %2 %3")
                    .arg(describe(inParent), above->objectName(), describe(above->geometry()));
        }
        level = parent;
    }
    return {};
}

// A failure message per caption that is cut, elided, replaced or covered.
QStringList captionProblems(QWidget& window) {
    QStringList problems;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const QString caption = captionOf(*widget);
        if (caption.isEmpty() || !widget->isVisibleTo(&window))
            continue;
        const QString who = QStringLiteral("%1 \"%2\": ").arg(widget->objectName(), caption);
        const std::vector<DrawnText> drawn = drawnTexts(*widget);
        if (drawn.empty())
            problems << who + QStringLiteral("nothing drawn");
        for (const DrawnText& run : drawn) {
            if (run.text != caption)
                problems << who + QStringLiteral("drawn as \"%1\"").arg(run.text);
            else if (const QString problem = inkProblem(*widget, run.ink, window);
                     !problem.isEmpty())
                problems << who + problem;
        }
    }
    return problems;
}

// Each title of a header drawn whole inside its own section, on one line or
// wrapped onto several.
QStringList headerProblems(QHeaderView& header) {
    QStringList problems;
    const std::vector<DrawnText> drawn = drawnTexts(*header.viewport());
    for (int section = 0; section < header.count(); ++section) {
        const QString title = header.model()->headerData(section, header.orientation()).toString();
        const QRectF place(header.sectionViewportPosition(section), 0, header.sectionSize(section),
                           header.viewport()->height());
        QStringList lines;
        for (const DrawnText& run : drawn) {
            if (!place.contains(run.ink.center()))
                continue;
            lines << run.text.trimmed();
            if (!withFringe(place).contains(run.ink))
                problems << title + QStringLiteral(": ink %1 outside its section %2")
                                        .arg(describe(run.ink), describe(place));
        }
        if (lines.join(u' ') != title.simplified())
            problems << title + QStringLiteral(": drawn as \"%1\"").arg(lines.join(u'|'));
    }
    return problems;
}

class LayoutFitTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
        if (!scale.isEmpty())
            ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), scale.toDouble());
    }

    static void expectAllFit(QWidget& window) {
        SCOPED_TRACE(QStringLiteral("%1 at device pixel ratio %2")
                         .arg(window.objectName())
                         .arg(window.devicePixelRatioF())
                         .toStdString());
        QApplication::processEvents();
        const QStringList problems = captionProblems(window);
        EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
    }
};

TEST_F(LayoutFitTest, MainWindowWithTheWorkedExample) {
    writeFile(settingsPath(), "[cost]\n0=0.20\n[dailycosts]\n0=0.50\n");
    pellion::MainWindow& window = start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    addAppliance("Fridge", "240", "0.5", "", "24");
    click("btnupdate");
    ASSERT_EQ(control<QLabel>("lblmst")->text(), "Kettle");
    expectAllFit(window);

    const QStringList titles = headerProblems(*grid()->horizontalHeader());
    EXPECT_TRUE(titles.isEmpty()) << titles.join(u'\n').toStdString();
}

TEST_F(LayoutFitTest, Calculator) {
    pellion::CalculatorForm calculator;
    calculator.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&calculator));
    expectAllFit(calculator);
}

// The bar's buttons at the window's designed width, the narrowest it is meant for.
TEST_F(LayoutFitTest, HelpWindowAtItsDesignedWidth) {
    pellion::HelpWindow help(appDir(), nullptr);
    help.resize(680, 555);
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    EXPECT_EQ(help.width(), 680);
    expectAllFit(help);
}

TEST_F(LayoutFitTest, AboutBox) {
    const pellion::SystemInfo system;
    pellion::AboutBox about(system);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    expectAllFit(about);
}

} // namespace
