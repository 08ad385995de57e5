#pragma once

// The main window's fixed layout: its regions and controls, the configuration
// of its number fields, its menu and the columns of its grid.

#include "app/fixedlayout.h"

#include <array>
#include <span>

namespace pellion {

inline constexpr QSize mainClientSize{778, 498};

std::span<const ControlPlace> mainControls();

// Makes the widget of one control: panels, group boxes, labels, the number
// fields, buttons, check boxes, the radio group and the grid.
QWidget* createMainControl(const ControlPlace& place, QWidget* parent);

// The radio group's items, also the field names the list is sorted by.
inline constexpr std::array<const char*, 4> sortChoices{"Appliance", "Voltage", "Wattage",
                                                        "Amperage"};

struct SpinFieldSetup {
    const char* name;
    bool wholeNumber;
    int decimals;
    double increment;
    double minValue, maxValue; // equal: no range
    double initialValue;
};
std::span<const SpinFieldSetup> mainSpinFields();

struct CurrencyFieldSetup {
    const char* name;
    bool readOnly;
    bool zeroEmpty;
};
inline constexpr int currencyDecimals = 5;
inline constexpr const char* currencyDisplayFormat = "$,0.00000;-$,0.00000";
std::span<const CurrencyFieldSetup> mainCurrencyFields();

struct MenuItemEntry {
    const char* menu;
    const char* text; // nullptr for a separator
    const char* name;
};
std::span<const MenuItemEntry> mainMenu();

// The grid's columns, by field name, in column order.
inline constexpr std::array<const char*, 8> gridColumns{"appliance", "voltage",       "wattage",
                                                        "amperage",  "kilowattshour", "costhour",
                                                        "hrsday",    "costday"};
inline constexpr int gridFirstColumnDesignWidth = 228;

// The column widths for a grid w pixels wide: 0.3 w, five times 0.08 w, 0.09 w
// and 0.15 w - 14, each rounded to the nearest whole number, ties to even.
std::array<int, 8> gridColumnWidths(int gridWidth);

} // namespace pellion
