#include "app/appliancemodel.h"

#include "app/mainlayout.h"

#include <utility>

namespace pellion {

namespace {

unsigned bit(TableChange change) {
    return 1u << unsigned(change);
}

// The row indicator: an arrow on the current record, an I-beam while it is
// edited, an asterisk on a new record.
QString indicator(TableState state) {
    switch (state) {
    case TableState::Editing:
        return QStringLiteral("I");
    case TableState::Inserting:
        return QStringLiteral("*");
    default:
        break;
    }
    return QStringLiteral("\u25B6");
}

// Half of a surrogate pair alone has no UTF-8 form: Qt would store a '?'.
std::string withoutLoneSurrogates(const QString& text) {
    QString whole;
    whole.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            whole += c;
            whole += text[++i];
        } else if (!c.isSurrogate()) {
            whole += c;
        }
    }
    return whole.toStdString();
}

} // namespace

ApplianceModel::ApplianceModel(ApplianceTable& table, QObject* parent)
    : QAbstractTableModel(parent), m_table(table) {
    resolveColumns();
    m_rows = m_table.isOpen() ? m_table.viewRowCount() : 0;
    m_table.addListener(this);
}

ApplianceModel::~ApplianceModel() {
    m_table.removeListener(this);
}

void ApplianceModel::resolveColumns() {
    for (std::size_t column = 0; column < gridColumns.size(); ++column) {
        const Field* field = m_table.findField(gridColumns[column]);
        m_fieldIndex[column] = field ? field->index() : -1;
    }
}

int ApplianceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int ApplianceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(gridColumns.size());
}

int ApplianceModel::currentRow() const {
    return m_table.isOpen() ? m_table.currentViewRow() : -1;
}

QVariant ApplianceModel::data(const QModelIndex& index, int role) const {
    const int field = index.isValid() ? fieldIndexOfColumn(index.column()) : -1;
    if (field < 0 || !m_table.isOpen() || index.row() >= m_table.viewRowCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(m_table.shownTextAt(index.row(), field));
    if (role == Qt::TextAlignmentRole) {
        const bool right = m_table.field(field).alignment() == Alignment::Right;
        return QVariant::fromValue(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

QVariant ApplianceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section == currentRow() ? indicator(m_table.state()) : QString();
    const int field = section < columnCount() ? fieldIndexOfColumn(section) : -1;
    if (field < 0)
        return {};
    return QString::fromStdString(m_table.field(field).displayName());
}

Qt::ItemFlags ApplianceModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const int field = index.isValid() ? fieldIndexOfColumn(index.column()) : -1;
    const TableState state = m_table.state();
    const bool changing = state == TableState::Editing || state == TableState::Inserting;
    if (changing && field >= 0 && index.row() == currentRow() && !m_table.field(field).readOnly())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ApplianceModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    try {
        m_table.field(fieldIndexOfColumn(index.column()))
            .AssignText(withoutLoneSurrogates(value.toString()));
        return true;
    } catch (const std::exception& error) {
        if (m_errorSink)
            m_errorSink(error);
    }
    return false;
}

void ApplianceModel::tableChanged(TableChange change) {
    if (m_batchDepth > 0) {
        m_pending |= bit(change);
        return;
    }
    switch (change) {
    case TableChange::CurrentValues: {
        const int row = currentRow();
        if (row >= 0 && row < m_rows) {
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
            emit headerDataChanged(Qt::Vertical, row, row);
        }
        break;
    }
    case TableChange::Cursor:
        if (m_rows > 0)
            emit headerDataChanged(Qt::Vertical, 0, m_rows - 1);
        emit cursorMoved();
        break;
    case TableChange::Rows:
        rebuild();
        break;
    case TableChange::Fields:
        resolveColumns();
        rebuild();
        break;
    }
}

void ApplianceModel::rebuild() {
    beginResetModel();
    m_rows = m_table.isOpen() ? m_table.viewRowCount() : 0;
    endResetModel();
    emit cursorMoved();
}

void ApplianceModel::refreshAll() {
    if (m_rows > 0) {
        emit dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, 0, m_rows - 1);
    }
    emit cursorMoved();
}

ApplianceModel::Batch::Batch(ApplianceModel& model) : m_model(model) {
    ++m_model.m_batchDepth;
}

ApplianceModel::Batch::~Batch() {
    if (--m_model.m_batchDepth == 0)
        m_model.applyPending();
}

void ApplianceModel::applyPending() {
    const unsigned pending = std::exchange(m_pending, 0u);
    if (pending & bit(TableChange::Fields))
        resolveColumns();
    if (pending & (bit(TableChange::Fields) | bit(TableChange::Rows)))
        rebuild();
    else if (pending)
        refreshAll();
}

} // namespace pellion
