#pragma once

// Windows laid out as fixed data: each control has a parent region, a kind, a
// text, a designed position and size in pixels, and the edges it is anchored
// to. A control anchored to the right keeps its distance to its parent's right
// edge; one anchored left and right stretches with it; likewise for the top
// and the bottom. The table lists parents before their children.

#include <QObject>
#include <QRect>
#include <QSize>

#include <map>
#include <span>
#include <string>

class QWidget;

namespace pellion {

enum Anchor : unsigned {
    AnchorLeft = 1,
    AnchorTop = 2,
    AnchorRight = 4,
    AnchorBottom = 8,
};
inline constexpr unsigned AnchoredLeft = AnchorLeft | AnchorTop;
inline constexpr unsigned AnchoredRight = AnchorRight | AnchorTop;
inline constexpr unsigned AnchoredRightBottom = AnchorRight | AnchorBottom;
inline constexpr unsigned Stretched = AnchorLeft | AnchorRight | AnchorTop;
inline constexpr unsigned Filled = AnchorLeft | AnchorRight | AnchorTop | AnchorBottom;

enum class ControlKind {
    Panel,
    GroupBox,
    Label,
    SpinField,
    CurrencyField,
    Button,
    CheckBox,
    RadioGroup,
    Grid,
    EditBox,
};

// Fonts, alignment and colours, approximated from the design.
enum class Look {
    Plain,
    Bold,
    Bold10,
    Bold10Right,
    BoldRightGreen,
    BoldRightMaroon,
    ReadOnly,
    Raised, // a bevelled panel
};

struct ControlPlace {
    const char* name;
    const char* parent; // "" for the window's client area
    ControlKind kind;
    const char* text;
    int left, top, width, height;
    unsigned anchors;
    Look look = Look::Plain;
};

// Where a control goes when its parent has grown by `growth` from its designed size.
QRect anchoredGeometry(const ControlPlace& place, QSize growth);

// Creates the controls of a table inside a client area, names each after its
// control and keeps them placed whenever the client area is resized.
class FixedLayout : public QObject {
public:
    using Factory = QWidget* (*)(const ControlPlace& place, QWidget* parent);

    FixedLayout(QWidget* client, QSize designSize, std::span<const ControlPlace> places,
                Factory factory);

    QWidget* control(const std::string& name) const;
    template <typename T> T* control(const std::string& name) const {
        return static_cast<T*>(control(name));
    }

    // Places every control for the client area's current size.
    void arrange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_client;
    QSize m_designSize;
    std::span<const ControlPlace> m_places;
    std::map<std::string, QWidget*> m_controls;
};

} // namespace pellion
