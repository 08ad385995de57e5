#include "mainwindowfixture.h"

#include "engine/numberformat.h"

#include <QClipboard>
#include <QLineEdit>

#include <functional>
#include <string>

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
    ASSERT_TRUE(m_window->saved());
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
    EXPECT_FALSE(m_window->saved()); // the deletion is not in the ledger yet
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
    EXPECT_FALSE(m_window->saved()); // the column changed
    click("btnSave");
    key(Qt::Key_Tab);
    EXPECT_EQ(grid()->currentIndex().column(), 7);
    EXPECT_FALSE(m_window->saved());
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
    EXPECT_TRUE(m_window->saved());
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

// Fifty characters as the user sees them: an emoji is one, is never cut in
// half, and comes back from the ledger as it was typed.
TEST_F(GridTest, LongNamesAreCutAtWholeCharacters) {
    const QString grin = QString::fromUtf8("\xF0\x9F\x98\x80");
    const struct {
        const char* situation;
        QString typed;  // key by key, an emoji in one key
        QString pasted; // then pasted where the typing ended
        QString stored;
    } cases[] = {
        {"an emoji as the fiftieth character",
         QString(49, u'x') + grin + QStringLiteral("yz"),
         {},
         QString(49, u'x') + grin},
        {"an emoji as the fifty-first character", QString(50, u'x') + grin, {}, QString(50, u'x')},
        {"fifty emoji", grin.repeated(60), {}, grin.repeated(50)},
        {"a paste over the limit", QString(40, u'x'), grin.repeated(20),
         QString(40, u'x') + grin.repeated(10)},
        {"a paste landing on the limit", QString(49, u'x'), grin + grin, QString(49, u'x') + grin},
        {"half an emoji pasted", QStringLiteral("Kettle"), QString(QChar(0xD83D)),
         QStringLiteral("Kettle")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        m_window.reset();
        start();
        click("btn_edit"); // an empty list: a new record
        grid()->setFocus();
        key(Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        for (qsizetype i = 0; i < c.typed.size(); ++i) {
            const qsizetype length = c.typed[i].isHighSurrogate() ? 2 : 1;
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, c.typed.mid(i, length),
                                Qt::NoModifier);
            i += length - 1;
        }
        if (!c.pasted.isEmpty()) {
            QApplication::clipboard()->setText(c.pasted);
            QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        }
        key(Qt::Key_Return);
        click("btnSave");
        EXPECT_FALSE(readFile(ledgerPath()).contains('?'));
        m_window.reset();
        start();
        EXPECT_EQ(QString::fromStdString(shown(0, "appliance")), c.stored);
    }
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

TEST_F(GridTest, EditItemOnAnEmptyListStartsARecordThatCancelTakesAway) {
    click("btn_edit");
    EXPECT_EQ(table().state(), TableState::Inserting);
    EXPECT_EQ(grid()->model()->rowCount(), 1);
    clickCell(0, Appliance);
    typeIntoCurrentCell(QStringLiteral("Lamp"));
    click("btn_cancel");
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_TRUE(dialogs().empty());
}

TEST_F(GridTest, KeysAroundAnUntouchedNewRecordInTheMiddleDiscardIt) {
    struct Case {
        const char* situation;
        Qt::Key key;
        int row; // current afterwards
    };
    const Case cases[] = {
        {"Down discards it", Qt::Key_Down, 1},
        {"Up discards it and moves up", Qt::Key_Up, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        m_window.reset();
        start();
        addAppliance("Kettle", "230", "", "2000", "0.5");
        addAppliance("Fridge", "240", "0.5", "", "24");
        clickCell(1, Appliance);
        pressKey(grid(), Qt::Key_Insert);
        ASSERT_EQ(grid()->model()->rowCount(), 3);
        pressKey(grid(), c.key);
        EXPECT_EQ(table().state(), TableState::Browsing);
        EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Kettle", "Fridge"}));
        EXPECT_EQ(table().currentViewRow(), c.row);
    }
}

TEST_F(GridTest, TabPastTheLastCellAppendsLikeDown) {
    addAppliance("Kettle", "230", "", "2000", "0.5");
    clickCell(0, CostDay);
    pressKey(grid(), Qt::Key_Tab);
    EXPECT_EQ(table().state(), TableState::Inserting);
    EXPECT_EQ(grid()->model()->rowCount(), 2);
    EXPECT_EQ(table().currentViewRow(), 1);
}

TEST_F(GridTest, EnterOpensTheCellEditorThenStoresAndClosesIt) {
    addAppliance("Kettle", "230", "", "2000", "0.5");
    click("btn_edit");
    clickCell(0, HoursDay);
    pressKey(grid(), Qt::Key_Return);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, grid());
    ASSERT_TRUE(grid()->isAncestorOf(editor));
    pressKey(grid(), Qt::Key_End);
    typeKeys(grid(), QStringLiteral("5")); // the editor offers the shown text, '.50'
    pressKey(grid(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), grid());
    EXPECT_EQ(table().FieldNamed("hrsday").NumberValue(), 0.505);
    EXPECT_EQ(table().state(), TableState::Editing);
}

TEST_F(GridTest, NamesWithQuotesAndPercentsTypedInSurviveTheLedger) {
    click("btn_edit");
    clickCell(0, Appliance);
    typeIntoCurrentCell(QStringLiteral("17\" TV 100%"));
    click("btnSave");
    EXPECT_TRUE(readFile(ledgerPath()).contains(",\"17\"\" TV 100%%\","))
        << readFile(ledgerPath()).constData();
    m_window.reset();
    start();
    EXPECT_EQ(applianceNames(), std::vector<std::string>{"17\" TV 100%"});
}

// The four records of the cases below, 230 V each, in row order.
const char* const phonetic[] = {"Alpha", "Bravo", "Charlie", "Delta"};

class PointerTest : public GridTest {
protected:
    enum Column { Appliance = 0, Wattage = 2, CostHour = 5 };

    void withFourAppliances() const {
        addAppliance("Alpha", "230", "", "100", "1");
        addAppliance("Bravo", "230", "", "200", "1");
        addAppliance("Charlie", "230", "", "300", "1");
        addAppliance("Delta", "230", "", "400", "1");
    }
    QPoint cellCentre(int row, int column) const {
        return grid()->visualRect(grid()->model()->index(row, column)).center();
    }
    void clickCell(int row, int column) const {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cellCentre(row, column));
    }
    // As the window system delivers one: press, release, double click, release,
    // all where the cell was drawn when the user aimed at it.
    void doubleClickCell(int row, int column) const {
        const QPoint at = cellCentre(row, column);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {}, at);
    }
    std::string currentName() const { return table().FieldNamed("appliance").TextValue(); }
    double storedWattage(const std::string& name) const {
        const int nameField = table().FieldNamed("appliance").index();
        for (int row = 0; row < table().RecordTotal(); ++row)
            if (table().storedTextAt(row, nameField) == name)
                return table().storedNumberAt(row, table().FieldNamed("wattage").index());
        ADD_FAILURE() << "no record " << name;
        return 0;
    }
    enum class Pending { InsertAboveBravo, AppendBelowDelta, SortedEditOfAlpha, SortedTyping };
    // A new window with the four records and one change pending.
    void startWithPending(Pending pending) {
        m_window.reset();
        start();
        withFourAppliances();
        switch (pending) {
        case Pending::InsertAboveBravo:
            clickCell(1, Appliance);
            click("btn_ins");
            break;
        case Pending::AppendBelowDelta:
            clickCell(3, Appliance);
            key(Qt::Key_Down);
            break;
        case Pending::SortedEditOfAlpha:
            click("rgsort_Wattage");
            clickCell(0, Wattage);
            click("btn_edit");
            grid()->setFocus();
            type("350"); // posted, Alpha goes between Charlie and Delta
            key(Qt::Key_Return);
            break;
        case Pending::SortedTyping: // the same, still in the cell editor
            click("rgsort_Wattage");
            clickCell(0, Wattage);
            click("btn_edit");
            grid()->setFocus();
            type("350");
            break;
        }
    }
    QString deletePrompt() {
        answer({"&No"});
        click("btn_del");
        m_window->activateWindow(); // back from the box, as the user is
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        return dialogs().empty() ? QString() : dialogs().back().text;
    }
};

TEST_F(PointerTest, TypingWhereNoEditorOpensStaysOnTheRecord) {
    withFourAppliances();
    clickCell(0, Appliance);
    type("c");
    EXPECT_EQ(currentName(), "Alpha");
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    EXPECT_EQ(deletePrompt(), "Do you wish to delete : Alpha");

    // While editing, a read-only cell opens no editor: the letter must not
    // post the edit by jumping away, so Cancel still undoes it.
    click("btnupdate");
    clickCell(0, Appliance);
    click("btn_edit");
    grid()->setFocus();
    type("Zulu");
    key(Qt::Key_Return);
    clickCell(0, CostHour);
    type("c");
    EXPECT_EQ(table().state(), TableState::Editing);
    EXPECT_EQ(currentName(), "Zulu");
    click("btn_cancel");
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Alpha", "Bravo", "Charlie", "Delta"}));
}

// A pending change that settling removes or moves shifts the rows under the
// pointer; the click must still reach the record the user saw there.
TEST_F(PointerTest, ClicksReachTheRecordDrawnUnderThePointer) {
    const struct {
        const char* situation;
        Pending pending;
        int row; // where the aimed record is drawn with the change pending
        const char* aimed;
    } cases[] = {
        {"an untouched new record inserted above", Pending::InsertAboveBravo, 3, "Charlie"},
        {"an untouched new record appended below", Pending::AppendBelowDelta, 1, "Bravo"},
        {"an edit that moves its record in the sorted list", Pending::SortedEditOfAlpha, 2,
         "Charlie"},
        {"typing still in the cell that moves its record", Pending::SortedTyping, 2, "Charlie"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        startWithPending(c.pending);
        clickCell(c.row, Wattage);
        EXPECT_EQ(currentName(), c.aimed);
        EXPECT_EQ(grid()->currentIndex().column(), int(Wattage));
        EXPECT_EQ(grid()->currentIndex().row(), table().currentViewRow());
        EXPECT_EQ(deletePrompt(), QStringLiteral("Do you wish to delete : ") + c.aimed);
        EXPECT_EQ(table().RecordTotal(), 4);
        EXPECT_EQ(storedWattage("Alpha"),
                  c.pending == Pending::SortedEditOfAlpha || c.pending == Pending::SortedTyping
                      ? 350
                      : 100);

        startWithPending(c.pending);
        doubleClickCell(c.row, Wattage);
        type("999");
        key(Qt::Key_Return);
        click("btn_first"); // posts
        for (const char* name : phonetic) {
            if (name == std::string(c.aimed))
                EXPECT_EQ(storedWattage(name), 999) << name;
            else
                EXPECT_NE(storedWattage(name), 999) << name;
        }
    }
}

TEST_F(GridTest, DoubleClickOnAnEmptyGridStartsARecord) {
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_EQ(table().state(), TableState::Inserting);
    EXPECT_EQ(grid()->model()->rowCount(), 1);
}

} // namespace
