#pragma once

#include <QHeaderView>

namespace pellion {

// The grid's title row. A title wider than its column wraps at its spaces
// instead of being cut off, and the row grows by the lines that takes, so
// every title reads whole at the designed column widths; once the columns
// are wide enough the row is one line again.
class GridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit GridHeader(QWidget* parent = nullptr);

    QSize sizeHint() const override;

private:
    int wrappingHeight() const;
    void followSectionWidths();

    int m_shownHeight = 0;
};

} // namespace pellion
