// How the grid draws its cells at the designed column widths: a number that
// fits stands right-aligned; one that does not is drawn whole from its first
// character and cut at the cell's edge, never shortened with an ellipsis, and
// its whole text shows in a tooltip.

#include "app/mainlayout.h"

#include "ledgertext.h"
#include "mainwindowfixture.h"
#include "tests/drawntext.h"

#include <QHelpEvent>
#include <QToolTip>

namespace {

// A ledger whose fields show numbers as they are, with every digit.
QByteArray ledgerWith(const QList<QPair<QByteArray, QByteArray>>& namesAndVoltages) {
    QList<QByteArray> records;
    for (const auto& [name, voltage] : namesAndVoltages)
        records << "\"1\",\"" + name + "\",,,\"1\",,\"" + voltage + "\",,";
    return pellion::testing::ledgerWithLines(records);
}

class GridCellsTest : public MainWindowFixture {
protected:
    void startWith(const QList<QPair<QByteArray, QByteArray>>& namesAndVoltages) {
        writeFile(ledgerPath(), ledgerWith(namesAndVoltages));
        start();
        ASSERT_EQ(table().RecordTotal(), namesAndVoltages.size());
        QApplication::processEvents();
    }

    QString shownText(int row, const char* field) const {
        return QString::fromStdString(table().shownTextAt(row, table().FieldNamed(field).index()));
    }

    QRect cell(int row, const char* field) const {
        const int column =
            int(std::find_if(pellion::gridColumns.begin(), pellion::gridColumns.end(),
                             [&](const char* name) { return std::string(name) == field; }) -
                pellion::gridColumns.begin());
        return grid()->visualRect(grid()->model()->index(row, column));
    }

    // The text runs drawn inside a cell.
    std::vector<DrawnText> drawnIn(const QRect& place) const {
        std::vector<DrawnText> inside;
        for (const DrawnText& run : drawnTexts(*grid()->viewport()))
            if (QRectF(place).contains(run.ink.center()))
                inside.push_back(run);
        return inside;
    }

    // The tooltip the grid shows with the pointer resting on a cell.
    QString tooltipAt(const QRect& place) const {
        QToolTip::hideText();
        QWidget* viewport = grid()->viewport();
        const QPoint at = place.center();
        QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

TEST_F(GridCellsTest, NumbersTooWideForTheirCellKeepTheirLeadingDigitsAndShowWholeInATooltip) {
    struct Case {
        const char* situation;
        const char* voltage;
        bool fits;
    };
    const Case cases[] = {
        {"short", "230", true},
        {"long decimals", "0.4000022", false},
        {"negative", "-10.00000001", false},
        {"many whole digits", "123456789012", false},
    };
    QList<QPair<QByteArray, QByteArray>> records;
    for (const Case& c : cases)
        records.append(qMakePair(QByteArray(c.situation), QByteArray(c.voltage)));
    startWith(records);

    for (int row = 0; row < int(std::size(cases)); ++row) {
        const Case& c = cases[row];
        SCOPED_TRACE(c.situation);
        ASSERT_EQ(shownText(row, "voltage"), QString::fromLatin1(c.voltage));
        const QRect place = cell(row, "voltage");
        const std::vector<DrawnText> drawn = drawnIn(place);
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(drawn[0].text, QString::fromLatin1(c.voltage)) << "drawn whole, no ellipsis";
        if (c.fits) {
            EXPECT_LE(drawn[0].ink.right(), place.right() + 1);
            EXPECT_GT(drawn[0].ink.left(), place.center().x()) << "right-aligned";
            EXPECT_EQ(tooltipAt(place), "");
        } else {
            EXPECT_GE(drawn[0].ink.left(), place.left());
            EXPECT_LT(drawn[0].ink.left(), place.left() + 8) << "starts at the left margin";
            EXPECT_GT(drawn[0].ink.right(), place.right()) << "runs on past the edge, cut there";
            EXPECT_EQ(tooltipAt(place), QString::fromLatin1(c.voltage));
        }
    }
}

TEST_F(GridCellsTest, ANameTooWideForItsCellShowsWholeInATooltip) {
    startWith({{"Kettle", "230"}, {"Chest freezer in the garage, the old one", "240"}});
    EXPECT_EQ(tooltipAt(cell(0, "appliance")), "");
    EXPECT_EQ(tooltipAt(cell(1, "appliance")), "Chest freezer in the garage, the old one");
}

} // namespace
