#include "app/groupboxstyle.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionGroupBox>
#include <qdrawutil.h>

namespace pellion {

namespace {

// The title's background reaches this far beyond its text on either side.
constexpr int titlePadding = 2;

} // namespace

GroupBoxStyle::GroupBoxStyle() : QProxyStyle(QApplication::style()->name()) {}

GroupBoxStyle* GroupBoxStyle::instance() {
    static QPointer<GroupBoxStyle> style;
    if (!style) {
        style = new GroupBoxStyle;
        style->setParent(QCoreApplication::instance()); // goes with the application
    }
    return style;
}

QRect GroupBoxStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                    SubControl part, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box)
        return QProxyStyle::subControlRect(control, option, part, widget);
    const int titleHeight = box->fontMetrics.height();
    const QRect whole = box->rect;
    switch (part) {
    case SC_GroupBoxFrame:
        return whole.adjusted(0, titleHeight / 2 - 1, 0, 0);
    case SC_GroupBoxLabel: {
        if (box->text.isEmpty())
            return {};
        const int textWidth = box->fontMetrics.horizontalAdvance(box->text);
        return {whole.left() + titleLeft - titlePadding, whole.top(), textWidth + 2 * titlePadding,
                titleHeight};
    }
    case SC_GroupBoxContents:
        return whole.adjusted(2, titleHeight, -2, -2);
    default:
        break;
    }
    return QProxyStyle::subControlRect(control, option, part, widget);
}

void GroupBoxStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                       QPainter* painter, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    painter->save();
    const QRect frame = subControlRect(control, option, SC_GroupBoxFrame, widget);
    qDrawShadeRect(painter, frame, box->palette, true, 1, 0);
    if (const QRect title = subControlRect(control, option, SC_GroupBoxLabel, widget);
        title.isValid()) {
        painter->fillRect(title, box->palette.brush(QPalette::Window));
        const bool enabled = box->state & State_Enabled;
        drawItemText(painter, title, Qt::AlignCenter | Qt::TextSingleLine, box->palette, enabled,
                     box->text, QPalette::WindowText);
    }
    painter->restore();
}

} // namespace pellion
