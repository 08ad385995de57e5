#include "mainwindowfixture.h"

#include "engine/numberformat.h"

#include <QLineEdit>

namespace {

using pellion::TableState;

class GridTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        start();
    }
    void withThreeAppliances() const {
        addAppliance("Kettle", "230", "", "2000", "0.5");
        addAppliance("Fridge", "240", "0.5", "", "24");
        addAppliance("Heater", "110", "10", "", "2");
    }
    void focusCell(int row, int column) const {
        grid()->setFocus();
        grid()->setCurrentIndex(grid()->model()->index(row, column));
    }
    // Keys go to the grid, or to its cell editor when one is open.
    void focusGrid() const {
        const QWidget* focus = QApplication::focusWidget();
        if (!focus || (focus != grid() && !grid()->isAncestorOf(focus)))
            grid()->setFocus();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        focusGrid();
        pressKey(grid(), k, modifiers);
    }
    void type(const QString& text) const {
        focusGrid();
        typeKeys(grid(), text);
    }
    std::string shown(int row, const char* field) const {
        return table().shownTextAt(row, table().FieldNamed(field).index());
    }
};

TEST_F(GridTest, TypingWhileBrowsingChangesNothing) {
    withThreeAppliances();
    focusCell(0, 0);
    type("Toaster");
    key(Qt::Key_Return);
    EXPECT_EQ(shown(0, "appliance"), "Kettle");
    EXPECT_EQ(table().state(), TableState::Browsing);
}

TEST_F(GridTest, EditItemThenTypingAndEnterStoresTheText) {
    withThreeAppliances();
    focusCell(1, 0);
    click("btn_edit");
    grid()->setFocus();
    type("Freezer");
    key(Qt::Key_Return);
    EXPECT_EQ(shown(1, "appliance"), "Freezer");
    EXPECT_EQ(table().state(), TableState::Editing);
    EXPECT_EQ(grid()->model()->headerData(1, Qt::Vertical).toString(), "I");
    key(Qt::Key_Down); // moving on posts the record
    EXPECT_EQ(table().state(), TableState::Browsing);
    EXPECT_EQ(table().currentViewRow(), 2);
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Kettle", "Freezer", "Heater"}));
}

TEST_F(GridTest, DownAppendsAtTheEndAndUpDropsTheUntouchedNewRecord) {
    focusCell(0, 0);
    key(Qt::Key_Down); // an empty list: a new record at once
    EXPECT_EQ(table().state(), TableState::Inserting);
    EXPECT_EQ(grid()->model()->rowCount(), 1);
    key(Qt::Key_Down); // untouched and at the end: nothing
    EXPECT_EQ(table().state(), TableState::Inserting);
    key(Qt::Key_Up);
    EXPECT_EQ(table().state(), TableState::Browsing);
    EXPECT_EQ(grid()->model()->rowCount(), 0);

    withThreeAppliances();
    focusCell(2, 0);
    key(Qt::Key_Down);
    EXPECT_EQ(table().state(), TableState::Inserting);
    EXPECT_EQ(table().currentViewRow(), 3);
    EXPECT_EQ(grid()->currentIndex().row(), 3);
    type("Lamp");
    key(Qt::Key_Down); // a touched record is posted and another one started
    EXPECT_EQ(applianceNames(),
              (std::vector<std::string>{"Kettle", "Fridge", "Heater", "Lamp", ""}));
    key(Qt::Key_Up);
    EXPECT_EQ(table().RecordTotal(), 4);
    EXPECT_EQ(table().currentViewRow(), 3);
}

TEST_F(GridTest, InsertStartsARecordBeforeTheCurrentOne) {
    withThreeAppliances();
    focusCell(1, 0);
    key(Qt::Key_Insert);
    EXPECT_EQ(table().state(), TableState::Inserting);
    EXPECT_EQ(grid()->currentIndex().row(), 1);
    EXPECT_EQ(grid()->model()->headerData(1, Qt::Vertical).toString(), "*");
    type("Toaster");
    key(Qt::Key_Return);
    click("btn_first");
    EXPECT_EQ(applianceNames(),
              (std::vector<std::string>{"Kettle", "Toaster", "Fridge", "Heater"}));
}

// Insert pressed while a cell is being typed into: the typed text is stored,
// and the new record is typed into from its name without another click.
TEST_F(GridTest, InsertInAnOpenCellStoresItsTextAndMovesToTheNewName) {
    withThreeAppliances();
    focusCell(1, 1); // Fridge's voltage
    click("btn_edit");
    type("250");
    key(Qt::Key_Insert);
    EXPECT_EQ(table().state(), TableState::Inserting);
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(1, 0));
    EXPECT_TRUE(grid()->hasFocus());
    type("Lamp");
    key(Qt::Key_Return);
    click("btn_first");
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Kettle", "Lamp", "Fridge", "Heater"}));
    EXPECT_EQ(shown(2, "voltage"), "250.00");
}

TEST_F(GridTest, CtrlDeleteAsksAndRemovesWithoutRecalculating) {
    withThreeAppliances();
    click("btnSave");
    ASSERT_TRUE(m_window->savedflag());
    focusCell(1, 0);
    answer({"Cancel"});
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table().RecordTotal(), 3);
    answer({"OK"});
    key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Confirm");
    EXPECT_EQ(dialogs()[0].text, "Delete record?");
    EXPECT_EQ(dialogs()[0].buttons, (QStringList{"OK", "Cancel"}));
    EXPECT_EQ(dialogs()[0].defaultButton, "OK");
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Kettle", "Heater"}));
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "0"); // no recalculation since start
    EXPECT_FALSE(m_window->savedflag()); // the deletion is not in the ledger yet
}

TEST_F(GridTest, EscapeFirstUndoesTheTypingThenCancelsTheRecord) {
    withThreeAppliances();
    focusCell(0, 0);
    click("btn_edit");
    grid()->setFocus();
    type("Toaster");
    key(Qt::Key_Escape);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "Kettle");
    key(Qt::Key_Escape);
    EXPECT_EQ(table().state(), TableState::Browsing);
    EXPECT_EQ(shown(0, "appliance"), "Kettle");
}

TEST_F(GridTest, TabCrossesIntoTheNextRecordAndLeavingAColumnClearsTheSavedFlag) {
    withThreeAppliances();
    click("btnSave");
    focusCell(0, 6);
    EXPECT_FALSE(m_window->savedflag()); // the column changed
    click("btnSave");
    key(Qt::Key_Tab);
    EXPECT_EQ(grid()->currentIndex().column(), 7);
    EXPECT_FALSE(m_window->savedflag());
    key(Qt::Key_Tab);
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(1, 0));
    EXPECT_EQ(table().currentViewRow(), 1);
    key(Qt::Key_Backtab);
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(0, 7));
    EXPECT_EQ(table().currentViewRow(), 0);
}

TEST_F(GridTest, MovingBetweenRecordsKeepsTheSavedFlag) {
    withThreeAppliances();
    focusCell(0, 0);
    click("btnSave");
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(table().currentViewRow(), 2);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(table().currentViewRow(), 0);
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                      grid()->visualRect(grid()->model()->index(1, 0)).center());
    EXPECT_EQ(table().currentViewRow(), 1);
    EXPECT_TRUE(m_window->savedflag());
}

TEST_F(GridTest, CellsTakeOnlyWhatTheirFieldAllows) {
    withThreeAppliances();
    focusCell(0, 1);
    click("btn_edit");
    grid()->setFocus();
    type("12a3,x4");
    key(Qt::Key_Return);
    EXPECT_EQ(shown(0, "voltage"), "1234.00");

    focusCell(0, 0);
    key(Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    type(QString(60, QChar('n')));
    key(Qt::Key_Return);
    EXPECT_EQ(shown(0, "appliance"), std::string(50, 'n'));
}

// Fields made by a ledger load were made under the ledger's '.', but typed
// text is read with the user's separator: a ',' user must still reach decimals.
TEST_F(GridTest, LoadedFieldsTakeTheUsersDecimalSeparator) {
    withThreeAppliances();
    click("btnSave");
    m_window.reset();
    start();
    pellion::FormatSettings comma = pellion::formatSettings();
    comma.decimalSeparator = ',';
    comma.thousandSeparator = '.';
    pellion::ScopedFormatSettings regional(comma);
    focusCell(0, 1);
    click("btn_edit");
    grid()->setFocus();
    type("117,5");
    key(Qt::Key_Return);
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(shown(0, "voltage"), "117,5");
}

TEST_F(GridTest, TextThatIsNoNumberGoesToTheErrorDisplay) {
    withThreeAppliances();
    focusCell(0, 1);
    click("btn_edit");
    grid()->setFocus();
    answer({"OK"});
    type("5-");
    key(Qt::Key_Return);
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Pellion");
    EXPECT_EQ(dialogs()[0].text, "'5-' is not a valid floating point value for field 'Voltage'");
    EXPECT_EQ(shown(0, "voltage"), "230.00");
}

TEST_F(GridTest, DoubleClickOnAnEmptyGridStartsARecord) {
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_EQ(table().state(), TableState::Inserting);
    EXPECT_EQ(grid()->model()->rowCount(), 1);
}

} // namespace
