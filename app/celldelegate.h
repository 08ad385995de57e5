#pragma once

// How the grid draws a cell and edits it. A number too wide for its cell is
// never shortened with an ellipsis: it is drawn from its first character
// and cut at the cell's right edge, so the sign, the whole-number digits and
// the decimal point stay in view and only the last decimals are lost; its
// whole text shows in a tooltip, as does any other cell's cut text.
//
// The cell editor is a line edit that takes only the characters its
// field allows (a number field: '+', '-', digits, 'E', 'e' and the decimal
// separator the field was created with; the name: at most 50 characters,
// counted as whole code points).
// It writes back only when the text was changed, so opening and leaving a
// cell does not mark a new record as touched. The grid handles the editor's
// navigation keys itself.

#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>

class QKeyEvent;

namespace pellion {

class ApplianceModel;

class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    CellDelegate(ApplianceModel& model, QObject* parent = nullptr);

    // Offered every key pressed in the editor first; true consumes it.
    using KeyHandler = std::function<bool(QKeyEvent*)>;
    void setKeyHandler(KeyHandler handler) { m_keyHandler = std::move(handler); }

    // The open editor; null once it is closed (or being destroyed).
    QLineEdit* editor() const { return qobject_cast<QLineEdit*>(m_editor.data()); }
    static bool textChanged(const QLineEdit* editor);
    static void revertText(QLineEdit* editor);

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    bool isNumberCell(const QModelIndex& index) const;

    ApplianceModel& m_model;
    KeyHandler m_keyHandler;
    mutable QPointer<QObject> m_editor;
};

} // namespace pellion
