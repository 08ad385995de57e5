#pragma once

// frm_Main, the program's only permanent window.
//
// Data flow:
//   cfgfd.ini   --start-up-->  the five spin fields (price, daily charges, discounts)
//   pellion.csv --start-up-->  KMT (ApplianceTable) <--> ApplianceModel <--> dbg (the grid)
//   a spin field's text changes, a discount box is clicked, Update is pressed
//       --> recalculate: spin values + switches --> Recalculate(KMT): the records'
//           values to the engine's recalculate, its results written back in one batch
//       --> the grid refreshed once; the completion error, when a record failed
//       --> the seven currency fields, the two name labels, eb_dailyusage; m_saved cleared
//       --> each appliance's cost per day to the Cost Breakdown window, when open
//   every command --> first the text typed into an open cell, stored as Enter would
//   Save --> spin values into cfgfd.ini, the current record posted, KMT into pellion.csv
//       (a pellion.csv that start-up did not load completely kept as pellion.csv.bak
//       first); m_saved set
//   a field written or a record added or removed, by any means --> m_saved cleared
//   close --> while m_saved is false, "Do you wish to exit without saving"
//
// The window only gathers inputs and shows outputs: the arithmetic is in
// engine/recalc and its pass over the records in ledger/costpass, the list's
// behaviour in the table and the grid, the layout in mainlayout. Every command
// runs through runCommand, so its errors reach the application's error display
// and the window stays usable.

#include "app/appliancemodel.h"
#include "app/programfiles.h"
#include "calculator/calculator.h"
#include "engine/costbreakdown.h"
#include "ledger/appliancetable.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pellion {

class ApplianceGrid;
class CostBreakdownWindow;
class CurrencyField;
class FixedLayout;
class HelpWindow;
class SpinField;
struct RecalcInputs;
struct RecalcResult;
struct ReportTexts;

class MainWindow : public QMainWindow, private TableListener {
    Q_OBJECT

public:
    struct Options {
        QString appDir; // the program's folder; empty: the executable's folder
    };

    explicit MainWindow(Options options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    ApplianceTable& table() { return m_table; }
    const QString& appDir() const { return m_appDir; }
    QString settingsPath() const;
    bool saved() const { return m_saved; }
    bool kwhDiscountOn() const { return m_kwhDiscountOn; }
    bool dailyDiscountOn() const { return m_dailyDiscountOn; }

    static constexpr const char* ledgerFileName = "pellion.csv";

    // The report as Print would print it, into a PDF file; a failure goes to
    // the error display.
    void exportPdf(const QString& fileName);

public slots:
    void recalculate();
    void save();
    void exit();
    void sortBy(int item);
    void goFirst();
    void goPrevious();
    void goNext();
    void goLast();
    void insertItem();
    void deleteItem();
    void editItem();
    void cancelItem();
    void gridColumnLeft();
    void switchKwhDiscount();
    void switchDailyDiscount();

    // Windows of their own.
    void openCalculator();
    void print();
    void printPreview();
    void askAndExportPdf(); // asks for the file, then exportPdf
    void showHelp();
    void showAbout();
    void showCostBreakdown();

signals:
    // The window closed for good: the program ends, whatever other windows
    // (help, preview) are still open.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override; // asks while the work is unsaved
    bool hasUnsavedWork() const;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void configureFields();
    void createMenu();
    void createGrid();
    void connectCommands();
    void applyRegionalSettings();
    void placeAtDesktopCentre();
    void start();

    void readSettings();
    void writeSettings();
    RecalcInputs recalcInputs() const;
    void showRecalcResult(const RecalcResult& result);
    void showCompletionFailed();
    void followCostBreakdown(RecalcResult& result);
    bool settleCellEditor();
    void tableCommand(void (ApplianceTable::*operation)());
    ReportTexts reportTexts() const;
    void tableChanged(TableChange change) override;

    QString m_appDir;
    SettingsLocation m_settingsLocation; // decided with m_appDir, at start-up
    bool m_saved = false;
    bool m_keepLedgerOnSave = false; // the ledger found at start-up was not loaded completely
    int m_recordTotal = 0;           // to tell a record added or removed from other row changes
    bool m_kwhDiscountOn = false;
    bool m_dailyDiscountOn = false;

    ApplianceTable m_table; // KMT
    ApplianceModel m_model; // ds
    FixedLayout* m_layout = nullptr;
    ApplianceGrid* m_grid = nullptr;
    // The five price and discount fields, in the order of the settings file.
    enum PriceField { pricePerKwh, dailyCharges, discountKwh, discountPrice, dailyDiscount };
    std::array<SpinField*, 5> m_priceFields{};
    CurrencyField* m_totalPerHour = nullptr;
    CurrencyField* m_totalPerDay = nullptr;
    CurrencyField* m_totalPerMonth = nullptr;
    CurrencyField* m_totalPerQuarter = nullptr;
    CurrencyField* m_totalPerYear = nullptr;
    CurrencyField* m_leastPerHour = nullptr;
    CurrencyField* m_mostPerHour = nullptr;
    QLabel* m_leastName = nullptr;
    QLabel* m_mostName = nullptr;
    QLineEdit* m_dailyUsage = nullptr;
    Calculator m_calc;                  // keeps its value and memory between openings
    HelpWindow* m_helpWindow = nullptr; // the most recent help window
    // The last recalculation's costs, for a breakdown window opened later.
    std::vector<ApplianceCost> m_applianceCosts;
    double m_dayTotal = 0;
    CostBreakdownWindow* m_costBreakdown = nullptr; // made at its first opening
    QCheckBox* m_kwhDiscountBox = nullptr;
    QCheckBox* m_dailyDiscountBox = nullptr;
    QButtonGroup* m_sortChoice = nullptr;
    int m_sortItem = 0; // the "Sort By" choice in force
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_exitButton = nullptr;
};

} // namespace pellion
