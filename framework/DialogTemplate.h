#pragma once
// Dialog templates: each dialog's controls as a table of ids, kinds, texts,
// styles and positions in dialog units, from which its widgets are made.
//
// A horizontal dialog unit is a quarter of the average width of the letters
// A-Z and a-z of the template's font, a vertical unit an eighth of its line
// height. The units are those of the font the templates were drawn for, not
// of the font installed here: 8-point "MS Sans Serif" at 96 dpi, whose
// average letter is 6 pixels wide and whose line is 13 pixels high (a unit is
// 1.5 by 1.625 pixels), scaled to the screen's logical resolution and to the
// template's point size. The controls then draw their texts in a font chosen
// to take no more room than that one did, so every text stays inside the
// rectangle the template gave it.
//
// Thread: the user-interface thread (fonts and screens).

#include <QFont>
#include <QRect>

class QComboBox;
class QWidget;

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

// The font a template's controls draw their texts in. "MS Sans Serif" and
// "MS Shell Dlg" become Arial, or a font with its metrics (Liberation Sans),
// else the system's sans-serif font; any other name is taken as it is. Its
// size is the largest pixel size whose average letter is no wider and whose
// line is no higher than those of the template's font (at 96 dpi, Arial at
// 10 pixels: letters 5.8 pixels wide on average against 6, lines 11 pixels
// high against 13).
QFont TemplateFont(std::string_view fontName, int pointSize);

// Keeps every item of a list whole in its closed field: when the widest item
// is wider than the room the style leaves beside the arrow, the list's
// letters are narrowed just enough (down to half their width), and this is
// redone whenever items come or go. The list's font is otherwise its
// parent's.
void KeepItemsInsideField(QComboBox* combo);

// Keeps the static texts of a built dialog clear of the other controls that
// reach into their rectangles from the left or the right (a separating line
// drawn across a label's end): such a label gives up that part of its width,
// and a pixel more. Frames drawn around a label take nothing from it.
void KeepTextsClearOfNeighbours(QWidget& dialog);

// Dialog units to pixels for a template's font and point size.
class DialogUnits {
public:
    DialogUnits(std::string_view fontName, int pointSize);

    int X(int units) const;
    int Y(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;

private:
    double averageWidth_; // pixels
    double height_;       // pixels
};

} // namespace cs6
