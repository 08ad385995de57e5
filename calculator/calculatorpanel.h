#pragma once

#include "calculator/calcbutton.h"

#include <QFrame>

#include <vector>

class QAction;
class QLabel;
class QMenu;

namespace pellion {

// The calculator's button panel: the buttons at their
// fixed places, the memory indicator and the Copy/Paste context menu. It
// holds no arithmetic; it reports which button was clicked.
class CalculatorPanel : public QFrame {
    Q_OBJECT
public:
    // scale: the screen's density over 96 dpi; every place and size is scaled by it.
    explicit CalculatorPanel(double scale, QWidget* parent = nullptr);

    CalcButton* buttonForKey(char key) const;
    CalcButton* buttonFor(CalcButtonAction action) const;
    const std::vector<CalcButton*>& buttons() const { return m_buttons; }

    void setMemoryShown(bool shown);
    QMenu* popupMenu() const { return m_popupMenu; }
    QAction* copyAction() const { return m_copyAction; }
    QAction* pasteAction() const { return m_pasteAction; }

signals:
    void buttonClicked(pellion::CalcButton* button);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void createButtons(double scale);
    void createMemoryIndicator(double scale);
    void createPopupMenu();
    void updatePasteEnabled();

    std::vector<CalcButton*> m_buttons;
    QLabel* m_memoryIndicator = nullptr;
    QMenu* m_popupMenu = nullptr;
    QAction* m_copyAction = nullptr;
    QAction* m_pasteAction = nullptr;
};

} // namespace pellion
