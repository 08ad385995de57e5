#pragma once

// The About box: the product's name, the terms of use, and a little system
// information: the physical memory, and the size and free space of the volume
// chosen in the drive list (the one holding the working directory at first).
// All figures come from a SystemInfoSource and are formatted in aboutfigures.

#include <QDialog>

#include <vector>

class QLabel;
class QPlainTextEdit;

namespace pellion {

class DriveComboBox;
class SystemInfoSource;
struct Volume;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const SystemInfoSource& source, QWidget* owner = nullptr);

private:
    void buildControls();
    void placeControls();
    void showMemoryFigures();
    void fillDriveList(const std::vector<Volume>& volumes);
    void showSelectedDriveSpace();

    const SystemInfoSource& m_source;
    DriveComboBox* m_drvCB = nullptr;
    QPlainTextEdit* m_memcurdrv = nullptr;
    QPlainTextEdit* m_memhdd = nullptr;
    QLabel* m_lbltotalmem = nullptr;
    QLabel* m_lblmemused = nullptr;
    QLabel* m_lblmemfree = nullptr;
};

// Help > About: the box over the running system, modal, destroyed on closing.
void showAboutBox(QWidget* owner);

} // namespace pellion
