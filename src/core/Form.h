#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zembrel {

// A window described as data, once, for every renderer to build: the Qt one on Linux and the
// native one on Windows. Positions and sizes are twips (1/1440 inch); a renderer takes 15 twips
// to a logical pixel, as at 96 dots per inch. Every member has an initializer, so that a
// description names only what differs, with designated initializers.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

// Pixels of a twip length at a screen's dots per inch (1440 twips to the inch); a part pixel is
// dropped, as above.
constexpr int twipsToPixels(int twips, int dpi) {
    return static_cast<int>(static_cast<long long>(twips) * dpi / 1440);
}

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool contains(const TwipRect& other) const {
        return other.left >= left && other.top >= top && other.right() <= right() &&
               other.bottom() <= bottom();
    }
    bool operator==(const TwipRect&) const = default;
};

enum class ControlKind {
    Button,
    Label,
    TextBox,
    OptionButton, // a radio button: one of those in the same container is chosen
    Frame,        // a group box that holds other controls
    Picture,      // an image from the program's resources, shown at its own size
    Line,         // an etched separator line, horizontal when wider than high
    ProgressBar,  // how far a long operation has come, in thousandths; no text
};

// How the label draws its edge.
enum class LabelEdge { None, Sunken, Etched };

enum class FontEmphasis { Normal, Bold };

// An ampersand in the caption of a button, option button, frame or menu entry marks the letter of
// its access key ("&&" shows one ampersand); a label or text box shows its caption as it stands.
struct ControlDescription {
    ControlKind kind = ControlKind::Label;
    std::string name{};
    // The element's number in a control array (several controls under one name), or none.
    std::optional<int> index{};
    std::string caption{}; // a text box's initial text
    std::string tooltip{};
    // Relative to the client area, or to the frame the control sits in.
    TwipRect rect{};
    // The place in the keyboard (Tab) order; none for a control that takes no focus.
    std::optional<int> tabIndex{};
    bool isDefault = false; // Enter presses it
    bool isCancel = false;  // Escape presses it
    bool enabled = true;
    bool visible = true; // hidden controls are shown by the logic when they have something to say
    // The key of the frame it sits in, a frame listed before it; empty: the client area.
    std::string container{};
    bool multiLine = false; // a label that wraps its text at its width and starts at its top
    LabelEdge edge = LabelEdge::None;
    FontEmphasis emphasis = FontEmphasis::Normal;
    // The font's size in points; 0: the window's font. Fixed layouts made for small fonts.
    double fontPoints = 0;
    std::string picture{}; // a Picture's image: a file name among the program's resources
    // A Line drawn in one colour (0xRRGGBB), its rectangle's height thick; none: etched.
    std::optional<unsigned> color{};
    // A text box whose text can be selected and copied but not changed.
    bool readOnly = false;
    // A text box in which Enter clicks this control (a button or option, by its key), as a
    // click of the mouse would; empty: Enter presses the default button, if there is one.
    std::string enterClicks{};

    // The name that finds the control: its name, with "(index)" for an element of an array.
    std::string key() const;
};

struct MenuEntry {
    std::string name{};
    std::string caption{};
    bool checkable = false;
    bool separator = false;
};

struct MenuDescription {
    std::string name{};
    std::string caption{};
    std::vector<MenuEntry> entries{};
};

// Single: a title bar with the minimise and close boxes; Dialog: a title bar with the close box
// only; None: no border and no title bar.
enum class BorderStyle { Single, Dialog, None };

struct FormDescription {
    std::string name{};
    std::string caption{};
    int clientWidth = 0; // twips
    int clientHeight = 0;
    bool fixedSize = true;
    BorderStyle border = BorderStyle::Single;
    // An image painted at the top left of the client area, under the controls; empty: none.
    std::string picture{};
    std::vector<ControlDescription> controls{}; // in the order they are stacked, bottom first
    std::vector<MenuDescription> menus{};       // the menu bar, left to right

    // The control whose key() is key, or null.
    const ControlDescription* find(std::string_view key) const;
    // The controls that take the focus, in keyboard order.
    std::vector<const ControlDescription*> keyboardOrder() const;
    // The control's rectangle in client-area twips, through the frames it sits in.
    TwipRect clientRect(const ControlDescription& control) const;
    // Where the arrow keys take the focus from an option: the next (back: the previous) option
    // of its container in keyboard order, round the ring.
    const ControlDescription& nextOption(const ControlDescription& option, bool back) const;
};

} // namespace zembrel
