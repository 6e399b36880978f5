#pragma once
// Dialog templates: each dialog's controls as a table of ids, kinds, texts,
// styles and positions in dialog units, from which its widgets are made.
// Dialog units follow the dialog font: a horizontal unit is a quarter of the
// average width of the letters A-Z and a-z, a vertical unit an eighth of the
// font's height.

#include <QFont>
#include <QRect>

#include <span>
#include <string_view>

namespace cs6 {

enum class ControlKind {
    Label,            // static text
    Edit,             // single-line edit
    DropDownList,     // combo box without an edit field
    DropDownCombo,    // combo box with an edit field
    PushButton,
    DefaultPushButton,
    PushLikeCheckBox, // a button that stays pressed while checked
    PushLikeRadio,    // the same, one of a group
    Fader,            // a push button that the dialog replaces by a fader
    EtchedFrame,      // a frame drawn around other controls
    EtchedLine,       // a vertical or horizontal line
    SunkenRule,       // a sunken horizontal rule
};

// Style bits of a control.
enum ControlStyle : unsigned {
    kNoStyle = 0,
    kDisabled = 1u << 0,
    kSunken = 1u << 1,     // a sunken edge (statics)
    kFlat = 1u << 2,       // flat buttons
    kCentered = 1u << 3,   // centred text
    kGroupStart = 1u << 4, // starts a radio group
    kVScroll = 1u << 5,    // lists with a vertical scroll bar
};

inline constexpr int kNoId = -1;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

struct ControlTemplate {
    int id;
    ControlKind kind;
    std::string_view text;
    int x, y, width, height; // dialog units
    unsigned style = kNoStyle;
};

struct DialogTemplate {
    int id;
    std::string_view caption; // empty for child dialogs
    std::string_view fontName;
    int pointSize;
    int width, height; // dialog units
    bool child;        // embedded without caption or border
    std::span<const ControlTemplate> controls;
};

// The font a template names: "MS Sans Serif" and "MS Shell Dlg" become the
// system's sans-serif font at the same size.
QFont TemplateFont(std::string_view fontName, int pointSize);

// Dialog units to pixels for one font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;

    double AverageCharWidth() const { return averageWidth_; }
    int FontHeight() const { return height_; }

private:
    double averageWidth_;
    int height_;
};

} // namespace cs6
