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

// What the window has to do after an event. The window carries the steps out in the order of
// the members below; PumpPendingEvents and RaiseClick come last because nested handlers (or the
// container's Click handler) may destroy the control.
struct Effects {
    bool takeCapture = false;
    bool releaseCapture = false;
    bool startPoll = false;    // only when the poll was not running already
    bool applyLook = false;    // a look was applied to the edge lines
    bool lookChanged = false;  // ... and it changed their colours: repaint
    bool stopPoll = false;
    bool relayout = false;     // label moved or lines moved: repaint everything
    bool recolourCaption = false;
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
    // Any mouse button goes down (surface or label): SunkenLook.
    Effects ButtonDown();
    // Any mouse button is released (surface or label): RaisedLook, then Click.
    Effects ButtonUp();
    // Poll tick with the pointer at client pixel (x, y): outside flattens and stops the poll.
    Effects PollTick(int x, int y);
    // Enabled write: only the caption colour changes.
    Effects EnabledChanged(bool enabled);
    // Resize: re-centre the label, lay the lines out; colours unchanged.
    Effects Resize(int width, int height);
    // Caption write: the label has sized itself to the new text; centre it again.
    Effects CaptionWritten(int labelWidth, int labelHeight);
    // The window's font changed: the label sizes itself again and is centred again.
    Effects LabelResized(int labelWidth, int labelHeight);
    // The platform took the capture away (another window took it, or it was released).
    void CaptureLost() { captureHeld_ = false; }

    // --- Queries -----------------------------------------------------------------------------
    // The look the lines show; the three looks are the only colour sets ever applied.
    Look CurrentLook() const;
    Rgb LineColourNow(int lineNumber) const;
    bool PollRunning() const { return pollRunning_; }
    bool CaptureHeld() const { return captureHeld_; }
    bool Enabled() const { return enabled_; }
    Rgb CaptionColourNow() const { return CaptionColour(enabled_); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    LabelOffset LabelPosition() const { return labelPosition_; }
    // The label's drawn rectangle in client pixels (offset rounded with LabelOffsetToPixel).
    int LabelLeft() const { return LabelOffsetToPixel(labelPosition_.x); }
    int LabelTop() const { return LabelOffsetToPixel(labelPosition_.y); }
    int LabelWidth() const { return labelWidth_; }
    int LabelHeight() const { return labelHeight_; }
    // True when (x, y) is on the label and on the control, i.e. on the label's visible part.
    bool HitsLabel(int x, int y) const;
    LineEnds Line(int lineNumber) const { return EdgeLineEnds(lineNumber, width_, height_); }

private:
    // Recolours the lines in kRecolourOrder and records the step in effects.
    void ApplyLook(Look look, Effects& effects);
    void StartPoll(Effects& effects);
    bool Inside(int x, int y) const;
    void Centre();

    std::array<Rgb, kLineCount> lineColours_{};
    bool pollRunning_ = true;   // the poll runs from creation
    bool captureHeld_ = false;
    bool enabled_ = true;
    int width_ = 0;
    int height_ = 0;
    int labelWidth_ = 0;
    int labelHeight_ = 0;
    LabelOffset labelPosition_{};
};

}  // namespace qorvani
