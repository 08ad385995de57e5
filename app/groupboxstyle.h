#pragma once

#include <QProxyStyle>

namespace pellion {

// Group boxes in the look the window layouts were designed for: an etched
// frame whose top line runs through the middle of the title, the title 8
// pixels in from the left on the window's background, and the inside below
// the title. Controls placed a title's height from the top sit below the
// frame's top line.
class GroupBoxStyle : public QProxyStyle {
    Q_OBJECT
public:
    GroupBoxStyle();

    // One instance for every group box of the program.
    static GroupBoxStyle* instance();

    static constexpr int titleLeft = 8;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
};

} // namespace pellion
