#include "app/costbreakdownchart.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace pellion {

namespace {

constexpr int margin = 8;
constexpr int gap = 10;
constexpr int barInset = 4;        // space above and below a bar within its row
constexpr double nameShare = 0.35; // at most this much of the width for names

const char* const emptyText = "No appliances to show.";

} // namespace

CostBreakdownChart::CostBreakdownChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("costBreakdownChart"));
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setAccessibleName(QStringLiteral("Cost per day by appliance"));
    setAccessibleDescription(QString::fromLatin1(emptyText));
}

void CostBreakdownChart::setRows(std::vector<Row> rows) {
    m_rows = std::move(rows);
    const int last = int(m_rows.size()) - 1;
    m_current = last < 0 ? -1 : std::clamp(m_current, 0, last);
    setAccessibleDescription(m_current < 0 ? QString::fromLatin1(emptyText)
                                           : m_rows[std::size_t(m_current)].description);
    updateGeometry();
    update();
}

void CostBreakdownChart::setCurrentRow(int row) {
    if (m_rows.empty())
        return;
    row = std::clamp(row, 0, int(m_rows.size()) - 1);
    if (row == m_current)
        return;
    m_current = row;
    setAccessibleDescription(m_rows[std::size_t(row)].description);
    update();
}

QFont CostBreakdownChart::headerFont() const {
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

int CostBreakdownChart::rowHeight() const {
    return fontMetrics().height() + 2 * barInset + 2;
}

// Row -1 is the header.
QRect CostBreakdownChart::rowRect(int row) const {
    return QRect(margin / 2, margin + (row + 1) * rowHeight(), width() - margin, rowHeight());
}

int CostBreakdownChart::rowAt(QPoint position) const {
    for (int row = 0; row < int(m_rows.size()); ++row)
        if (rowRect(row).contains(position))
            return row;
    return -1;
}

CostBreakdownChart::Columns CostBreakdownChart::columns() const {
    const QFontMetrics metrics = fontMetrics();
    const QFontMetrics header(headerFont());
    int nameWidth = header.horizontalAdvance(QStringLiteral("Appliance"));
    int costWidth = header.horizontalAdvance(QStringLiteral("Cost/Day"));
    int shareWidth = header.horizontalAdvance(QStringLiteral("Share"));
    for (const Row& row : m_rows) {
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(row.name));
        costWidth = std::max(costWidth, metrics.horizontalAdvance(row.cost));
        shareWidth = std::max(shareWidth, metrics.horizontalAdvance(row.share));
    }
    Columns c{};
    c.nameLeft = margin;
    c.nameWidth = std::min(nameWidth, int((width() - 2 * margin) * nameShare));
    c.shareRight = width() - margin;
    c.costRight = c.shareRight - shareWidth - gap;
    c.barLeft = c.nameLeft + c.nameWidth + gap;
    c.barWidth = std::max(0, c.costRight - costWidth - gap - c.barLeft);
    return c;
}

QSize CostBreakdownChart::sizeHint() const {
    return QSize(560, minimumSizeHint().height());
}

QSize CostBreakdownChart::minimumSizeHint() const {
    const int shownRows = std::max<int>(int(m_rows.size()), 3);
    return QSize(320, 2 * margin + (shownRows + 1) * rowHeight());
}

void CostBreakdownChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_rows.empty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, QString::fromLatin1(emptyText));
        return;
    }
    const Columns c = columns();
    paintHeader(painter, c);
    for (int row = 0; row < int(m_rows.size()); ++row)
        paintRow(painter, c, row);
}

void CostBreakdownChart::paintHeader(QPainter& painter, const Columns& c) const {
    const QRect r = rowRect(-1);
    painter.setFont(headerFont());
    painter.setPen(palette().color(QPalette::Text));
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    painter.drawText(QRect(c.nameLeft, r.top(), c.nameWidth, r.height()), flags | Qt::AlignLeft,
                     QStringLiteral("Appliance"));
    painter.drawText(QRect(r.left(), r.top(), c.costRight - r.left(), r.height()),
                     flags | Qt::AlignRight, QStringLiteral("Cost/Day"));
    painter.drawText(QRect(r.left(), r.top(), c.shareRight - r.left(), r.height()),
                     flags | Qt::AlignRight, QStringLiteral("Share"));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.setFont(font());
}

void CostBreakdownChart::paintRow(QPainter& painter, const Columns& c, int row) const {
    const Row& data = m_rows[std::size_t(row)];
    const QRect r = rowRect(row);
    if (row == m_current && hasFocus()) {
        // Plainly visible whatever the style draws for a focus frame.
        painter.fillRect(r, palette().color(QPalette::AlternateBase));
        painter.setPen(palette().color(QPalette::Highlight));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }

    const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    painter.setPen(palette().color(QPalette::Text));
    const QString name = fontMetrics().elidedText(data.name, Qt::ElideRight, c.nameWidth);
    painter.drawText(QRect(c.nameLeft, r.top(), c.nameWidth, r.height()), flags | Qt::AlignLeft,
                     name);
    painter.drawText(QRect(r.left(), r.top(), c.costRight - r.left(), r.height()),
                     flags | Qt::AlignRight, data.cost);
    painter.drawText(QRect(r.left(), r.top(), c.shareRight - r.left(), r.height()),
                     flags | Qt::AlignRight, data.share);

    const double fraction = std::clamp(data.barFraction, 0.0, 1.0);
    int length = int(std::lround(fraction * c.barWidth));
    if (fraction > 0 && length == 0)
        length = 1; // a tiny cost still shows that it is there
    if (length > 0) {
        const QColor colour = palette().color(data.isOther ? QPalette::Mid : QPalette::Highlight);
        painter.fillRect(QRect(c.barLeft, r.top() + barInset, length, r.height() - 2 * barInset),
                         colour);
    }
}

void CostBreakdownChart::keyPressEvent(QKeyEvent* event) {
    const int last = int(m_rows.size()) - 1;
    switch (event->key()) {
    case Qt::Key_Up:
        setCurrentRow(m_current - 1);
        break;
    case Qt::Key_Down:
        setCurrentRow(m_current + 1);
        break;
    case Qt::Key_Home:
    case Qt::Key_PageUp:
        setCurrentRow(0);
        break;
    case Qt::Key_End:
    case Qt::Key_PageDown:
        setCurrentRow(last);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CostBreakdownChart::mousePressEvent(QMouseEvent* event) {
    if (const int row = rowAt(event->position().toPoint()); row >= 0)
        setCurrentRow(row);
    QWidget::mousePressEvent(event);
}

bool CostBreakdownChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int row = rowAt(help->pos());
        if (row >= 0)
            QToolTip::showText(help->globalPos(), m_rows[std::size_t(row)].description, this,
                               rowRect(row));
        else
            QToolTip::hideText();
        return true;
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        update(); // the current row is marked only while the chart has the focus
    return QWidget::event(event);
}

} // namespace pellion
