#include "app/mainlayout.h"

#include "mainwindowfixture.h"
#include "tests/drawntext.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

namespace {

std::vector<int> widthsOf(const std::array<int, 8>& widths) {
    return {widths.begin(), widths.end()};
}

TEST(GridColumnWidths, FollowTheFractionsOfTheGridWidthRoundedTiesToEven) {
    EXPECT_EQ(widthsOf(pellion::gridColumnWidths(776)),
              (std::vector<int>{233, 62, 62, 62, 62, 62, 70, 102}));
    EXPECT_EQ(widthsOf(pellion::gridColumnWidths(876)),
              (std::vector<int>{263, 70, 70, 70, 70, 70, 79, 117}));
    // 0.3 x 5 = 1.5 and 0.08 x 50 = 4: a tie goes to the even neighbour.
    EXPECT_EQ(pellion::gridColumnWidths(5)[0], 2);
    EXPECT_EQ(pellion::gridColumnWidths(25)[0], 8); // 7.5
}

class MainLayoutTest : public MainWindowFixture {
protected:
    QRect geometryOf(const char* name) const { return control(name)->geometry(); }
    std::vector<int> columnWidths() const {
        std::vector<int> widths;
        for (int column = 0; column < 8; ++column)
            widths.push_back(grid()->horizontalHeader()->sectionSize(column));
        return widths;
    }
    // Distance from the client area's bottom-right corner to the control's.
    QPoint cornerDistance(const char* name) const {
        const QWidget* client = m_window->centralWidget();
        return QPoint(client->width(), client->height()) - geometryOf(name).bottomRight();
    }
};

// Every row of the layout table becomes a widget of that name, inside the
// widget of its parent row, at the row's place, showing the row's caption.
TEST_F(MainLayoutTest, WindowOpensAtTheDesignedSizeWithEveryControlInPlace) {
    pellion::MainWindow& window = start();
    EXPECT_EQ(window.objectName(), "frm_Main");
    EXPECT_EQ(window.windowTitle(), "Orvane - Pellion");
    EXPECT_EQ(window.centralWidget()->size(), QSize(778, 498));

    for (const pellion::ControlPlace& place : pellion::mainControls()) {
        SCOPED_TRACE(place.name);
        const QWidget* widget = control(place.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), QRect(place.left, place.top, place.width, place.height));
        const QWidget* parent = *place.parent ? control(place.parent) : window.centralWidget();
        EXPECT_EQ(widget->parentWidget(), parent);
        EXPECT_TRUE(widget->isVisible());
        QString caption;
        if (auto* label = qobject_cast<const QLabel*>(widget))
            caption = label->text();
        else if (auto* button = qobject_cast<const QAbstractButton*>(widget))
            caption = button->text();
        else if (auto* box = qobject_cast<const QGroupBox*>(widget))
            caption = box->title();
        if (*place.text || !caption.isEmpty())
            EXPECT_EQ(caption, QString::fromUtf8(place.text));
    }
    EXPECT_EQ(widthsOf(pellion::gridColumnWidths(grid()->width())), columnWidths());
}

TEST_F(MainLayoutTest, CaptionsAreShownExactlyAsDesigned) {
    start();
    EXPECT_EQ(control<QCheckBox>("CB_Discount")->text(), "Apply KWH Disounts");
    EXPECT_EQ(control<QCheckBox>("CB_Dailydisc")->text(), "Apply Daily discount");
    EXPECT_EQ(control<QLabel>("Label4")->text(), "Quaterly Cost :");
    EXPECT_EQ(control<QLabel>("Label2")->text(), "KWH Charge Rate:");
    EXPECT_EQ(control<QGroupBox>("gb_discounts")->title(),
              "Discounts (NB: Updates Total Cost Per Hour/Day)");
    EXPECT_EQ(control<QPushButton>("btn_save")->text(), "Save Item");
    EXPECT_TRUE(control<QAbstractButton>("rgsort_Appliance")->isChecked());

    QStringList titles;
    for (int column = 0; column < 8; ++column)
        titles << grid()->model()->headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{"Appliance", "Voltage", "Wattage", "Amperage", "KWH",
                                   "Cost/Hour", "Daily Usage(Hrs)", "Cost/Day"}));

    QStringList menu;
    for (QAction* top : m_window->menuBar()->actions())
        for (QAction* item : top->menu()->actions())
            menu << top->text() + "/" + (item->isSeparator() ? "-" : item->text()) + "/" +
                        item->objectName();
    EXPECT_EQ(menu, (QStringList{"File/Save/Save1", "File/-/N1", "File/Print/mnuprint",
                                 "File/Print Preview/PrintPreview1",
                                 QString::fromUtf8("File/Export PDF…/ExportPdf1"), "File/-/N2",
                                 "File/Exit/Exit1", "View/Cost Breakdown/CostBreakdown1",
                                 "Help/Contents/Contents1", "Help/-/N3", "Help/About/About1"}));
}

// The group boxes and the sort group in the look the layout was designed for:
// the title sits on the frame's top line, 8 pixels in, and that line passes
// above every control inside, placed at its designed top.
TEST_F(MainLayoutTest, GroupTitlesSitOnTheFrameAndTheFramePassesAboveTheControls) {
    start();
    for (const char* name : {"gb_discounts", "GB_Dailydisc", "gbfreq", "rgsort"}) {
        SCOPED_TRACE(name);
        auto* box = control<QGroupBox>(name);
        const qreal ratio = box->devicePixelRatioF();
        QImage frame(box->size() * ratio, QImage::Format_ARGB32_Premultiplied);
        frame.setDevicePixelRatio(ratio);
        frame.fill(Qt::transparent);
        box->render(&frame, QPoint(), QRegion(), {}); // the box alone: no background, no children
        // Down the right-hand end, well away from the title: the first line drawn.
        const int x = frame.width() - int(4 * ratio);
        int lineRow = 0;
        while (lineRow < frame.height() && qAlpha(frame.pixel(x, lineRow)) == 0)
            ++lineRow;
        ASSERT_LT(lineRow, frame.height()) << "no frame drawn";
        const qreal lineTop = lineRow / ratio;

        if (!box->title().isEmpty()) {
            const std::vector<DrawnText> title = drawnTexts(*box);
            ASSERT_EQ(title.size(), 1u);
            EXPECT_EQ(title[0].text, box->title());
            EXPECT_LT(title[0].ink.top(), lineTop);
            EXPECT_GT(title[0].ink.bottom(), lineTop + 1) << "the line runs through the title";
            EXPECT_NEAR(title[0].ink.left(), 8, 1.5);
        }
        for (QWidget* inside : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            SCOPED_TRACE(inside->objectName().toStdString());
            EXPECT_GT(inside->y(), lineTop + 1);
        }
    }
}

TEST_F(MainLayoutTest, WideningMovesRightAnchoredControlsAndRecomputesTheColumns) {
    pellion::MainWindow& window = start();
    const QPoint exitDistance = cornerDistance("bbtnExit");
    const QPoint updateDistance = cornerDistance("btnupdate");
    window.resize(window.width() + 100, window.height() + 40);
    QApplication::processEvents();

    EXPECT_EQ(control("dbg")->width(), 876);
    EXPECT_EQ(columnWidths(), (std::vector<int>{263, 70, 70, 70, 70, 70, 79, 117}));
    EXPECT_EQ(geometryOf("pnlgrid"), QRect(0, 89, 878, 143));
    EXPECT_EQ(geometryOf("sechgphr"), QRect(528, 12, 81, 21));
    EXPECT_EQ(geometryOf("btn_first"), QRect(502, 7, 75, 17));
    EXPECT_EQ(geometryOf("GB_Dailydisc").x(), 621);
    EXPECT_EQ(geometryOf("sedcdisc"), QRect(152, 18, 81, 21)); // inside the box that moved
    EXPECT_EQ(geometryOf("rgsort"), QRect(0, 5, 305, 41));
    EXPECT_EQ(geometryOf("celeast"), QRect(152, 19, 121, 21));
    EXPECT_EQ(geometryOf("gb_discounts"), QRect(0, 376, 878, 88)); // regions keep their height
    EXPECT_EQ(cornerDistance("bbtnExit"), exitDistance);
    EXPECT_EQ(cornerDistance("btnupdate"), updateDistance);
    EXPECT_EQ(geometryOf("bbtnExit").topLeft(), QPoint(781, 507));
}

} // namespace

namespace {

// Each currency field takes the setup its row gives it; the number fields'
// steps and ranges are driven with keys in CommandTest.PriceFieldsStepAndClampAsConfigured.
TEST_F(MainLayoutTest, CurrencyFieldsAreConfiguredAsTheirRowsSay) {
    start();
    for (const pellion::CurrencyFieldSetup& setup : pellion::mainCurrencyFields()) {
        SCOPED_TRACE(setup.name);
        pellion::CurrencyField* field = currency(setup.name);
        ASSERT_NE(field, nullptr);
        field->setValue(0);
        EXPECT_EQ(field->isReadOnly(), setup.readOnly);
        EXPECT_EQ(field->text(), setup.zeroEmpty ? "" : "0");
        EXPECT_EQ(field->displayText(), "$0.00000");
        field->setValue(1234.567891);
        EXPECT_EQ(field->text(), "1234.56789");
        EXPECT_EQ(field->displayText(), "$1,234.56789");
    }
}

} // namespace
