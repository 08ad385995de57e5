#pragma once

// dbg, the appliance list. The grid and the table's cursor follow each other:
// moving in the grid moves the table's current record, and a move of the
// table (a recalculation, the navigation buttons) moves the grid. The grid's
// own keys drive the table directly: Insert, Ctrl+Delete, Up and Down (which
// append at the end and drop an untouched new record), Tab across records,
// Escape, F2, Enter, Ctrl+Home and Ctrl+End. Other typing opens a cell
// editor where the table allows one and otherwise changes nothing.
//
// A click acts on the record drawn under the pointer. Reaching it settles the
// pending change first, which may drop a new record or move the edited one
// and so shift the rows under the pointer; the rest of that click (the
// release, the double click) is then taken where the record is drawn now.

#include <QMouseEvent>
#include <QTableView>

namespace pellion {

class ApplianceModel;
class ApplianceTable;
class CellDelegate;

class ApplianceGrid : public QTableView {
    Q_OBJECT

public:
    explicit ApplianceGrid(QWidget* parent = nullptr);

    void setApplianceModel(ApplianceModel* model);

    // Closes an open cell editor without writing its text.
    void abandonEditor();
    // Stores an open cell editor's text into its field and closes the editor,
    // as Enter does; false, with the editor left open, when the field refused
    // the text (the error display has shown why).
    bool commitEditor();
    // A cell editor is open with text that differs from the field's.
    bool editorHasChanges() const;

signals:
    // The current column changed: leaving a column marks the list unsaved.
    void columnExited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    bool handleEditorKey(QKeyEvent* event);
    bool handleKey(QKeyEvent* event);
    void followTable();
    void moveTableToRow(int row);
    QMouseEvent followingTheRecord(const QMouseEvent* event) const;
    void goDown();
    void goUp();
    void tabForward();
    void tabBackward();
    void deleteRecord();
    void setCurrentColumn(int column);
    void openEditor();
    void applyColumnWidths();
    ApplianceTable& table() const;

    ApplianceModel* m_model = nullptr;
    CellDelegate* m_delegate = nullptr;
    int m_column = 0;
    // From where the last press was made to where its record is drawn now.
    QPointF m_pressShift;
};

} // namespace pellion
