#include "app/gridheader.h"

#include <QStyleOptionHeader>

#include <algorithm>

namespace pellion {

GridHeader::GridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    setTextElideMode(Qt::ElideNone);
    connect(this, &QHeaderView::sectionResized, this, &GridHeader::followSectionWidths);
}

// The lines a title needs beyond the first, at its column's width.
int GridHeader::wrappingHeight() const {
    int extra = 0;
    for (int section = 0; section < count(); ++section) {
        if (isSectionHidden(section))
            continue;
        QStyleOptionHeader option;
        initStyleOption(&option);
        initStyleOptionForIndex(&option, section);
        option.rect = QRect(0, 0, sectionSize(section), option.fontMetrics.height());
        const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
        const QRect wrapped =
            option.fontMetrics.boundingRect(QRect(0, 0, label.width(), QWIDGETSIZE_MAX),
                                            Qt::AlignCenter | Qt::TextWordWrap, option.text);
        extra = std::max(extra, wrapped.height() - option.fontMetrics.height());
    }
    return extra;
}

QSize GridHeader::sizeHint() const {
    QSize hint = QHeaderView::sizeHint();
    hint.rheight() += wrappingHeight();
    return hint;
}

// The grid lays its title row out again when the row's height changes.
void GridHeader::followSectionWidths() {
    const int height = sizeHint().height();
    if (height == m_shownHeight)
        return;
    m_shownHeight = height;
    updateGeometry();
    emit geometriesChanged();
}

} // namespace pellion
