#include "app/appliancegrid.h"

#include "app/appliancemodel.h"
#include "app/celldelegate.h"
#include "app/command.h"
#include "app/gridheader.h"
#include "app/mainlayout.h"
#include "ui/messagedialog.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

namespace pellion {

namespace {

bool untouchedNewRecord(const ApplianceTable& table) {
    return table.state() == TableState::Inserting && !table.modified();
}

bool atLastViewRow(const ApplianceTable& table) {
    return table.currentViewRow() == table.viewRowCount() - 1;
}

} // namespace

ApplianceGrid::ApplianceGrid(QWidget* parent) : QTableView(parent) {
    setHorizontalHeader(new GridHeader(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(12);
    verticalHeader()->setHighlightSections(false);
    QFont cells = font();
    cells.setPointSize(10);
    setFont(cells);
    QFont titles = font();
    titles.setPointSize(8);
    horizontalHeader()->setFont(titles);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(cells).height() + 4);
}

void ApplianceGrid::setApplianceModel(ApplianceModel* model) {
    m_model = model;
    setModel(model);
    m_delegate = new CellDelegate(*model, this);
    m_delegate->setKeyHandler([this](QKeyEvent* event) { return handleEditorKey(event); });
    setItemDelegate(m_delegate);
    connect(model, &ApplianceModel::cursorMoved, this, &ApplianceGrid::followTable);
    horizontalHeader()->resizeSection(0, gridFirstColumnDesignWidth);
    applyColumnWidths();
    followTable();
}

ApplianceTable& ApplianceGrid::table() const {
    return m_model->table();
}

void ApplianceGrid::applyColumnWidths() {
    if (!m_model)
        return;
    const auto widths = gridColumnWidths(width());
    for (int column = 0; column < int(widths.size()); ++column)
        horizontalHeader()->resizeSection(column, widths[std::size_t(column)]);
}

void ApplianceGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    applyColumnWidths();
}

// The table moved: show its current record, keeping the grid's column. The
// index set here names the table's current record, so currentChanged finds
// nothing to move and the grid does not echo the move back.
void ApplianceGrid::followTable() {
    if (!m_model)
        return;
    const int row = m_model->currentRow();
    if (row < 0 || row >= m_model->rowCount())
        selectionModel()->clearCurrentIndex();
    else if (currentIndex().row() != row || currentIndex().column() != m_column)
        setCurrentIndex(m_model->index(row, m_column));
}

void ApplianceGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    const int oldColumn = m_column;
    m_column = current.column();
    if (current.row() != m_model->currentRow())
        moveTableToRow(current.row());
    if (previous.isValid() && m_column != oldColumn)
        emit columnExited();
}

// Moves the table to the record drawn at the row. The record is named before
// the move settles the pending change, which may drop a new record or move
// the edited one and so change which record a row number means.
void ApplianceGrid::moveTableToRow(int row) {
    runCommand(this, [&] {
        ApplianceModel::Batch batch(*m_model);
        if (const Bookmark record = table().bookmarkAtViewRow(row))
            table().GoToBookmark(record);
    });
    followTable();
}

QMouseEvent ApplianceGrid::followingTheRecord(const QMouseEvent* event) const {
    return QMouseEvent(event->type(), event->position() + m_pressShift, event->scenePosition(),
                       event->globalPosition(), event->button(), event->buttons(),
                       event->modifiers(), event->pointingDevice());
}

void ApplianceGrid::mousePressEvent(QMouseEvent* event) {
    m_pressShift = {};
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (m_model && pressed.isValid() && pressed.row() != m_model->currentRow()) {
        const QRect drawn = visualRect(pressed);
        moveTableToRow(pressed.row());
        const QModelIndex now = m_model->index(m_model->currentRow(), pressed.column());
        if (now.isValid())
            m_pressShift = QPointF(visualRect(now).center() - drawn.center());
    }
    QMouseEvent press = followingTheRecord(event);
    QTableView::mousePressEvent(&press);
}

void ApplianceGrid::mouseMoveEvent(QMouseEvent* event) {
    QMouseEvent move = followingTheRecord(event);
    QTableView::mouseMoveEvent(&move);
}

void ApplianceGrid::mouseReleaseEvent(QMouseEvent* event) {
    QMouseEvent release = followingTheRecord(event);
    QTableView::mouseReleaseEvent(&release);
}

// Typing where no cell editor opens changes nothing; the view would otherwise
// jump to a record whose name starts with the letter typed.
void ApplianceGrid::keyboardSearch(const QString&) {}

void ApplianceGrid::abandonEditor() {
    // A closed editor lingers until it is deleted later; closing it twice
    // would only make the view complain.
    QLineEdit* editor = m_delegate ? m_delegate->editor() : nullptr;
    if (editor && state() == QAbstractItemView::EditingState)
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool ApplianceGrid::editorHasChanges() const {
    const QLineEdit* editor = m_delegate ? m_delegate->editor() : nullptr;
    return editor && CellDelegate::textChanged(editor);
}

bool ApplianceGrid::commitEditor() {
    QLineEdit* editor = m_delegate ? m_delegate->editor() : nullptr;
    if (!editor || state() != QAbstractItemView::EditingState)
        return true;
    if (CellDelegate::textChanged(editor) &&
        !m_model->setData(currentIndex(), editor->text(), Qt::EditRole)) {
        editor->setFocus(); // to be corrected where it was typed
        return false;
    }
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void ApplianceGrid::openEditor() {
    if (currentIndex().isValid())
        edit(currentIndex());
}

bool ApplianceGrid::handleEditorKey(QKeyEvent* event) {
    QLineEdit* editor = m_delegate->editor();
    switch (event->key()) {
    case Qt::Key_Escape:
        if (editor && CellDelegate::textChanged(editor)) {
            CellDelegate::revertText(editor);
            return true;
        }
        abandonEditor();
        runCommand(this, [&] { table().CancelRecord(); });
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commitEditor();
        return true;
    case Qt::Key_Insert:
        // The typed text is stored first; the new record's name is then the
        // cell to type into, and the keys stay with the grid.
        if (commitEditor()) {
            handleKey(event);
            setCurrentColumn(0);
            setFocus();
        }
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (commitEditor())
            handleKey(event);
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Delete: // without Ctrl these stay with the editor's text
        if (!(event->modifiers() & Qt::ControlModifier))
            return false;
        if (commitEditor())
            handleKey(event);
        return true;
    default:
        break;
    }
    return false;
}

void ApplianceGrid::keyPressEvent(QKeyEvent* event) {
    if (!m_model || !handleKey(event))
        QTableView::keyPressEvent(event);
}

bool ApplianceGrid::handleKey(QKeyEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Insert:
        runCommand(this, [&] { table().StartInsert(); });
        return true;
    case Qt::Key_Delete:
        if (!control)
            return false;
        deleteRecord();
        return true;
    case Qt::Key_Down:
        runCommand(this, [&] { goDown(); });
        return true;
    case Qt::Key_Up:
        runCommand(this, [&] { goUp(); });
        return true;
    case Qt::Key_Tab:
        runCommand(this, [&] { tabForward(); });
        return true;
    case Qt::Key_Backtab:
        runCommand(this, [&] { tabBackward(); });
        return true;
    case Qt::Key_Escape:
        runCommand(this, [&] { table().CancelRecord(); });
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openEditor();
        return true;
    case Qt::Key_Home:
        if (!control)
            return false;
        runCommand(this, [&] { table().GoFirst(); });
        return true;
    case Qt::Key_End:
        if (!control)
            return false;
        runCommand(this, [&] { table().GoLast(); });
        return true;
    default:
        break;
    }
    return false;
}

void ApplianceGrid::goDown() {
    if (untouchedNewRecord(table())) {
        if (!atLastViewRow(table()))
            table().CancelRecord();
        return;
    }
    table().GoNext();
    if (table().AtEnd())
        table().StartAppend();
}

void ApplianceGrid::goUp() {
    if (untouchedNewRecord(table()) && atLastViewRow(table())) {
        table().CancelRecord();
        return;
    }
    table().GoPrior();
}

void ApplianceGrid::tabForward() {
    const bool wasEditing = table().state() != TableState::Browsing;
    if (m_column + 1 < m_model->columnCount()) {
        setCurrentColumn(m_column + 1);
    } else {
        const int row = m_model->currentRow();
        goDown();
        if (m_model->currentRow() != row || untouchedNewRecord(table()))
            setCurrentColumn(0);
    }
    if (wasEditing)
        openEditor();
}

void ApplianceGrid::tabBackward() {
    const bool wasEditing = table().state() != TableState::Browsing;
    if (m_column > 0) {
        setCurrentColumn(m_column - 1);
    } else {
        const int row = m_model->currentRow();
        goUp();
        if (m_model->currentRow() != row)
            setCurrentColumn(m_model->columnCount() - 1);
    }
    if (wasEditing)
        openEditor();
}

void ApplianceGrid::setCurrentColumn(int column) {
    const int row = m_model->currentRow();
    if (row < 0)
        return;
    setCurrentIndex(m_model->index(row, column));
}

void ApplianceGrid::deleteRecord() {
    if (messageDialog(this, DialogKind::Confirmation, QStringLiteral("Delete record?"),
                      DialogOk | DialogCancel) != DialogOk)
        return;
    runCommand(this, [&] { table().RemoveRecord(); });
}

// The double click's first press has already made its record current.
void ApplianceGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QMouseEvent doubleClick = followingTheRecord(event);
    QTableView::mouseDoubleClickEvent(&doubleClick);
    if (!m_model)
        return;
    runCommand(this, [&] { table().StartEdit(); });
    openEditor();
}

} // namespace pellion
