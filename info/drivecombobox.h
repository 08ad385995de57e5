#pragma once

#include "info/systeminfo.h"

#include <QComboBox>

namespace pellion {

// The About box's drive list: one item per mounted volume, with an icon for
// its kind and its mount point as the item's data. Typing a character selects
// the first item that starts with it and drops the list down. Each item is
// drawn with its icon 2 pixels from the left and its text 6 pixels after it,
// both centred vertically on one line.
class DriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveComboBox(QWidget* parent = nullptr);

    void addVolume(const Volume& volume);
    QString selectedRoot() const { return currentData().toString(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

QIcon driveIcon(VolumeKind kind);

} // namespace pellion
