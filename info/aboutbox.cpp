#include "info/aboutbox.h"

#include "info/aboutfigures.h"
#include "info/bevelpanel.h"
#include "info/drivecombobox.h"
#include "info/findanimation.h"
#include "info/systeminfo.h"
#include "ui/windowplacement.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

namespace pellion {

namespace {

constexpr int clientWidth = 396;
constexpr int clientHeight = 481;

// Where each control sits in its parent, in pixels. A zero width or height
// means the control's natural size; the memory figures reach to their panel's
// right edge, however long they grow.
struct Placement {
    const char* name;
    int left, top, width, height;
};

constexpr Placement placements[] = {
    {"Panel1", 7, 7, 386, 394},      {"ProgramIcon", 8, 7, 32, 34},
    {"ProductName", 49, 10, 0, 0},   {"Comments", 47, 22, 0, 0},
    {"Panel3", 0, 40, 385, 57},      {"Label4", 125, 22, 0, 0},
    {"Animate1", 309, 7, 0, 0},      {"Panel2", 0, 96, 385, 107},
    {"DrvCB", 8, 8, 177, 19},        {"Memcurdrv", 8, 24, 185, 73},
    {"memhdd", 192, 8, 185, 89},     {"pnlmemory", 0, 202, 385, 79},
    {"Label5", 7, 7, 0, 0},          {"Label6", 8, 32, 0, 0},
    {"Label7", 8, 56, 0, 0},         {"lbltotalmem", 175, 8, 202, 0},
    {"lblmemused", 176, 32, 201, 0}, {"lblmemfree", 176, 56, 201, 0},
    {"Memo1", 2, 280, 382, 112},     {"OKButton", 311, 447, 75, 24},
};

const char* const subtitle = "What your appliances cost to run";

const char* const termsOfUse =
    "<p align=center><b>Pellion</b><br>Copyright (c) 2026 The Pellion developers</p>"
    "<p align=center>Pellion is free software under the MIT licence. In plain words:</p>"
    "<p align=center>You may use Pellion for any purpose, at home or at work, free of charge. "
    "You may copy it, change it, merge it into other programs, publish it, pass it on, "
    "sublicense it and sell copies of it, and let others do the same.</p>"
    "<p align=center>The one condition: keep the copyright notice and this permission notice "
    "with every copy, or with every substantial part of it.</p>"
    "<p align=center>Pellion comes as it is, without any warranty: no promise that it is fit for "
    "your purpose, free of errors, or that it infringes nobody's rights. The authors are not "
    "liable for any claim, damage or other loss that arises from the program or its use.</p>"
    "<p align=center>The figures Pellion shows are estimates from the values you enter; your "
    "electricity bill has the final word.</p>"
    "<p align=center>The full text of the licence is in the file LICENSE that comes with "
    "Pellion.</p>";

// The product's icon: a lightning bolt on a blue disc.
QPixmap programIcon() {
    QPixmap icon(32, 32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient disc(QPointF(12, 10), 20);
    disc.setColorAt(0, QColor(90, 150, 230));
    disc.setColorAt(1, QColor(10, 40, 120));
    painter.setPen(QPen(QColor(5, 25, 80), 1));
    painter.setBrush(disc);
    painter.drawEllipse(QRectF(1.5, 1.5, 29, 29));
    const QPointF bolt[] = {{18, 4}, {9, 18}, {15, 18}, {12, 28}, {23, 13}, {17, 13}, {20, 4}};
    painter.setPen(QPen(QColor(120, 80, 0), 1));
    painter.setBrush(QColor(255, 210, 40));
    painter.drawPolygon(bolt, std::size(bolt));
    return icon;
}

QFont boldFont(const QFont& base, int pointSize = 0) {
    QFont font = base;
    font.setBold(true);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    return font;
}

QPlainTextEdit* readOnlyMemo(const char* name, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The light 3-D colour: between the panel's face and the highlight, so the
    // memo reads as a lit surface rather than a greyed-out one.
    QPalette light = memo->palette();
    const QColor face = light.color(QPalette::Button);
    const QColor highlight = light.color(QPalette::Light);
    light.setColor(QPalette::Base, QColor((face.red() + highlight.red()) / 2,
                                          (face.green() + highlight.green()) / 2,
                                          (face.blue() + highlight.blue()) / 2));
    memo->setPalette(light);
    return memo;
}

} // namespace

AboutBox::AboutBox(const SystemInfoSource& source, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_source(source) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(clientWidth, clientHeight);
    // The layout is measured for a narrow 8-point face; Arial (Liberation Sans
    // on most Linux desktops) keeps the captions clear of the figures.
    QFont small(QStringLiteral("Arial"), 8);
    small.setStyleHint(QFont::SansSerif);
    setFont(small);
    buildControls();
    placeControls();
    showMemoryFigures();
    // Listing the volumes asks every device whether it is removable: once is enough.
    const std::vector<Volume> volumes = m_source.volumes();
    m_memhdd->setPlainText(volumeSummaryLines(volumes, m_source).join(u'\n'));
    fillDriveList(volumes);
    moveToCentreOf(*this, screen());
}

void AboutBox::buildControls() {
    const auto label = [](const char* name, const QString& text, QWidget* parent) {
        auto* control = new QLabel(text, parent);
        control->setObjectName(QString::fromLatin1(name));
        return control;
    };
    const auto panel = [](const char* name, QWidget* parent) {
        auto* control = new BevelPanel(parent);
        control->setObjectName(QString::fromLatin1(name));
        return control;
    };

    QWidget* panel1 = panel("Panel1", this);
    auto* icon = label("ProgramIcon", QString(), panel1);
    icon->setPixmap(programIcon());
    icon->setScaledContents(true);
    label("ProductName", QStringLiteral("Pellion"), panel1);
    label("Comments", QString::fromLatin1(subtitle), panel1);

    QWidget* panel3 = panel("Panel3", panel1);
    label("Label4", QStringLiteral("System Information"), panel3)->setFont(boldFont(font(), 10));
    new FindAnimation(panel3);

    QWidget* panel2 = panel("Panel2", panel1);
    m_memcurdrv = readOnlyMemo("Memcurdrv", panel2);
    m_drvCB = new DriveComboBox(panel2); // over the memo's top edge
    m_memhdd = readOnlyMemo("memhdd", panel2);

    QWidget* memory = panel("pnlmemory", panel1);
    const QFont bold = boldFont(font());
    label("Label5", QStringLiteral("Total Physical Memory :"), memory)->setFont(bold);
    label("Label6", QStringLiteral("Available Physical Memory :"), memory)->setFont(bold);
    label("Label7", QStringLiteral("% Of Memory Used :"), memory)->setFont(bold);
    m_lbltotalmem = label("lbltotalmem", QString(), memory);
    m_lblmemused = label("lblmemused", QString(), memory);
    m_lblmemfree = label("lblmemfree", QString(), memory);
    for (QLabel* value : {m_lbltotalmem, m_lblmemused, m_lblmemfree})
        value->setFont(bold);

    auto* terms = new QTextEdit(panel1);
    terms->setObjectName(QStringLiteral("Memo1"));
    terms->setReadOnly(true);
    terms->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    terms->setHtml(QString::fromLatin1(termsOfUse));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::placeControls() {
    for (const Placement& place : placements) {
        auto* control = findChild<QWidget*>(QString::fromLatin1(place.name));
        Q_ASSERT(control);
        if (place.width == 0 || place.height == 0)
            control->adjustSize();
        const QSize size(place.width ? place.width : control->width(),
                         place.height ? place.height : control->height());
        control->setGeometry(QRect(QPoint(place.left, place.top), size));
    }
}

void AboutBox::showMemoryFigures() {
    const MemoryStatus memory = m_source.memoryStatus();
    m_lbltotalmem->setText(memoryText(memory.totalBytes));
    m_lblmemused->setText(memoryText(memory.availableBytes));
    m_lblmemfree->setText(loadText(memory.memoryLoad));
}

void AboutBox::fillDriveList(const std::vector<Volume>& volumes) {
    const QString workingVolume = m_source.volumeRootOf(QDir::currentPath());
    int selected = -1;
    for (const Volume& volume : volumes) {
        if (volume.rootPath == workingVolume)
            selected = m_drvCB->count();
        m_drvCB->addVolume(volume);
    }
    m_drvCB->setCurrentIndex(selected);
    if (selected >= 0)
        showSelectedDriveSpace();
    connect(m_drvCB, &QComboBox::currentIndexChanged, this, &AboutBox::showSelectedDriveSpace);
}

void AboutBox::showSelectedDriveSpace() {
    m_memcurdrv->clear();
    if (m_drvCB->currentIndex() < 0)
        return;
    const DiskSpace space = m_source.diskSpace(m_drvCB->selectedRoot());
    m_memcurdrv->setPlainText(diskLines(space).join(u'\n'));
}

void showAboutBox(QWidget* owner) {
    const SystemInfo system;
    AboutBox box(system, owner);
    box.exec();
}

} // namespace pellion
