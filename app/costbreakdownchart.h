#pragma once

// A horizontal bar chart of the cost breakdown: one row per appliance (and
// "Other"), the name at the left, the bar, then the cost per day and the share
// at the right. The rows arrive formatted; the chart only lays them out.
//
// Drawn with QPainter in a widget of our own because Qt Charts is licensed
// under the GPL 3 only (or commercially): Pellion is distributed under the MIT
// terms and must not depend on it.
//
// Keyboard: the chart takes the focus; Up, Down, Home, End, Page Up and Page
// Down move the current row, whose figures become the chart's accessible
// description, so a screen reader reads them row by row.

#include <QString>
#include <QWidget>

#include <vector>

namespace pellion {

class CostBreakdownChart : public QWidget {
    Q_OBJECT

public:
    struct Row {
        QString name;
        QString cost;           // e.g. "$0.57600"
        QString share;          // e.g. "74.2%"
        double barFraction = 0; // 0 to 1 of the longest bar
        bool isOther = false;
        QString description; // the row as one line of text
    };

    explicit CostBreakdownChart(QWidget* parent = nullptr);

    void setRows(std::vector<Row> rows);
    const std::vector<Row>& rows() const { return m_rows; }
    int currentRow() const { return m_current; } // -1 without rows
    void setCurrentRow(int row);

    // Where row `row` is drawn, for the mouse and for tests.
    QRect rowRect(int row) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Columns {
        int nameLeft, nameWidth, barLeft, barWidth, costRight, shareRight;
    };
    Columns columns() const;
    QFont headerFont() const;
    int rowHeight() const;
    int rowAt(QPoint position) const;
    void paintHeader(QPainter& painter, const Columns& columns) const;
    void paintRow(QPainter& painter, const Columns& columns, int row) const;

    std::vector<Row> m_rows;
    int m_current = -1;
};

} // namespace pellion
