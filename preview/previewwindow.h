#pragma once

// The preview window: toolbar, page area, status bar. It
// opens on a print target before the first page exists and fills as the run
// completes pages; the page area forwards the target's notifications here,
// where the page text, the progress panel and the Print buttons follow them.
// Closing cancels a run still producing pages; the preview operation waiting
// for the window then returns.

#include <QMainWindow>
#include <QPointer>

class QButtonGroup;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;

namespace pellion {

class PreviewArea;
class PreviewTarget;

class PreviewWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit PreviewWindow(PreviewTarget& target);
    ~PreviewWindow() override;

    PreviewArea* previewArea() const { return m_area; }
    QToolButton* button(const QString& objectName) const;
    QLabel* progressPanel() const { return m_progressPanel; }
    QLabel* pagePanel() const { return m_pagePanel; }

    // Window commands
    void ZoomToFitClick();
    void ZoomTo100Click();
    void ZoomToWidthClick();
    void FirstPageClick();
    void PrevPageClick();
    void NextPageClick();
    void LastPageClick();
    void PrintSetupClick();
    void PrintClick();
    void SaveClick();
    void LoadClick();
    void SaveAsPdfClick();
    void ExitClick();

    QMenu* createPopupMenu() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createToolBar();
    void createStatusBar();
    QToolButton* addButton(const QString& name, const QString& hint,
                           void (PreviewWindow::*command)(), const QIcon& glyph = QIcon());
    void addDivider(const QString& name);
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void showPageCount(int pagesCompleted);
    void showProgress(int percent);
    void updatePageText();
    void updateSaveCommand();
    void goToPage(int n);
    void runCommand(void (PreviewWindow::*command)());

    QPointer<PreviewTarget> m_target;
    PreviewArea* m_area;
    QToolBar* m_toolBar = nullptr;
    QButtonGroup* m_zoomButtons = nullptr;
    QLabel* m_progressPanel = nullptr;
    QLabel* m_pagePanel = nullptr;
    int m_lastProgressShown = 0;
    bool m_closing = false;
};

} // namespace pellion
