#include "preview/previewwindow.h"

#include "preview/pdfexport.h"
#include "preview/previewarea.h"
#include "preview/previewdialogs.h"
#include "preview/previewglyphs.h"
#include "preview/previewtarget.h"
#include "report/report.h"
#include "ui/errordisplay.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QScopeGuard>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <exception>

namespace pellion {

namespace {

const QString reportFileExtension = QStringLiteral("PRP");

} // namespace

PreviewWindow::PreviewWindow(PreviewTarget& target)
    : QMainWindow(nullptr), m_target(&target), m_area(new PreviewArea(this)) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(tr("Print Preview"));
    resize(652, 579);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    createToolBar();
    setCentralWidget(m_area);
    createStatusBar();
    connect(m_area, &PreviewArea::pageAvailable, this, &PreviewWindow::showPageCount);
    connect(m_area, &PreviewArea::progressChanged, this, &PreviewWindow::showProgress);
    // The window sees keys before its controls do.
    qApp->installEventFilter(this);

    m_area->attach(target);
    if (!target.title().isEmpty())
        setWindowTitle(target.title());
    button(QStringLiteral("ZoomToWidth"))->setChecked(true);
    if (target.status() == PrintStatus::Finished)
        button(QStringLiteral("Print"))->setEnabled(true);
    updateSaveCommand();
    showMaximized();
    updatePageText();
}

PreviewWindow::~PreviewWindow() {
    qApp->removeEventFilter(this);
}

QMenu* PreviewWindow::createPopupMenu() {
    // No menu to hide the toolbar: nothing could bring it back.
    return nullptr;
}

QToolButton* PreviewWindow::button(const QString& objectName) const {
    return m_toolBar->findChild<QToolButton*>(objectName);
}

void PreviewWindow::addDivider(const QString& name) {
    m_toolBar->addSeparator()->setObjectName(name);
}

QToolButton* PreviewWindow::addButton(const QString& name, const QString& hint,
                                      void (PreviewWindow::*command)(), const QIcon& glyph) {
    auto* button = new QToolButton(m_toolBar);
    button->setObjectName(name);
    // A tooltip only: a status tip would replace the page and progress panels.
    button->setToolTip(hint);
    button->setIcon(glyph);
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, [this, command] { runCommand(command); });
    m_toolBar->addWidget(button);
    return button;
}

void PreviewWindow::createToolBar() {
    m_toolBar = addToolBar(QStringLiteral("ToolBar1"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setContentsMargins(2, 2, 2, 2);

    addDivider(QStringLiteral("ToolButton1"));
    m_zoomButtons = new QButtonGroup(this);
    m_zoomButtons->setExclusive(true);
    const auto zoomButton = [&](const QString& name, const QString& hint,
                                void (PreviewWindow::*command)(), PreviewGlyph glyph) {
        QToolButton* button = addButton(name, hint, command, previewIcon(glyph));
        button->setCheckable(true);
        m_zoomButtons->addButton(button);
    };
    zoomButton(QStringLiteral("ZoomFit"), tr("Zoom to fit"), &PreviewWindow::ZoomToFitClick,
               PreviewGlyph::ZoomToFit);
    zoomButton(QStringLiteral("Zoom100"), tr("100%"), &PreviewWindow::ZoomTo100Click,
               PreviewGlyph::Zoom100);
    zoomButton(QStringLiteral("ZoomToWidth"), tr("Zoom to width"), &PreviewWindow::ZoomToWidthClick,
               PreviewGlyph::ZoomToWidth);
    addDivider(QStringLiteral("Separator1"));
    addButton(QStringLiteral("FirstPage"), tr("First page"), &PreviewWindow::FirstPageClick,
              previewIcon(PreviewGlyph::FirstPage));
    addButton(QStringLiteral("PreviousPage"), tr("Previous page"), &PreviewWindow::PrevPageClick,
              previewIcon(PreviewGlyph::PreviousPage));
    addButton(QStringLiteral("ToolButton2"), tr("Next page"), &PreviewWindow::NextPageClick,
              previewIcon(PreviewGlyph::NextPage));
    addButton(QStringLiteral("LastPage"), tr("Last page"), &PreviewWindow::LastPageClick,
              previewIcon(PreviewGlyph::LastPage));
    addDivider(QStringLiteral("Separator2"));
    addButton(QStringLiteral("PrintSetup"), tr("Printer setup"), &PreviewWindow::PrintSetupClick,
              previewIcon(PreviewGlyph::PrinterSetup))
        ->setEnabled(false);
    addButton(QStringLiteral("Print"), tr("Print"), &PreviewWindow::PrintClick,
              previewIcon(PreviewGlyph::Print))
        ->setEnabled(false);
    addDivider(QStringLiteral("Separator3"));
    addButton(QStringLiteral("SaveReport"), tr("Save Report"), &PreviewWindow::SaveClick,
              previewIcon(PreviewGlyph::SaveReport));
    addButton(QStringLiteral("LoadReport"), tr("Load Report"), &PreviewWindow::LoadClick,
              previewIcon(PreviewGlyph::LoadReport));
    addButton(QStringLiteral("SaveAsPdf"), tr("Save as PDF"), &PreviewWindow::SaveAsPdfClick,
              previewIcon(PreviewGlyph::SaveAsPdf));
    addDivider(QStringLiteral("Separator4"));
    QToolButton* exitButton =
        addButton(QStringLiteral("ExitButton"), QString(), &PreviewWindow::ExitClick);
    exitButton->setText(tr("&Close"));
    exitButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    exitButton->setFixedSize(40, 22);
}

void PreviewWindow::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    m_progressPanel = new QLabel(QStringLiteral("0%"), bar);
    m_progressPanel->setObjectName(QStringLiteral("ProgressPanel"));
    m_progressPanel->setFixedWidth(40);
    m_progressPanel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pagePanel = new QLabel(tr("Page"), bar);
    m_pagePanel->setObjectName(QStringLiteral("PagePanel"));
    bar->addWidget(m_progressPanel);
    bar->addWidget(m_pagePanel, 1);
}

void PreviewWindow::runCommand(void (PreviewWindow::*command)()) {
    try {
        (this->*command)();
    } catch (const std::exception& error) {
        showError(error, this);
    }
}

void PreviewWindow::updatePageText() {
    const int count = m_target ? m_target->pageCount() : 0;
    m_pagePanel->setText(tr("Page") + QLatin1Char(' ') + QString::number(m_area->PageNumber()) +
                         QLatin1Char(' ') + tr("of") + QLatin1Char(' ') + QString::number(count));
}

void PreviewWindow::goToPage(int n) {
    // Also when the page cannot be shown: the text names the page chosen.
    const auto describePage = qScopeGuard([this] { updatePageText(); });
    m_area->setPageNumber(n);
}

void PreviewWindow::ZoomToFitClick() {
    QCoreApplication::processEvents();
    m_area->zoomToFit();
}

void PreviewWindow::ZoomTo100Click() {
    QCoreApplication::processEvents();
    m_area->setZoom(100);
}

void PreviewWindow::ZoomToWidthClick() {
    QCoreApplication::processEvents();
    m_area->zoomToWidth();
}

void PreviewWindow::FirstPageClick() {
    goToPage(1);
}

void PreviewWindow::PrevPageClick() {
    goToPage(m_area->PageNumber() - 1);
}

void PreviewWindow::NextPageClick() {
    goToPage(m_area->PageNumber() + 1);
}

void PreviewWindow::LastPageClick() {
    if (m_target)
        goToPage(m_target->pageCount());
}

void PreviewWindow::PrintSetupClick() {
    if (m_target && m_target->hasPrinterSetup())
        m_target->printerSetup([this](const PrinterSetup& preset, int pageCount) {
            return askPrinterSetup(preset, previewDialogs().installedPrinters(), pageCount, this);
        });
}

void PreviewWindow::PrintClick() {
    if (m_target)
        m_target->print();
}

void PreviewWindow::SaveClick() {
    const QString fileName = previewDialogs().saveFileName(
        tr("Save report"),
        tr("Pellion report file") + QStringLiteral("(*.") + reportFileExtension + ')',
        reportFileExtension);
    if (fileName.isEmpty() || !m_target)
        return;
    m_target->saveToFile(fileName);
}

void PreviewWindow::LoadClick() {
    const QString fileName = previewDialogs().openFileName(
        tr("Load report"),
        tr("Pellion report file") + QStringLiteral(" (*.") + reportFileExtension + ')');
    if (fileName.isEmpty() || !m_target)
        return;
    if (!QFileInfo::exists(fileName)) {
        previewDialogs().message(tr("File does not exist"));
        return;
    }
    // Also when the load fails or page 1 cannot be shown: the text and Save
    // then describe what is there.
    const auto describePages = qScopeGuard([this] {
        updatePageText();
        updateSaveCommand();
    });
    try {
        m_target->loadFromFile(fileName);
    } catch (...) {
        // The previous pages are gone with the failed load.
        m_area->showNoPage();
        throw;
    }
    button(QStringLiteral("PrintSetup"))->setEnabled(false);
    button(QStringLiteral("Print"))->setEnabled(true);
    m_area->showPage(1);
}

void PreviewWindow::SaveAsPdfClick() {
    if (!m_target || m_target->status() != PrintStatus::Finished)
        return;
    const QString fileName = askPdfFileName(tr("Save as PDF"), this);
    if (fileName.isEmpty() || !m_target)
        return;
    savePreviewAsPdf(*m_target, fileName);
}

void PreviewWindow::updateSaveCommand() {
    // Only a finished run or a loaded file is a whole report to save.
    const bool whole = m_target && m_target->status() == PrintStatus::Finished;
    button(QStringLiteral("SaveReport"))->setEnabled(whole);
    button(QStringLiteral("SaveAsPdf"))->setEnabled(whole);
}

void PreviewWindow::ExitClick() {
    close();
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (FormKeyDown(key->key(), key->modifiers()))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool PreviewWindow::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const bool ctrlAlone = (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier;
    void (PreviewWindow::*command)() = nullptr;
    switch (key) {
    case Qt::Key_Escape:
        command = &PreviewWindow::ExitClick;
        break;
    case Qt::Key_PageUp:
        command = ctrlAlone ? &PreviewWindow::FirstPageClick : &PreviewWindow::PrevPageClick;
        break;
    case Qt::Key_PageDown:
        command = ctrlAlone ? &PreviewWindow::LastPageClick : &PreviewWindow::NextPageClick;
        break;
    case Qt::Key_Home:
        command = &PreviewWindow::FirstPageClick;
        break;
    case Qt::Key_End:
        command = &PreviewWindow::LastPageClick;
        break;
    default:
        return false;
    }
    runCommand(command);
    return true;
}

void PreviewWindow::showPageCount(int) {
    updatePageText();
    updateSaveCommand();
    if (m_target && m_target->status() == PrintStatus::Finished) {
        button(QStringLiteral("PrintSetup"))->setEnabled(m_target->hasPrinterSetup());
        button(QStringLiteral("Print"))->setEnabled(true);
    }
}

void PreviewWindow::showProgress(int percent) {
    if (percent >= m_lastProgressShown + 5) {
        m_progressPanel->setText(QString::number(percent) + QLatin1Char('%'));
        m_lastProgressShown = percent;
    }
    if (percent == 0 || percent == 100)
        m_progressPanel->clear();
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    if (m_target) {
        PreviewTarget& target = *m_target;
        // A run still producing pages is cancelled; its preview operation
        // releases the target once the run has stopped.
        if (target.printer().status() == PrintStatus::Producing && target.master() != nullptr)
            target.master()->cancel();
        target.setShowsPreview(false);
    }
    event->accept();
}

} // namespace pellion
