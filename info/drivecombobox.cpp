#include "info/drivecombobox.h"

#include "info/aboutfigures.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace pellion {

namespace {

constexpr int iconLeft = 2;
constexpr int textGap = 6;

void paintDriveItem(QPainter& painter, const QRect& box, const QIcon& icon, QSize iconSize,
                    const QString& text, const QColor& textColour) {
    const QRect iconBox(
        QPoint(box.left() + iconLeft, box.top() + (box.height() - iconSize.height()) / 2),
        iconSize);
    icon.paint(&painter, iconBox);
    const QRect textBox(QPoint(iconBox.right() + 1 + textGap, box.top()), box.bottomRight());
    painter.setPen(textColour);
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

class DriveItemDelegate : public QStyledItemDelegate {
public:
    DriveItemDelegate(QSize iconSize, QObject* parent)
        : QStyledItemDelegate(parent), m_iconSize(iconSize) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        if (selected)
            painter->fillRect(option.rect, option.palette.highlight());
        paintDriveItem(*painter, option.rect, index.data(Qt::DecorationRole).value<QIcon>(),
                       m_iconSize, index.data(Qt::DisplayRole).toString(),
                       option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    }

private:
    QSize m_iconSize;
};

} // namespace

QIcon driveIcon(VolumeKind kind) {
    const QStyle* style = QApplication::style();
    switch (kind) {
    case VolumeKind::Removable:
        return style->standardIcon(QStyle::SP_DriveFDIcon);
    case VolumeKind::Remote:
        return style->standardIcon(QStyle::SP_DriveNetIcon);
    case VolumeKind::CdRom:
        return style->standardIcon(QStyle::SP_DriveCDIcon);
    case VolumeKind::RamDisk:
        return style->standardIcon(QStyle::SP_ComputerIcon);
    case VolumeKind::Fixed:
        break;
    }
    return style->standardIcon(QStyle::SP_DriveHDIcon);
}

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("DrvCB"));
    setItemDelegate(new DriveItemDelegate(iconSize(), this));
}

void DriveComboBox::addVolume(const Volume& volume) {
    addItem(driveIcon(volume.kind), driveItemText(volume), volume.rootPath);
}

void DriveComboBox::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.front().isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    QComboBox::keyPressEvent(event);
    if (printable)
        showPopup();
}

void DriveComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0)
        return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    paintDriveItem(painter, field, itemIcon(currentIndex()), iconSize(), currentText(),
                   palette().color(QPalette::Text));
}

} // namespace pellion
