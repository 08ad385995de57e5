// A cell of the list still being typed into when the user gives a command:
// the typed text is stored first, as Enter would store it, whichever way the
// command is reached (a button, the menu by mouse or by keyboard, the grid's
// own Insert key). Text the field refuses stops the command.

#include "mainwindowfixture.h"
#include "preview/previewdialogs.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTimer>

#include <gmock/gmock.h>

#include <functional>

namespace {

using pellion::TableState;
using ::testing::Contains;
using ::testing::Not;

class OpenCellTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        startWithTwoAppliances();
    }

    void startWithTwoAppliances() {
        m_window.reset();
        QFile::remove(ledgerPath()); // what an earlier case saved
        start();
        addAppliance("Kettle", "230", "", "2000", "0.5");
        addAppliance("Fridge", "240", "0.5", "", "24");
    }

    QLineEdit* cellEditor() const {
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        return editor && grid()->isAncestorOf(editor) ? editor : nullptr;
    }

    // Double-clicks the cell and replaces its text by typing, leaving the
    // cell editor open.
    void typeIntoCell(int row, int column, const QString& text) const {
        const QRect cell = grid()->visualRect(grid()->model()->index(row, column));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QLineEdit* editor = cellEditor();
        ASSERT_NE(editor, nullptr) << "no cell editor opened";
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        ASSERT_EQ(editor->text(), text);
    }

    // Opens a menu of the menu bar with the mouse and chooses one of its
    // items with the mouse or with Down and Enter.
    void chooseFromMenu(const char* menuName, const char* itemName, bool byKeyboard) const {
        QMenuBar* bar = m_window->menuBar();
        auto* menu = control<QMenu>(menuName);
        QAction* item = control<QAction>(itemName);
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
        if (byKeyboard) {
            for (int i = 0; i < 10 && menu->activeAction() != item; ++i)
                QTest::keyClick(menu, Qt::Key_Down);
            ASSERT_EQ(menu->activeAction(), item);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        }
    }

    // Closes the window of that name once it shows (the command that opened
    // it waits for it to close): Escape, or a click on its Cancel button.
    static void closeWhenShown(const char* name, const char* cancelButton = nullptr) {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, name, cancelButton] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->objectName() == QLatin1String(name) && window->isVisible()) {
                    timer->stop();
                    timer->deleteLater();
                    if (cancelButton)
                        QTest::mouseClick(window->findChild<QAbstractButton*>(cancelButton),
                                          Qt::LeftButton);
                    else
                        QTest::keyClick(window, Qt::Key_Escape);
                    return;
                }
            }
        });
        timer->start(5);
    }

    QRadioButton* sortItem(int item) const {
        return control("rgsort")->findChildren<QRadioButton*>().at(item);
    }

    // A closed editor lingers hidden until it is deleted.
    bool editorOpen() const {
        const auto editors = grid()->viewport()->findChildren<QLineEdit*>();
        return std::any_of(editors.begin(), editors.end(),
                           [](const QLineEdit* editor) { return editor->isVisible(); });
    }
};

// The typed name is stored before each command acts, and the cell editor is
// closed by it.
TEST_F(OpenCellTest, EveryCommandStoresTheTypedTextFirst) {
    struct Case {
        const char* how;
        std::function<void()> command;
        QStringList answers; // for the boxes the command asks
    };
    const auto button = [this](const char* name) { return [this, name] { click(name); }; };
    const auto menu = [this](const char* name, bool byKeyboard) {
        return [this, name, byKeyboard] { chooseFromMenu("File", name, byKeyboard); };
    };
    const std::vector<Case> cases = {
        {"Save button", button("btnSave"), {}},
        {"Save Item", button("btn_save"), {}},
        {"File > Save by mouse", menu("Save1", false), {}},
        {"File > Save by keyboard", menu("Save1", true), {}},
        {"Exit, answered No", button("bbtnExit"), {"&No"}},
        {"File > Exit by keyboard, answered No", menu("Exit1", true), {"&No"}},
        {"Update", button("btnupdate"), {}},
        {"First", button("btn_first"), {}},
        {"Previous", button("btn_prev"), {}},
        {"Next", button("btn_next"), {}},
        {"Last", button("btn_last"), {}},
        {"Insert Item", button("btn_ins"), {}},
        {"Edit Item", button("btn_edit"), {}},
        {"Delete Item, answered No", button("btn_del"), {"&No"}},
        {"sorting by Voltage", [this] { QTest::mouseClick(sortItem(1), Qt::LeftButton); }, {}},
        {"the grid's Insert key", [this] { pressKey(grid(), Qt::Key_Insert); }, {}},
        {"File > Print Preview",
         [this] {
             closeWhenShown("PreviewWindow");
             chooseFromMenu("File", "PrintPreview1", false);
         },
         {}},
        {"File > Export PDF, its file dialog cancelled",
         [this] {
             pellion::previewDialogs().saveFileName = [](const QString&, const QString&,
                                                         const QString&) { return QString(); };
             chooseFromMenu("File", "ExportPdf1", false);
             pellion::previewDialogs() = pellion::platformPreviewDialogs();
         },
         {}},
        {"Calculator",
         [this] {
             closeWhenShown("CalculatorForm", "btnCancel");
             click("btncalculator");
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        startWithTwoAppliances();
        typeIntoCell(0, 0, QStringLiteral("Toaster"));
        answer(c.answers);
        c.command();
        EXPECT_FALSE(editorOpen());
        EXPECT_THAT(applianceNames(), Contains("Toaster"));
        EXPECT_THAT(applianceNames(), Not(Contains("Kettle")));
        EXPECT_TRUE(m_window->isVisible());
        EXPECT_EQ(dialogs().size(), std::size_t(c.answers.size()));
    }
}

// A number the field cannot take is reported, stays in the open cell to be
// corrected, and the command does nothing.
TEST_F(OpenCellTest, TextTheFieldRefusesStopsTheCommand) {
    struct Case {
        const char* how;
        std::function<void()> command;
    };
    const std::vector<Case> cases = {
        {"File > Save by mouse", [this] { chooseFromMenu("File", "Save1", false); }},
        {"File > Exit by keyboard", [this] { chooseFromMenu("File", "Exit1", true); }},
        {"the window's close control", [this] { m_window->close(); }},
        {"the grid's Insert key", [this] { pressKey(grid(), Qt::Key_Insert); }},
        {"Save button", [this] { click("btnSave"); }},
        {"Insert Item", [this] { click("btn_ins"); }},
        {"Update", [this] { click("btnupdate"); }},
        {"sorting by Voltage", [this] { QTest::mouseClick(sortItem(1), Qt::LeftButton); }},
        {"a price typed",
         [this] {
             pellion::SpinField* price = spin("sechgphr");
             QTest::mouseClick(price, Qt::LeftButton);
             QTest::keyClick(price, '5');
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        startWithTwoAppliances();
        typeIntoCell(1, 2, QStringLiteral("1-")); // Fridge's wattage
        answer({"OK"});
        c.command();
        ASSERT_EQ(dialogs().size(), 1u);
        EXPECT_EQ(dialogs()[0].caption, "Pellion");
        EXPECT_EQ(dialogs()[0].text,
                  "'1-' is not a valid floating point value for field 'Wattage'");
        EXPECT_EQ(table().RecordTotal(), 2);
        EXPECT_EQ(table().state(), TableState::Editing);
        EXPECT_TRUE(m_window->isVisible());
        EXPECT_FALSE(m_window->saved());
        EXPECT_FALSE(QFile::exists(ledgerPath()));
        EXPECT_TRUE(sortItem(0)->isChecked()); // the list was not sorted
        // The window's focus, which the keys reach once the box is gone.
        auto* editor = qobject_cast<QLineEdit*>(m_window->focusWidget());
        ASSERT_TRUE(editor && grid()->isAncestorOf(editor));
        EXPECT_EQ(editor->text(), "1-");
    }
}

// File > Save while a new name is still being typed saves the new name, and
// the list is then saved: Exit leaves without a question.
TEST_F(OpenCellTest, FileSaveStoresTheTypedNameAndExitThenLeavesWithoutAsking) {
    typeIntoCell(0, 0, QStringLiteral("Toaster"));
    chooseFromMenu("File", "Save1", false);
    EXPECT_TRUE(m_window->saved());
    const QByteArray ledger = readFile(ledgerPath());
    EXPECT_TRUE(ledger.contains("\"Toaster\"")) << ledger.constData();
    EXPECT_FALSE(ledger.contains("\"Kettle\"")) << ledger.constData();
    EXPECT_EQ(grid()->model()->index(0, 0).data().toString(), "Toaster");
    chooseFromMenu("File", "Exit1", false);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(dialogs().empty());
}

} // namespace
