#pragma once

// The grid's view of KMT: one row per view row of the table (the current
// order plus a new record in its place), one column per grid column. It reads
// the table without moving its cursor and turns the table's notifications
// into Qt's. Cells are editable only on the current record while the table is
// editing or inserting, and never on a read-only field.

#include "ledger/appliancetable.h"

#include <QAbstractTableModel>

#include <array>
#include <exception>
#include <functional>

namespace pellion {

class ApplianceModel : public QAbstractTableModel, public TableListener {
    Q_OBJECT

public:
    explicit ApplianceModel(ApplianceTable& table, QObject* parent = nullptr);
    ~ApplianceModel() override;

    ApplianceTable& table() const { return m_table; }

    // Where a failed cell write goes (an invalid number, a read-only field).
    using ErrorSink = std::function<void(const std::exception&)>;
    void setErrorSink(ErrorSink sink) { m_errorSink = std::move(sink); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    int fieldIndexOfColumn(int column) const { return m_fieldIndex[std::size_t(column)]; }
    int currentRow() const;

    void tableChanged(TableChange change) override;

    // While a batch runs (a recalculation over every record) notifications are
    // only collected; the views are refreshed once when the batch ends.
    class Batch {
    public:
        explicit Batch(ApplianceModel& model);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        ApplianceModel& m_model;
    };

signals:
    // Another record became current, or the rows were rebuilt.
    void cursorMoved();

private:
    void resolveColumns();
    void rebuild();
    void refreshAll();
    void applyPending();

    ApplianceTable& m_table;
    std::array<int, 8> m_fieldIndex{};
    int m_rows = 0;
    int m_batchDepth = 0;
    unsigned m_pending = 0;
    ErrorSink m_errorSink;
};

} // namespace pellion
