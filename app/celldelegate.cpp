#include "app/celldelegate.h"

#include "app/appliancemodel.h"
#include "engine/numberformat.h"
#include "ui/fieldkeys.h"
#include "ui/insertedtext.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolTip>

#include <algorithm>

namespace pellion {

namespace {

constexpr const char* originalTextProperty = "originalText";

QString escapedCharacter(char c) {
    return QRegularExpression::escape(QString(QChar::fromLatin1(c)));
}

// The name's limit in characters, never cutting one in two: Qt's own maximum
// length counts halves of surrogate pairs, so it would let 25 emoji in, or cut
// the 50th character in half (stored as '?'). A paste longer than the room
// left is cut to fit, as the maximum length would cut it.
class CharacterLimit : public QValidator {
public:
    CharacterLimit(int limit, QLineEdit* editor) : QValidator(editor), m_limit(limit) {
        connect(editor, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_previousText = text; });
    }

    State validate(QString& text, int& cursor) const override {
        if (characterCount(text) <= m_limit)
            return Acceptable;
        const InsertedRun run = insertedRun(m_previousText, text);
        const QStringView inserted = QStringView(text).mid(run.start, run.length);
        const qsizetype around = characterCount(text) - characterCount(inserted);
        const qsizetype kept =
            lengthOfCharacters(inserted, std::max<qsizetype>(m_limit - around, 0));
        text.remove(run.start + kept, run.length - kept);
        text.truncate(lengthOfCharacters(text, m_limit));
        cursor = int(std::min(run.start + kept, text.size()));
        return Acceptable;
    }

private:
    int m_limit;
    QString m_previousText;
};

// A number cell takes the separator that was in force when its field was
// made, and also the user's own: the typed text is read with the user's, so a
// field made by a ledger load ('.') must not lock out a ',' user's decimals.
QValidator* validatorFor(const FieldDefinition& field, QLineEdit* editor) {
    if (field.type == FieldType::Text)
        return field.size > 0 ? new CharacterLimit(field.size, editor) : nullptr;
    const QString separators = escapedCharacter(field.decimalSeparator) +
                               escapedCharacter(formatSettings().decimalSeparator);
    return new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[-+0-9Ee%1]*").arg(separators)), editor);
}

// Whether the text fits between the cell's text margins.
bool textFits(const QStyleOptionViewItem& option) {
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &option, option.widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    return option.fontMetrics.horizontalAdvance(option.text) <= area.width() - 2 * margin;
}

} // namespace

CellDelegate::CellDelegate(ApplianceModel& model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model) {}

bool CellDelegate::isNumberCell(const QModelIndex& index) const {
    const int fieldIndex = m_model.fieldIndexOfColumn(index.column());
    return fieldIndex >= 0 &&
           m_model.table().field(fieldIndex).definition().type != FieldType::Text;
}

void CellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!isNumberCell(index))
        return;
    option->textElideMode = Qt::ElideNone;
    if (!textFits(*option))
        option->displayAlignment =
            (option->displayAlignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft;
}

bool CellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                             const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem shown = option;
    initStyleOption(&shown, index);
    if (shown.text.isEmpty() || textFits(shown)) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), shown.text, view->viewport(), option.rect);
    return true;
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    const int fieldIndex = m_model.fieldIndexOfColumn(index.column());
    if (fieldIndex >= 0) {
        const FieldDefinition& field = m_model.table().field(fieldIndex).definition();
        editor->setValidator(validatorFor(field, editor));
    }
    m_editor = editor;
    return editor;
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* line = static_cast<QLineEdit*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    line->setProperty(originalTextProperty, text);
    line->setText(text);
}

bool CellDelegate::textChanged(const QLineEdit* editor) {
    return editor->text() != editor->property(originalTextProperty).toString();
}

void CellDelegate::revertText(QLineEdit* editor) {
    editor->setText(editor->property(originalTextProperty).toString());
    editor->selectAll();
}

void CellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
    auto* line = static_cast<QLineEdit*>(editor);
    if (!textChanged(line))
        return;
    if (model->setData(index, line->text(), Qt::EditRole))
        line->setProperty(originalTextProperty, line->text());
}

bool CellDelegate::eventFilter(QObject* object, QEvent* event) {
    if (object != m_editor)
        return QStyledItemDelegate::eventFilter(object, event);
    if (event->type() == QEvent::KeyPress && m_keyHandler &&
        m_keyHandler(static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::FocusOut) {
        // Only the grid taking the focus back (a click beside the cell) ends
        // the edit here. A menu, a dialog, a button or a price field leaves
        // the cell open as it is: the command that follows stores its text,
        // or reports why it cannot and does not go on, whereas ending the edit
        // on the way out would drop text the field refuses and let the
        // command run without it.
        const QWidget* focus = QApplication::focusWidget();
        const QWidget* viewport = static_cast<QWidget*>(object)->parentWidget();
        const QWidget* grid = viewport ? viewport->parentWidget() : nullptr;
        if (!focus || !grid || (focus != grid && !grid->isAncestorOf(focus)))
            return false;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace pellion
