#include "info/drivecombobox.h"

#include "info/aboutfigures.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStyle>

namespace pellion {

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

} // namespace pellion
