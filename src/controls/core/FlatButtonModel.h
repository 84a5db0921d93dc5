#pragma once
// The flat button's rules without any window: its three looks, the edge layout, the caption
// centring, the bounds test and a state machine that turns mouse and timer events into the steps
// the window has to carry out. The window (controls/win32/FlatButton) owns an instance and does
// exactly what the returned Effects say.
#include <array>
#include <cstdint>

namespace qorvani {

// Colours are 24-bit 0xRRGGBB values.
using Rgb = std::uint32_t;
inline constexpr Rgb kLightGrey = 0xC0C0C0;
inline constexpr Rgb kWhite = 0xFFFFFF;
inline constexpr Rgb kBlack = 0x000000;

// The caption's text colour: black while enabled, the flat grey while disabled.
constexpr Rgb CaptionColour(bool enabled) { return enabled ? kBlack : kLightGrey; }

enum class Look { Flat = 0, Raised = 1, Sunken = 2 };

// The four edge lines, numbered as the control names them: 1 left, 2 bottom, 3 right, 4 top.
inline constexpr int kLineCount = 4;
// A look is applied by recolouring the lines in this order.
inline constexpr std::array<int, kLineCount> kRecolourOrder = {1, 2, 3, 4};

// Colour of line 1..4 in the given look (FlatLook all grey; RaisedLook white left and top, black
// bottom and right; SunkenLook the reverse). Out-of-range line numbers give the flat grey.
Rgb LineColour(Look look, int lineNumber);

// Inclusive bounds test: left <= x <= right and top <= y <= bottom, so x == right and y == bottom
// count as inside.
bool PointInRect(float x, float y, float left, float top, float right, float bottom);

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct LineEnds {
    PixelPoint start;
    PixelPoint end;
    friend bool operator==(const LineEnds&, const LineEnds&) = default;
};

// End points of line 1..4 for a control of width x height pixels:
// 1 (0,0)-(0,H), 2 (0,H-1)-(W,H-1), 3 (W-1,0)-(W-1,H), 4 (0,0)-(W,0).
// Both ends belong to the line; whatever lies outside the control is simply not drawn.
LineEnds EdgeLineEnds(int lineNumber, int width, int height);

struct LabelOffset {
    float x = 0.0f;
    float y = 0.0f;
};

// Caption centring: ((W - w) / 2, (H - h) / 2) in floating point, unrounded. A caption larger
// than the control gets a negative offset.
LabelOffset CentredLabelOffset(int width, int height, int labelWidth, int labelHeight);

// Rounds a label offset to a screen pixel: floor. For an odd difference the label therefore sits
// half a pixel to the left of (or above) the exact centre, and a caption wider than the control
// is cut equally at both sides up to that half pixel (offset -3.5 draws from -4: four pixels
// cut on the left, three on the right).
int LabelOffsetToPixel(float offset);

// Mouse buttons held during a move, as bit flags.
enum HeldButton : unsigned {
    kHeldNone = 0,
    kHeldLeft = 1u << 0,
    kHeldRight = 1u << 1,
    kHeldMiddle = 1u << 2,
    kHeldExtra1 = 1u << 3,
    kHeldExtra2 = 1u << 4,
};

// SunkenLook only when the left button is held and no other; RaisedLook in every other case.
Look LookForHeldButtons(unsigned heldButtons);

// The focus rectangle shows while the button has the focus, unless the window's UI state hides
// focus rectangles (UISF_HIDEFOCUS: the user has not used the keyboard in the window yet).
constexpr bool FocusRectangleShown(bool focused, bool uiStateHidesFocus) { return focused && !uiStateHidesFocus; }

// The mouse button of a press or a release.
enum class MouseButton { Left, Right, Middle, Other };

// The system colours the button draws with in High Contrast (0xRRGGBB each).
struct SystemColours {
    Rgb buttonText = kBlack;  // COLOR_BTNTEXT
    Rgb grayText = kLightGrey;  // COLOR_GRAYTEXT
    Rgb highlight = 0x0078D7;  // COLOR_HIGHLIGHT
};

// The colours drawn. Outside High Contrast they are the fixed ones (CaptionColour, LineColour).
// In High Contrast the caption is the button text, or the grey text while disabled; the flat look
// frames the button in the button text, the raised look lights its top and left edges in the
// highlight colour and the sunken look its bottom and right edges, so that the three looks stay
// apart in every scheme whose highlight differs from its button text.
Rgb DrawnCaptionColour(bool enabled, bool highContrast, const SystemColours& system);
Rgb DrawnLineColour(Look look, int lineNumber, bool highContrast, const SystemColours& system);

// What the window has to do after an event. The window carries the steps out in the order of
// the members below; PumpPendingEvents and RaiseClick come last because nested handlers (or the
// container's Click handler) may destroy the control.
struct Effects {
    bool takeCapture = false;
    bool releaseCapture = false;
    bool startPoll = false;    // only when the poll was not running already
    bool lookChanged = false;  // a look was applied that changed the edge lines' colours: repaint
    bool stopPoll = false;
    bool relayout = false;     // label moved or lines moved: repaint everything
    bool recolourCaption = false;
    bool repaint = false;      // something else drawn changed (the focus rectangle)
    bool pumpPendingEvents = false;
    bool raiseClick = false;
};

// The control's state: the colours of its four lines (the look is nothing but these colours),
// whether the hover poll runs, whether it believes it holds the capture, its size, its label's
// size and position, and whether it is enabled.
class FlatButtonState {
public:
    FlatButtonState();

    // --- Events ------------------------------------------------------------------------------
    // Pointer move over the surface at client pixel (x, y): capture every time; inside the
    // inclusive bounds start the poll and show the look for the held buttons; outside release the
    // capture and flatten (poll unchanged); then let pending events run.
    Effects SurfaceMove(int x, int y, unsigned heldButtons);
    // Pointer move over the caption label: start the poll and show the look for the held buttons.
    // No capture, no bounds test, no pumping.
    Effects LabelMove(unsigned heldButtons);
    // Pointer move at (x, y), routed to the label path when it lies on the visible part of the
    // label and to the surface path otherwise.
    Effects PointerMove(int x, int y, unsigned heldButtons);
    // A mouse button goes down (surface or label): SunkenLook, whichever button it is. A left press
    // takes the capture and holds it until its release, wherever the pointer goes meanwhile, so
    // that the release comes back to the button.
    Effects ButtonDown(MouseButton button);
    // A mouse button is released at client pixel (x, y). Click only for the release of a left
    // press made on the button, inside its bounds; any other release (right, middle, a release
    // whose press happened elsewhere, a left release dragged outside) raises nothing. Inside, the
    // look becomes RaisedLook; outside FlatLook.
    Effects ButtonUp(MouseButton button, int x, int y);
    // Keyboard, while the button has the focus. Space down sinks the button; Space up clicks when
    // that press is still on, and shows RaisedLook when the pointer is over the button (FlatLook
    // otherwise). Enter clicks at once. A repeated key (held down) does nothing more.
    Effects SpaceDown(bool repeated);
    Effects SpaceUp(bool pointerInside);
    Effects EnterDown(bool repeated);
    // Focus arrives or goes: the focus rectangle is drawn or removed; losing the focus drops a
    // Space press without a Click.
    Effects FocusChanged(bool focused, bool pointerInside);
    // Poll tick with the pointer at client pixel (x, y): outside flattens and stops the poll.
    Effects PollTick(int x, int y);
    // Enabled write: only the caption colour changes.
    Effects EnabledChanged(bool enabled);
    // Resize: re-centre the label, lay the lines out; colours unchanged.
    Effects Resize(int width, int height);
    // The label has sized itself again (a caption written, the window's font changed): centre it
    // again.
    Effects LabelSized(int labelWidth, int labelHeight);
    // The platform took the capture away (another window took it, or it was released): a left
    // press in progress can no longer end in a Click.
    void CaptureLost() {
        captureHeld_ = false;
        leftPressed_ = false;
    }

    // --- Queries -----------------------------------------------------------------------------
    // The look the lines show; the three looks are the only colour sets ever applied.
    Look CurrentLook() const;
    bool PollRunning() const { return pollRunning_; }
    bool CaptureHeld() const { return captureHeld_; }
    bool Enabled() const { return enabled_; }
    bool Focused() const { return focused_; }
    // A left press made on the button whose release has not come yet.
    bool LeftPressed() const { return leftPressed_; }
    Rgb CaptionColourNow() const { return CaptionColour(enabled_); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    LabelOffset LabelPosition() const { return labelPosition_; }
    // The label's drawn rectangle in client pixels (offset rounded with LabelOffsetToPixel).
    int LabelLeft() const { return LabelOffsetToPixel(labelPosition_.x); }
    int LabelTop() const { return LabelOffsetToPixel(labelPosition_.y); }
    int LabelWidth() const { return labelWidth_; }
    int LabelHeight() const { return labelHeight_; }
    // The inclusive bounds test of the control at client pixel (x, y).
    bool Contains(int x, int y) const { return Inside(x, y); }
    // True when (x, y) is on the label and on the control, i.e. on the label's visible part.
    bool HitsLabel(int x, int y) const;
    LineEnds Line(int lineNumber) const { return EdgeLineEnds(lineNumber, width_, height_); }

private:
    // Recolours the lines in kRecolourOrder and records the step in effects.
    void ApplyLook(Look look, Effects& effects);
    void StartPoll(Effects& effects);
    bool Inside(int x, int y) const;
    void Centre();
    Effects Recentred();  // centred again, laid out again

    std::array<Rgb, kLineCount> lineColours_{};
    bool pollRunning_ = true;   // the poll runs from creation
    bool captureHeld_ = false;
    bool enabled_ = true;
    bool focused_ = false;
    bool leftPressed_ = false;
    bool spacePressed_ = false;
    int width_ = 0;
    int height_ = 0;
    int labelWidth_ = 0;
    int labelHeight_ = 0;
    LabelOffset labelPosition_{};
};

}  // namespace qorvani
