#pragma once

// frm_Main, the program's only permanent window.
//
// Data flow:
//   cfgfd.ini   --start-up-->  the five spin fields (price, daily charges, discounts)
//   pellion.csv --start-up-->  KMT (ApplianceTable) <--> ApplianceModel <--> dbg (the grid)
//   a spin field's text changes, a discount box is clicked, Update is pressed
//       --> btnupdateClick: spin values + switches --> Recalculate(KMT)
//       --> the seven currency fields, the two name labels, eb_dailyusage; savedflag cleared
//       --> each appliance's cost per day to the Cost Breakdown window, when open
//   every command --> first the text typed into an open cell, stored as Enter would
//   Save --> spin values into cfgfd.ini, the current record posted, KMT into pellion.csv
//       (a pellion.csv that start-up did not load completely kept as pellion.csv.bak
//       first); savedflag set
//   a field written or a record added or removed, by any means --> savedflag cleared
//   close --> while savedflag is false, "Do you wish to exit without saving"
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
    bool savedflag() const { return m_savedflag; }
    bool kwhdiscflag() const { return m_kwhdiscflag; }
    bool dailydiscflag() const { return m_dailydiscflag; }

    static constexpr const char* ledgerFileName = "pellion.csv";

    // The report as Print would print it, into a PDF file; a failure goes to
    // the error display.
    void exportPdf(const QString& fileName);

public slots:
    void btnupdateClick();
    void btnSaveClick();
    void bbtnExitClick();
    void rgsortClick(int item);
    void btn_firstClick();
    void btn_prevClick();
    void btn_nextClick();
    void btn_lastClick();
    void btn_insClick();
    void btn_delClick();
    void btn_editClick();
    void btn_cancelClick();
    void dbgColExit();
    void CB_DiscountClick();
    void CB_DailydiscClick();

    // Windows of their own.
    void btncalculatorClick();
    void mnuprintClick();
    void PrintPreview1Click();
    void ExportPdf1Click(); // asks for the file, then exportPdf
    void Contents1Click();
    void About1Click();
    void CostBreakdown1Click();

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
    void FormCreate();

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
    bool m_savedflag = false;
    bool m_keepLedgerOnSave = false; // the ledger found at start-up was not loaded completely
    int m_recordTotal = 0;           // to tell a record added or removed from other row changes
    bool m_kwhdiscflag = false;
    bool m_dailydiscflag = false;

    ApplianceTable m_table; // KMT
    ApplianceModel m_model; // ds
    FixedLayout* m_layout = nullptr;
    ApplianceGrid* m_grid = nullptr;
    // The five price and discount fields, in the order of the settings file.
    enum PriceField { sechgphr, sedailycharges, senoofhrsdisc, sekwhdisc, sedcdisc };
    std::array<SpinField*, 5> m_priceFields{};
    CurrencyField* m_CE = nullptr;
    CurrencyField* m_cetpd = nullptr;
    CurrencyField* m_cecostmth = nullptr;
    CurrencyField* m_cecostqtr = nullptr;
    CurrencyField* m_cecostyr = nullptr;
    CurrencyField* m_celeast = nullptr;
    CurrencyField* m_cemost = nullptr;
    QLabel* m_lbllst = nullptr;
    QLabel* m_lblmst = nullptr;
    QLineEdit* m_eb_dailyusage = nullptr;
    Calculator m_calc;                   // keeps its value and memory between openings
    HelpWindow* m_frm_hlpcont = nullptr; // the most recent help window
    // The last recalculation's costs, for a breakdown window opened later.
    std::vector<ApplianceCost> m_applianceCosts;
    double m_dayTotal = 0;
    CostBreakdownWindow* m_costBreakdown = nullptr; // made at its first opening
    QCheckBox* m_CB_Discount = nullptr;
    QCheckBox* m_CB_Dailydisc = nullptr;
    QButtonGroup* m_rgsort = nullptr;
    int m_sortItem = 0; // the "Sort By" choice in force
    QPushButton* m_btnSave = nullptr;
    QPushButton* m_bbtnExit = nullptr;
};

} // namespace pellion
