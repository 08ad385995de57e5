#include "app/mainlayout.h"

#include "app/appliancegrid.h"
#include "app/groupboxstyle.h"
#include "ui/currencyfield.h"
#include "ui/spinfield.h"

#include <QCheckBox>
#include <QGraphicsDropShadowEffect>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace pellion {

namespace {

using enum ControlKind;

// clang-format off
constexpr ControlPlace controls[] = {
    // control           parent          kind           text                                               left  top  width height anchors            look
    {"pnlTop",           "",             Panel,         "",                                                   0,   0, 778,  41, Stretched, Look::Raised},
    {"pnlsortby",        "",             Panel,         "",                                                   0,  41, 778,  48, Stretched, Look::Raised},
    {"pnlgrid",          "",             Panel,         "",                                                   0,  89, 778, 143, Stretched},
    {"pnlmstlst",        "",             Panel,         "",                                                   0, 232, 778,  44, Stretched, Look::Raised},
    {"pnltotals",        "",             Panel,         "",                                                   0, 276, 778,  48, Stretched},
    {"gbfreq",           "",             GroupBox,      "",                                                   0, 324, 778,  52, Stretched},
    {"gb_discounts",     "",             GroupBox,      "Discounts (NB: Updates Total Cost Per Hour/Day)",    0, 376, 778,  88, Stretched},

    {"Label2",           "pnlTop",       Label,         "KWH Charge Rate:",                                 285,   9, 132,  16, AnchoredRight, Look::Bold10Right},
    {"sechgphr",         "pnlTop",       SpinField,     "",                                                 428,  12,  81,  21, AnchoredRight},
    {"Label9",           "pnlTop",       Label,         "Other Daily Charges:",                             527,   9, 146,  16, AnchoredRight, Look::Bold10Right},
    {"sedailycharges",   "pnlTop",       SpinField,     "",                                                 684,  12,  81,  21, AnchoredRight},

    {"rgsort",           "pnlsortby",    RadioGroup,    "Sort By",                                            0,   5, 305,  41, AnchoredLeft},
    {"btn_first",        "pnlsortby",    Button,        "First",                                            402,   7,  75,  17, AnchoredRight},
    {"btn_prev",         "pnlsortby",    Button,        "Previous",                                         474,   7,  75,  17, AnchoredRight},
    {"btn_next",         "pnlsortby",    Button,        "Next",                                             546,   7,  75,  17, AnchoredRight},
    {"btn_last",         "pnlsortby",    Button,        "Last",                                             618,   7,  75,  17, AnchoredRight},
    {"btn_ins",          "pnlsortby",    Button,        "Insert Item",                                      402,  24,  75,  17, AnchoredRight},
    {"btn_del",          "pnlsortby",    Button,        "Delete Item",                                      474,  24,  75,  17, AnchoredRight},
    {"btn_edit",         "pnlsortby",    Button,        "Edit Item",                                        546,  24,  75,  17, AnchoredRight},
    {"btn_save",         "pnlsortby",    Button,        "Save Item",                                        618,  24,  75,  17, AnchoredRight},
    {"btn_cancel",       "pnlsortby",    Button,        "Cancel",                                           690,  24,  75,  17, AnchoredRight},

    {"dbg",              "pnlgrid",      Grid,          "",                                                   1,   1, 776, 141, Filled},

    {"Label6",           "pnlmstlst",    Label,         "Least expensive appliance per hour",                24,   3, 205,  13, AnchoredLeft, Look::Bold},
    {"lbllst",           "pnlmstlst",    Label,         "",                                                  16,  19, 129,  13, AnchoredLeft, Look::BoldRightGreen},
    {"celeast",          "pnlmstlst",    CurrencyField, "",                                                 152,  19, 121,  21, AnchoredLeft},
    {"Label7",           "pnlmstlst",    Label,         "Most expensive appliance per hour",                529,   3, 201,  13, AnchoredRight, Look::Bold},
    {"lblmst",           "pnlmstlst",    Label,         "",                                                 508,  19, 134,  13, AnchoredRight, Look::BoldRightMaroon},
    {"cemost",           "pnlmstlst",    CurrencyField, "",                                                 641,  19, 121,  21, AnchoredRight},

    {"Label1",           "pnltotals",    Label,         "TOTAL COST PER HOUR :",                             66,   8, 157,  13, AnchoredRight, Look::Bold},
    {"CE",               "pnltotals",    CurrencyField, "",                                                  82,  24, 121,  21, AnchoredRight},
    {"Label8",           "pnltotals",    Label,         "TOTAL COST PER DAY :",                             330,   8, 146,  13, AnchoredRight, Look::Bold},
    {"cetpd",            "pnltotals",    CurrencyField, "",                                                 354,  24, 121,  21, AnchoredRight},
    {"Label10",          "pnltotals",    Label,         "USAGE KWH PER DAY :",                              626,   8, 144,  13, AnchoredRight, Look::Bold},
    {"eb_dailyusage",    "pnltotals",    EditBox,       "",                                                 650,  24, 121,  21, AnchoredRight, Look::ReadOnly},

    {"Label3",           "gbfreq",       Label,         "Monthly Cost :",                                    16,  12,  84,  13, AnchoredLeft, Look::Bold},
    {"cecostmth",        "gbfreq",       CurrencyField, "",                                                  16,  27, 121,  21, AnchoredLeft},
    {"Label4",           "gbfreq",       Label,         "Quaterly Cost :",                                  316,  11,  87,  13, AnchoredRight, Look::Bold},
    {"cecostqtr",        "gbfreq",       CurrencyField, "",                                                 317,  27, 121,  21, AnchoredRight},
    {"Label5",           "gbfreq",       Label,         "Yearly Cost :",                                    633,  12,  75,  13, AnchoredRight, Look::Bold},
    {"cecostyr",         "gbfreq",       CurrencyField, "",                                                 633,  27, 121,  21, AnchoredRight},

    // The next three are a few pixels wider than designed, so that their
    // captions fit whole in the Arial-metric face.
    {"CB_Discount",      "gb_discounts", CheckBox,      "Apply KWH Disounts",                                 8,  16, 126,  17, AnchoredLeft},
    {"Label11",          "gb_discounts", Label,         "Charge Per First KWH :",                             8,  32, 120,  13, AnchoredLeft},
    {"senoofhrsdisc",    "gb_discounts", SpinField,     "",                                                   8,  48,  81,  21, AnchoredLeft},
    {"Label12",          "gb_discounts", Label,         "KWH Charge Rate :",                                152,  32, 102,  13, AnchoredLeft},
    {"sekwhdisc",        "gb_discounts", SpinField,     "",                                                 152,  48,  81,  21, AnchoredLeft},
    // Aligned to the right edge of the group box's frame, below its caption.
    {"GB_Dailydisc",     "gb_discounts", GroupBox,      "Daily Discount",                                   521,  15, 255,  71, AnchoredRight},
    {"CB_Dailydisc",     "GB_Dailydisc", CheckBox,      "Apply Daily discount",                               8,  24, 121,  17, AnchoredLeft},
    {"sedcdisc",         "GB_Dailydisc", SpinField,     "",                                                 152,  18,  81,  21, AnchoredLeft},

    {"btncalculator",    "",             Button,        "Calculator",                                       417, 467,  89,  25, AnchoredRightBottom, Look::Bold10},
    {"btnupdate",        "",             Button,        "Update",                                           505, 467,  89,  25, AnchoredRightBottom, Look::Bold10},
    {"btnSave",          "",             Button,        "Save",                                             593, 467,  89,  25, AnchoredRightBottom, Look::Bold10},
    {"bbtnExit",         "",             Button,        "Exit",                                             681, 467,  89,  25, AnchoredRightBottom, Look::Bold10},
};

// In the order the settings file lists them.
constexpr SpinFieldSetup spinFields[] = {
    // field             whole  decimals increment min  max        initial
    {"sechgphr",         false, 4,       0.01,     0,   100000000, 0.01},
    {"sedailycharges",   false, 4,       0.01,     0,   0,         0},
    {"senoofhrsdisc",    true,  2,       1,        0,   0,         0},
    {"sekwhdisc",        false, 4,       0.01,     0,   0,         0},
    {"sedcdisc",         false, 4,       0.01,     0,   0,         0},
};

constexpr CurrencyFieldSetup currencyFields[] = {
    // field      read-only zero empty
    {"CE",        true,     false},
    {"cetpd",     false,    true},
    {"cecostmth", true,     false},
    {"cecostqtr", true,     false},
    {"cecostyr",  true,     false},
    {"celeast",   false,    true},
    {"cemost",    false,    true},
};

constexpr MenuItemEntry menu[] = {
    {"File", "Save",          "Save1"},
    {"File", nullptr,         "N1"},
    {"File", "Print",         "mnuprint"},
    {"File", "Print Preview", "PrintPreview1"},
    {"File", "Export PDF…",   "ExportPdf1"},
    {"File", nullptr,         "N2"},
    {"File", "Exit",          "Exit1"},
    {"View", "Cost Breakdown", "CostBreakdown1"},
    {"Help", "Contents",      "Contents1"},
    {"Help", nullptr,         "N3"},
    {"Help", "About",         "About1"},
};
// clang-format on

constexpr int rightLabelGap = 3;

int roundTiesToEven(double value) {
    return int(std::nearbyint(value)); // the default rounding mode is to nearest, ties to even
}

QFont lookFont(Look look, const QWidget* widget) {
    QFont font = widget->font();
    switch (look) {
    case Look::Bold:
    case Look::BoldRightGreen:
    case Look::BoldRightMaroon:
        font.setBold(true);
        break;
    case Look::Bold10:
    case Look::Bold10Right:
        font.setBold(true);
        font.setPointSize(10);
        break;
    default:
        break;
    }
    return font;
}

QLabel* createLabel(const ControlPlace& place, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(place.text), parent);
    label->setFont(lookFont(place.look, label));
    const bool right = place.look == Look::Bold10Right || place.look == Look::BoldRightGreen ||
                       place.look == Look::BoldRightMaroon;
    label->setAlignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    // Right-aligned texts end a few pixels inside their box: clear of the
    // field beside them (lblmst's box reaches a pixel into cemost's) and with
    // room for a last glyph that overhangs its advance.
    if (right)
        label->setContentsMargins(0, 0, rightLabelGap, 0);
    if (place.look == Look::BoldRightGreen || place.look == Look::BoldRightMaroon) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, place.look == Look::BoldRightGreen
                                                   ? QColor(0, 128, 0)
                                                   : QColor(128, 0, 0));
        label->setPalette(palette);
    }
    // The one-pixel highlight to the top left that the design gives its labels.
    auto* shadow = new QGraphicsDropShadowEffect(label);
    shadow->setOffset(-1, -1);
    shadow->setBlurRadius(0);
    shadow->setColor(place.look == Look::BoldRightMaroon ? QColor(Qt::red)
                                                         : label->palette().color(QPalette::Light));
    label->setGraphicsEffect(shadow);
    return label;
}

QGroupBox* createGroupBox(const ControlPlace& place, QWidget* parent) {
    auto* group = new QGroupBox(QString::fromLatin1(place.text), parent);
    group->setStyle(GroupBoxStyle::instance());
    return group;
}

QWidget* createRadioGroup(const ControlPlace& place, QWidget* parent) {
    QGroupBox* group = createGroupBox(place, parent);
    auto* columns = new QHBoxLayout(group);
    columns->setContentsMargins(8, 0, 4, 2);
    columns->setSpacing(0);
    for (const char* item : sortChoices) {
        auto* button = new QRadioButton(QString::fromLatin1(item), group);
        button->setObjectName(QString::fromLatin1(place.name) + u'_' + QString::fromLatin1(item));
        columns->addWidget(button, 1);
    }
    return group;
}

QFrame* createPanel(QWidget* parent, bool bevelled) {
    auto* panel = new QFrame(parent);
    if (bevelled) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Raised);
    }
    return panel;
}

} // namespace

QWidget* createMainControl(const ControlPlace& place, QWidget* parent) {
    const QString text = QString::fromLatin1(place.text);
    switch (place.kind) {
    case ControlKind::Panel:
        return createPanel(parent, place.look == Look::Raised);
    case ControlKind::GroupBox:
        return createGroupBox(place, parent);
    case ControlKind::Label:
        return createLabel(place, parent);
    case ControlKind::SpinField:
        return new pellion::SpinField(parent);
    case ControlKind::CurrencyField:
        return new pellion::CurrencyField(parent);
    case ControlKind::Button: {
        auto* button = new QPushButton(text, parent);
        button->setFont(lookFont(place.look, button));
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::RadioGroup:
        return createRadioGroup(place, parent);
    case ControlKind::Grid:
        return new ApplianceGrid(parent);
    case ControlKind::EditBox: {
        auto* edit = new QLineEdit(text, parent);
        edit->setReadOnly(place.look == Look::ReadOnly);
        return edit;
    }
    }
    return new QWidget(parent);
}

std::span<const ControlPlace> mainControls() {
    return controls;
}

std::span<const SpinFieldSetup> mainSpinFields() {
    return spinFields;
}

std::span<const CurrencyFieldSetup> mainCurrencyFields() {
    return currencyFields;
}

std::span<const MenuItemEntry> mainMenu() {
    return menu;
}

std::array<int, 8> gridColumnWidths(int gridWidth) {
    const double w = gridWidth;
    std::array<int, 8> widths{};
    widths[0] = roundTiesToEven(0.3 * w);
    for (int column = 1; column <= 5; ++column)
        widths[column] = roundTiesToEven(0.08 * w);
    widths[6] = roundTiesToEven(0.09 * w);
    widths[7] = roundTiesToEven(0.15 * w - 14);
    return widths;
}

} // namespace pellion
