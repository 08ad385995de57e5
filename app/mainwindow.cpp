#include "app/mainwindow.h"

#include "app/appliancegrid.h"
#include "app/command.h"
#include "app/costbreakdownwindow.h"
#include "app/mainlayout.h"
#include "app/pricesettings.h"
#include "app/regionalsettings.h"
#include "app/settingsfile.h"
#include "info/aboutbox.h"
#include "info/helpwindow.h"
#include "ledger/costpass.h"
#include "ledger/ledgerfile.h"
#include "preview/pdfexport.h"
#include "preview/previewcommand.h"
#include "report/printcommand.h"
#include "ui/currencyfield.h"
#include "ui/messagedialog.h"
#include "ui/spinfield.h"
#include "ui/windowplacement.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>

namespace pellion {

namespace {

constexpr const char* completionFailedText =
    "You must enter value for at least 2 of the following \"Voltage\", \"Amperage\", \"Wattage\"";

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

MainWindow::MainWindow(Options options, QWidget* parent)
    : QMainWindow(parent), m_appDir(options.appDir), m_model(m_table) {
    setObjectName(QStringLiteral("frm_Main"));
    setWindowTitle(QStringLiteral("Orvane - Pellion"));
    applyRegionalSettings();
    createControls();
    configureFields();
    createMenu();
    createGrid();
    placeAtDesktopCentre();
    connectCommands();
    m_table.addListener(this);
    start();
}

MainWindow::~MainWindow() {
    m_table.removeListener(this);
    // The grid goes before the model it shows.
    delete m_grid;
}

void MainWindow::createControls() {
    // The layout was designed for a narrow 8-point face; an Arial-metric one
    // fits its fixed sizes far better than the desktop's wider default.
    QFont designFont(QStringLiteral("Arial"), 8);
    designFont.setStyleHint(QFont::SansSerif);
    setFont(designFont);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    m_layout = new FixedLayout(client, mainClientSize, mainControls(), &createMainControl);

    m_totalPerHour = m_layout->control<CurrencyField>("CE");
    m_totalPerDay = m_layout->control<CurrencyField>("cetpd");
    m_totalPerMonth = m_layout->control<CurrencyField>("cecostmth");
    m_totalPerQuarter = m_layout->control<CurrencyField>("cecostqtr");
    m_totalPerYear = m_layout->control<CurrencyField>("cecostyr");
    m_leastPerHour = m_layout->control<CurrencyField>("celeast");
    m_mostPerHour = m_layout->control<CurrencyField>("cemost");
    m_leastName = m_layout->control<QLabel>("lbllst");
    m_mostName = m_layout->control<QLabel>("lblmst");
    m_dailyUsage = m_layout->control<QLineEdit>("eb_dailyusage");
    m_kwhDiscountBox = m_layout->control<QCheckBox>("CB_Discount");
    m_dailyDiscountBox = m_layout->control<QCheckBox>("CB_Dailydisc");
    m_saveButton = m_layout->control<QPushButton>("btnSave");
    m_exitButton = m_layout->control<QPushButton>("bbtnExit");
    m_grid = m_layout->control<ApplianceGrid>("dbg");

    m_sortChoice = new QButtonGroup(this);
    const auto radios = m_layout->control("rgsort")->findChildren<QRadioButton*>();
    for (int item = 0; item < int(radios.size()); ++item)
        m_sortChoice->addButton(radios[item], item);
    radios.front()->setChecked(true);
}

// Before the change handlers are connected, so building raises no change.
void MainWindow::configureFields() {
    const auto spinSetups = mainSpinFields();
    for (std::size_t i = 0; i < spinSetups.size(); ++i) {
        const SpinFieldSetup& place = spinSetups[i];
        auto* field = m_layout->control<SpinField>(place.name);
        field->setValueType(place.wholeNumber ? SpinField::ValueType::Integer
                                              : SpinField::ValueType::Float);
        field->setDecimal(place.decimals);
        field->setIncrement(place.increment);
        field->setMinValue(place.minValue);
        field->setMaxValue(place.maxValue);
        field->setValue(place.initialValue);
        m_priceFields[i] = field;
    }
    for (const CurrencyFieldSetup& place : mainCurrencyFields()) {
        auto* field = m_layout->control<CurrencyField>(place.name);
        field->setDecimalPlaces(currencyDecimals);
        field->setDisplayFormat(QString::fromLatin1(currencyDisplayFormat));
        field->setReadOnly(place.readOnly);
        field->setZeroEmpty(place.zeroEmpty);
        field->setValue(0);
    }
}

void MainWindow::createMenu() {
    QMenu* menu = nullptr;
    for (const MenuItemEntry& place : mainMenu()) {
        const QString title = QString::fromLatin1(place.menu);
        if (!menu || menu->title() != title) {
            menu = menuBar()->addMenu(title);
            menu->setObjectName(title);
        }
        QAction* action =
            place.text ? menu->addAction(QString::fromUtf8(place.text)) : menu->addSeparator();
        action->setObjectName(QString::fromLatin1(place.name));
    }
}

void MainWindow::createGrid() {
    m_model.setObjectName(QStringLiteral("ds"));
    m_model.setErrorSink([this](const std::exception& error) { showError(error, this); });
    m_grid->setApplianceModel(&m_model);
    m_table.setTextComparison(regionalTextComparison(QLocale::system()));
}

void MainWindow::placeAtDesktopCentre() {
    resize(mainClientSize.width(), mainClientSize.height() + menuBar()->sizeHint().height());
    moveToCentreOf(*this, screen());
}

void MainWindow::connectCommands() {
    const auto button = [this](const char* name) { return m_layout->control<QPushButton>(name); };
    const auto action = [this](const char* name) {
        return findChild<QAction*>(QString::fromLatin1(name));
    };
    connect(button("btnupdate"), &QPushButton::clicked, this, &MainWindow::recalculate);
    connect(m_saveButton, &QPushButton::clicked, this, &MainWindow::save);
    connect(m_exitButton, &QPushButton::clicked, this, &MainWindow::exit);
    connect(button("btncalculator"), &QPushButton::clicked, this, &MainWindow::openCalculator);
    connect(button("btn_first"), &QPushButton::clicked, this, &MainWindow::goFirst);
    connect(button("btn_prev"), &QPushButton::clicked, this, &MainWindow::goPrevious);
    connect(button("btn_next"), &QPushButton::clicked, this, &MainWindow::goNext);
    connect(button("btn_last"), &QPushButton::clicked, this, &MainWindow::goLast);
    connect(button("btn_ins"), &QPushButton::clicked, this, &MainWindow::insertItem);
    connect(button("btn_del"), &QPushButton::clicked, this, &MainWindow::deleteItem);
    connect(button("btn_edit"), &QPushButton::clicked, this, &MainWindow::editItem);
    connect(button("btn_save"), &QPushButton::clicked, m_saveButton, &QPushButton::click);
    connect(button("btn_cancel"), &QPushButton::clicked, this, &MainWindow::cancelItem);
    connect(m_sortChoice, &QButtonGroup::idToggled, this, [this](int item, bool checked) {
        if (checked)
            sortBy(item);
    });
    connect(m_grid, &ApplianceGrid::columnExited, this, &MainWindow::gridColumnLeft);
    for (SpinField* field : m_priceFields)
        connect(field, &SpinField::changed, this, &MainWindow::recalculate);
    connect(m_kwhDiscountBox, &QCheckBox::clicked, this, &MainWindow::switchKwhDiscount);
    connect(m_dailyDiscountBox, &QCheckBox::clicked, this, &MainWindow::switchDailyDiscount);

    connect(action("Save1"), &QAction::triggered, m_saveButton, &QPushButton::click);
    connect(action("mnuprint"), &QAction::triggered, this, &MainWindow::print);
    connect(action("PrintPreview1"), &QAction::triggered, this, &MainWindow::printPreview);
    connect(action("ExportPdf1"), &QAction::triggered, this, &MainWindow::askAndExportPdf);
    connect(action("Exit1"), &QAction::triggered, m_exitButton, &QPushButton::click);
    connect(action("Contents1"), &QAction::triggered, this, &MainWindow::showHelp);
    connect(action("About1"), &QAction::triggered, this, &MainWindow::showAbout);
    connect(action("CostBreakdown1"), &QAction::triggered, this, &MainWindow::showCostBreakdown);
}

void MainWindow::applyRegionalSettings() {
    formatSettings() = regionalFormatSettings(QLocale::system());
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::LocaleChange)
        return;
    applyRegionalSettings();
    m_table.setTextComparison(regionalTextComparison(QLocale::system()));
    m_grid->viewport()->update();
}

QString MainWindow::settingsPath() const {
    return m_settingsLocation.filePath();
}

// Settings, ledger, first recalculation. A setting that does not parse ends
// the sequence: the later settings stay unread and the list stays empty.
void MainWindow::start() {
    if (m_appDir.isEmpty())
        m_appDir = QCoreApplication::applicationDirPath();
    m_settingsLocation = settingsLocation(m_appDir);
    // Until the ledger has loaded completely the file holds more than the
    // list shows, so the first Save keeps it as a backup before replacing it.
    std::error_code noLedger;
    m_keepLedgerOnSave =
        std::filesystem::exists(std::filesystem::symlink_status(ledgerFileName, noLedger));
    runCommand(this, [this] {
        readSettings();
        try {
            ApplianceModel::Batch batch(m_model);
            LoadLedger(m_table, ledgerFileName);
            m_keepLedgerOnSave = false;
        } catch (const std::exception&) {
            // A missing or unreadable list starts the program with what was read.
        }
        recalculate();
    });
}

void MainWindow::readSettings() {
    const SettingsFile settings(settingsPath().toStdString());
    for (std::size_t i = 0; i < priceSettings.size(); ++i) {
        const std::string text =
            settings.read(priceSettings[i].section, priceSettingKey, missingSetting);
        if (const auto value = parsePriceSetting(priceSettings[i], text))
            m_priceFields[i]->setValue(*value);
    }
}

void MainWindow::writeSettings() {
    m_settingsLocation.prepareForSaving();
    SettingsFile settings(settingsPath().toStdString());
    for (std::size_t i = 0; i < priceSettings.size(); ++i)
        settings.write(priceSettings[i].section, priceSettingKey,
                       formatPriceSetting(priceSettings[i], m_priceFields[i]->value()));
    settings.save();
}

void MainWindow::recalculate() {
    runCommand(this, [this] {
        if (!settleCellEditor())
            return;
        RecalcResult result;
        {
            ApplianceModel::Batch batch(m_model);
            result = Recalculate(m_table, recalcInputs());
        }
        // The grid already shows the failing record current; the totals
        // follow once the box is closed.
        if (result.failingRecord)
            showCompletionFailed();
        showRecalcResult(result);
        followCostBreakdown(result);
        m_kwhDiscountOn = m_kwhDiscountBox->isChecked();
        m_dailyDiscountOn = m_dailyDiscountBox->isChecked();
        m_saved = false;
    });
}

RecalcInputs MainWindow::recalcInputs() const {
    RecalcInputs inputs;
    inputs.pricePerKwh = m_priceFields[pricePerKwh]->value();
    inputs.dailyCharges = m_priceFields[dailyCharges]->value();
    inputs.discountKwh = int(m_priceFields[discountKwh]->value()); // a whole number by its type
    inputs.discountPrice = m_priceFields[discountPrice]->value();
    inputs.dailyDiscount = m_priceFields[dailyDiscount]->value();
    inputs.kwhDiscountOn = m_kwhDiscountOn;
    inputs.dailyDiscountOn = m_dailyDiscountOn;
    return inputs;
}

void MainWindow::showCompletionFailed() {
    messageDialog(this, DialogKind::Error, QString::fromLatin1(completionFailedText), DialogOk);
}

void MainWindow::showRecalcResult(const RecalcResult& result) {
    m_totalPerDay->setValue(result.dayTotal);
    m_totalPerHour->setValue(result.hourTotal);
    m_totalPerMonth->setValue(result.monthTotal);
    m_totalPerQuarter->setValue(result.quarterTotal);
    m_totalPerYear->setValue(result.yearTotal);
    m_mostPerHour->setValue(result.most);
    // Not the pass's starting value: that is no appliance's cost.
    if (result.leastName)
        m_leastPerHour->setValue(result.least);
    else
        m_leastPerHour->clearValue();
    m_dailyUsage->setText(fromStd(result.dailyEnergyText));
    if (result.mostName)
        m_mostName->setText(fromStd(*result.mostName));
    if (result.leastName)
        m_leastName->setText(fromStd(*result.leastName));
}

void MainWindow::followCostBreakdown(RecalcResult& result) {
    m_applianceCosts = std::move(result.applianceCosts);
    m_dayTotal = result.dayTotal;
    if (m_costBreakdown && m_costBreakdown->isVisible())
        m_costBreakdown->showCosts(m_applianceCosts, m_dayTotal);
}

void MainWindow::save() {
    runCommand(this, [this] {
        if (!settleCellEditor())
            return;
        writeSettings();
        m_table.StartEdit();
        m_table.PostRecord();
        SaveLedger(m_table, ledgerFileName,
                   m_keepLedgerOnSave ? ReplacingFile::OldFile::KeepAsBackup
                                      : ReplacingFile::OldFile::Replace);
        m_keepLedgerOnSave = false;
        m_saved = true;
    });
}

void MainWindow::exit() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!settleCellEditor()) {
        event->ignore();
        return;
    }
    if (!hasUnsavedWork() || messageDialog(this, DialogKind::Warning,
                                           QStringLiteral("Do you wish to exit without saving"),
                                           DialogYes | DialogNo) == DialogYes) {
        event->accept();
        emit closed();
    } else {
        event->ignore();
    }
}

// Besides an unsaved list, text typed into a cell and not yet stored is work the
// user would lose.
bool MainWindow::hasUnsavedWork() const {
    return !m_saved || m_grid->editorHasChanges();
}

// Changed values and added or removed records are unsaved work, whichever
// way they came about (a cell typed into, the grid's own delete key).
void MainWindow::tableChanged(TableChange change) {
    const TableState state = m_table.state();
    if (change == TableChange::CurrentValues &&
        (state == TableState::Editing || state == TableState::Inserting) && m_table.modified())
        m_saved = false;
    if (change != TableChange::Rows && change != TableChange::Fields)
        return;
    const int total = m_table.isOpen() ? m_table.RecordTotal() : 0;
    if (total != m_recordTotal)
        m_saved = false;
    m_recordTotal = total;
}

void MainWindow::sortBy(int item) {
    if (!settleCellEditor()) {
        // The list was not sorted, so the choice shown goes back to the one in force.
        const QSignalBlocker blocker(m_sortChoice);
        m_sortChoice->button(m_sortItem)->setChecked(true);
        return;
    }
    m_sortItem = item;
    runCommand(this, [&] { m_table.SortByFields(sortChoices.at(std::size_t(item))); });
}

// Text typed into a cell is stored as Enter would store it before a command
// acts on the list or the files, whichever way the command was reached: the
// cell stays open while the focus is on a menu, a button or a price field.
bool MainWindow::settleCellEditor() {
    return m_grid->commitEditor();
}

void MainWindow::tableCommand(void (ApplianceTable::*operation)()) {
    if (!settleCellEditor())
        return;
    runCommand(this, [&] { (m_table.*operation)(); });
}

void MainWindow::goFirst() {
    tableCommand(&ApplianceTable::GoFirst);
}

void MainWindow::goPrevious() {
    tableCommand(&ApplianceTable::GoPrior);
}

void MainWindow::goNext() {
    tableCommand(&ApplianceTable::GoNext);
}

void MainWindow::goLast() {
    tableCommand(&ApplianceTable::GoLast);
}

void MainWindow::insertItem() {
    tableCommand(&ApplianceTable::StartInsert);
}

void MainWindow::editItem() {
    tableCommand(&ApplianceTable::StartEdit);
}

void MainWindow::cancelItem() {
    tableCommand(&ApplianceTable::CancelRecord);
}

void MainWindow::deleteItem() {
    runCommand(this, [this] {
        if (!settleCellEditor())
            return;
        const std::string name = m_table.currentViewRow() < 0
                                     ? std::string()
                                     : m_table.FieldNamed("appliance").TextValue();
        if (messageDialog(this, DialogKind::Confirmation,
                          QStringLiteral("Do you wish to delete : ") + fromStd(name),
                          DialogYes | DialogNo) != DialogYes)
            return;
        m_table.RemoveRecord();
        recalculate();
    });
}

void MainWindow::gridColumnLeft() {
    m_saved = false;
}

void MainWindow::switchKwhDiscount() {
    m_kwhDiscountOn = m_kwhDiscountBox->isChecked();
    recalculate();
}

void MainWindow::switchDailyDiscount() {
    m_dailyDiscountOn = m_dailyDiscountBox->isChecked();
    recalculate();
}

void MainWindow::openCalculator() {
    if (settleCellEditor())
        runCommand(this, [this] { m_calc.ShowCalculator(this); });
}

ReportTexts MainWindow::reportTexts() const {
    return {m_priceFields[pricePerKwh]->text(), m_totalPerHour->text(), m_totalPerDay->text(),
            m_dailyUsage->text()};
}

void MainWindow::print() {
    if (settleCellEditor())
        runCommand(this, [this] { printUsageReport(m_table, reportTexts(), this); });
}

void MainWindow::printPreview() {
    if (settleCellEditor())
        runCommand(this, [this] { previewUsageReport(m_table, reportTexts(), this); });
}

void MainWindow::askAndExportPdf() {
    if (!settleCellEditor())
        return;
    runCommand(this, [this] {
        const QString fileName = askPdfFileName(tr("Export PDF"), this);
        if (!fileName.isEmpty())
            exportPdf(fileName);
    });
}

void MainWindow::exportPdf(const QString& fileName) {
    exportUsageReportPdf(m_table, reportTexts(), fileName, this);
}

void MainWindow::showHelp() {
    runCommand(this, [this] { m_helpWindow = openHelpWindow(this, dataFolder(m_appDir)); });
}

void MainWindow::showAbout() {
    runCommand(this, [this] { showAboutBox(this); });
}

void MainWindow::showCostBreakdown() {
    runCommand(this, [this] {
        if (!m_costBreakdown)
            m_costBreakdown = new CostBreakdownWindow(this);
        m_costBreakdown->showCosts(m_applianceCosts, m_dayTotal);
        m_costBreakdown->show();
        m_costBreakdown->raise();
        m_costBreakdown->activateWindow();
    });
}

} // namespace pellion
