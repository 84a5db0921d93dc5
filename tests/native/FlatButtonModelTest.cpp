#include <gtest/gtest.h>

#include "controls/core/FlatButtonModel.h"

namespace qorvani {
namespace {

// A 137 x 25 button (2055 x 375 twips) with a 60 x 13 caption.
FlatButtonState MakeButton(int width = 137, int height = 25) {
    FlatButtonState state;
    state.LabelSized(60, 13);
    state.Resize(width, height);
    return state;
}

// A point on the surface well away from the centred caption.
constexpr int kSurfaceX = 3;
constexpr int kSurfaceY = 3;

TEST(FlatButtonModelTest, LooksColourTheLinesAsTabled) {
    // Lines: 1 left, 2 bottom, 3 right, 4 top.
    for (int line = 1; line <= 4; ++line) EXPECT_EQ(LineColour(Look::Flat, line), 0xC0C0C0u);
    EXPECT_EQ(LineColour(Look::Raised, 1), 0xFFFFFFu);
    EXPECT_EQ(LineColour(Look::Raised, 4), 0xFFFFFFu);
    EXPECT_EQ(LineColour(Look::Raised, 2), 0x000000u);
    EXPECT_EQ(LineColour(Look::Raised, 3), 0x000000u);
    EXPECT_EQ(LineColour(Look::Sunken, 1), 0x000000u);
    EXPECT_EQ(LineColour(Look::Sunken, 4), 0x000000u);
    EXPECT_EQ(LineColour(Look::Sunken, 2), 0xFFFFFFu);
    EXPECT_EQ(LineColour(Look::Sunken, 3), 0xFFFFFFu);
    EXPECT_EQ(kRecolourOrder, (std::array<int, 4>{1, 2, 3, 4}));
    EXPECT_EQ(CaptionColour(true), 0x000000u);
    EXPECT_EQ(CaptionColour(false), 0xC0C0C0u);
}

TEST(FlatButtonModelTest, PointInRectCountsBothEndsInside) {
    EXPECT_TRUE(PointInRect(0, 0, 0, 0, 18, 18));
    EXPECT_TRUE(PointInRect(18, 18, 0, 0, 18, 18));
    EXPECT_TRUE(PointInRect(18, 5, 0, 0, 18, 18));
    EXPECT_FALSE(PointInRect(-1, 5, 0, 0, 18, 18));
    EXPECT_FALSE(PointInRect(5, -1, 0, 0, 18, 18));
    EXPECT_FALSE(PointInRect(19, 5, 0, 0, 18, 18));
    EXPECT_FALSE(PointInRect(5, 18.5f, 0, 0, 18, 18));
    EXPECT_FALSE(PointInRect(-0.5f, 0, 0, 0, 18, 18));
}

TEST(FlatButtonModelTest, EdgeLinesOfAnEighteenPixelButton) {
    EXPECT_EQ(EdgeLineEnds(1, 18, 18), (LineEnds{{0, 0}, {0, 18}}));
    EXPECT_EQ(EdgeLineEnds(2, 18, 18), (LineEnds{{0, 17}, {18, 17}}));
    EXPECT_EQ(EdgeLineEnds(3, 18, 18), (LineEnds{{17, 0}, {17, 18}}));
    EXPECT_EQ(EdgeLineEnds(4, 18, 18), (LineEnds{{0, 0}, {18, 0}}));
    // Width and height are used independently.
    EXPECT_EQ(EdgeLineEnds(2, 137, 25), (LineEnds{{0, 24}, {137, 24}}));
    EXPECT_EQ(EdgeLineEnds(3, 137, 25), (LineEnds{{136, 0}, {136, 25}}));
}

TEST(FlatButtonModelTest, CaptionCentringKeepsHalfPixelsAndRoundsDownOnScreen) {
    const LabelOffset even = CentredLabelOffset(137, 25, 61, 13);
    EXPECT_FLOAT_EQ(even.x, 38.0f);
    EXPECT_FLOAT_EQ(even.y, 6.0f);
    const LabelOffset odd = CentredLabelOffset(137, 25, 60, 12);
    EXPECT_FLOAT_EQ(odd.x, 38.5f);
    EXPECT_FLOAT_EQ(odd.y, 6.5f);
    EXPECT_EQ(LabelOffsetToPixel(odd.x), 38);
    const LabelOffset wide = CentredLabelOffset(18, 18, 25, 13);
    EXPECT_FLOAT_EQ(wide.x, -3.5f);
    EXPECT_EQ(LabelOffsetToPixel(wide.x), -4);  // 4 pixels cut on the left, 3 on the right
    const LabelOffset empty = CentredLabelOffset(137, 25, 0, 13);
    EXPECT_FLOAT_EQ(empty.x, 68.5f);
}

TEST(FlatButtonModelTest, OnlyTheLeftButtonAloneSinks) {
    EXPECT_EQ(LookForHeldButtons(kHeldNone), Look::Raised);
    EXPECT_EQ(LookForHeldButtons(kHeldLeft), Look::Sunken);
    EXPECT_EQ(LookForHeldButtons(kHeldRight), Look::Raised);
    EXPECT_EQ(LookForHeldButtons(kHeldMiddle), Look::Raised);
    EXPECT_EQ(LookForHeldButtons(kHeldLeft | kHeldRight), Look::Raised);
    EXPECT_EQ(LookForHeldButtons(kHeldLeft | kHeldExtra1), Look::Raised);
}

TEST(FlatButtonModelTest, CreationStartsFlatWithThePollRunning) {
    FlatButtonState state = MakeButton();
    EXPECT_EQ(state.CurrentLook(), Look::Flat);
    EXPECT_TRUE(state.PollRunning());
    EXPECT_FALSE(state.CaptureHeld());
    EXPECT_TRUE(state.Enabled());

    // The first tick with the pointer elsewhere flattens and stops the poll.
    const Effects tick = state.PollTick(500, 500);
    EXPECT_EQ(state.CurrentLook(), Look::Flat);
    EXPECT_FALSE(tick.lookChanged);
    EXPECT_TRUE(tick.stopPoll);
    EXPECT_FALSE(state.PollRunning());
}

TEST(FlatButtonModelTest, SurfaceMoveInsideCapturesPollsAndShowsHeldLook) {
    FlatButtonState state = MakeButton();
    state.PollTick(-1, -1);  // poll stopped, idle

    Effects move = state.SurfaceMove(kSurfaceX, kSurfaceY, kHeldNone);
    EXPECT_TRUE(move.takeCapture);
    EXPECT_FALSE(move.releaseCapture);
    EXPECT_TRUE(move.startPoll);
    EXPECT_TRUE(move.lookChanged);
    EXPECT_TRUE(move.pumpPendingEvents);
    EXPECT_FALSE(move.raiseClick);
    EXPECT_EQ(state.CurrentLook(), Look::Raised);
    EXPECT_TRUE(state.PollRunning());
    EXPECT_TRUE(state.CaptureHeld());

    // Capture is taken on every move; the running poll is not started twice.
    move = state.SurfaceMove(kSurfaceX, kSurfaceY, kHeldLeft);
    EXPECT_TRUE(move.takeCapture);
    EXPECT_FALSE(move.startPoll);
    EXPECT_EQ(state.CurrentLook(), Look::Sunken);

    state.SurfaceMove(kSurfaceX, kSurfaceY, kHeldLeft | kHeldRight);
    EXPECT_EQ(state.CurrentLook(), Look::Raised);
}

TEST(FlatButtonModelTest, BoundsIncludeTheRightAndBottomEdgePlusOne) {
    FlatButtonState state = MakeButton(18, 18);
    state.SurfaceMove(18, 18, kHeldNone);
    EXPECT_EQ(state.CurrentLook(), Look::Raised);
    EXPECT_TRUE(state.CaptureHeld());

    Effects out = state.SurfaceMove(-1, 5, kHeldNone);
    EXPECT_TRUE(out.takeCapture);
    EXPECT_TRUE(out.releaseCapture);
    EXPECT_EQ(state.CurrentLook(), Look::Flat);
    EXPECT_FALSE(state.CaptureHeld());

    state.SurfaceMove(5, 5, kHeldNone);
    state.SurfaceMove(5, -1, kHeldNone);
    EXPECT_EQ(state.CurrentLook(), Look::Flat);
    state.SurfaceMove(5, 5, kHeldNone);
    state.SurfaceMove(19, 5, kHeldNone);
    EXPECT_EQ(state.CurrentLook(), Look::Flat);

    // The poll uses the same bounds.
    state.SurfaceMove(5, 5, kHeldNone);
    EXPECT_FALSE(state.PollTick(18, 18).stopPoll);
    EXPECT_FALSE(state.PollTick(0, 0).stopPoll);
    EXPECT_EQ(state.CurrentLook(), Look::Raised);
    EXPECT_TRUE(state.PollTick(18, 19).stopPoll);
    EXPECT_EQ(state.CurrentLook(), Look::Flat);
}

TEST(FlatButtonModelTest, OutsideMoveLeavesThePollForTheNextTick) {
    FlatButtonState state = MakeButton();
    state.SurfaceMove(kSurfaceX, kSurfaceY, kHeldNone);

    const Effects out = state.SurfaceMove(200, 10, kHeldNone);
    EXPECT_TRUE(out.releaseCapture);
    EXPECT_TRUE(out.lookChanged);
    EXPECT_FALSE(out.stopPoll);
    EXPECT_FALSE(out.startPoll);
    EXPECT_TRUE(out.pumpPendingEvents);
    EXPECT_EQ(state.CurrentLook(), Look::Flat);
    EXPECT_TRUE(state.PollRunning());

    const Effects tick = state.PollTick(200, 10);
    EXPECT_EQ(state.CurrentLook(), Look::Flat);
    EXPECT_TRUE(tick.stopPoll);
    EXPECT_FALSE(state.PollRunning());
}

TEST(FlatButtonModelTest, LabelMovesPollWithoutCaptureOrPumping) {
    FlatButtonState state = MakeButton();  // label at (38.5, 6) size 60 x 13
    state.PollTick(-1, -1);
    EXPECT_EQ(state.LabelLeft(), 38);
    EXPECT_EQ(state.LabelTop(), 6);
    EXPECT_TRUE(state.HitsLabel(38, 6));
    EXPECT_TRUE(state.HitsLabel(97, 18));
    EXPECT_FALSE(state.HitsLabel(98, 18));
    EXPECT_FALSE(state.HitsLabel(37, 10));

    const Effects move = state.PointerMove(60, 12, kHeldLeft);
    EXPECT_FALSE(move.takeCapture);
    EXPECT_FALSE(move.releaseCapture);
    EXPECT_FALSE(move.pumpPendingEvents);
    EXPECT_TRUE(move.startPoll);
    EXPECT_EQ(state.CurrentLook(), Look::Sunken);
    EXPECT_FALSE(state.CaptureHeld());

    state.LabelMove(kHeldRight);
    EXPECT_EQ(state.CurrentLook(), Look::Raised);

    // Off the label the surface path takes over.
    EXPECT_TRUE(state.PointerMove(kSurfaceX, kSurfaceY, kHeldNone).takeCapture);
}

TEST(FlatButtonModelTest, OnlyTheVisiblePartOfAWideLabelIsTheLabel) {
    FlatButtonState state;
    state.LabelSized(25, 13);
    state.Resize(18, 18);  // label from x = -4 to 21
    EXPECT_EQ(state.LabelLeft(), -4);
    EXPECT_TRUE(state.HitsLabel(0, 5));
    EXPECT_TRUE(state.HitsLabel(17, 5));
    EXPECT_FALSE(state.HitsLabel(-2, 5));
    EXPECT_FALSE(state.HitsLabel(18, 5));
    // So a captured move just outside still takes the surface path and releases the capture.
    state.SurfaceMove(5, 2, kHeldNone);
    EXPECT_TRUE(state.PointerMove(-2, 5, kHeldNone).releaseCapture);
}

TEST(FlatButtonModelTest, OnlyALeftPressAndReleaseOnTheButtonClicks) {
    FlatButtonState state = MakeButton();
    state.SurfaceMove(kSurfaceX, kSurfaceY, kHeldNone);

    // Right and middle: sunken while down, raised after, never a Click.
    for (MouseButton button : {MouseButton::Right, MouseButton::Middle}) {
        const Effects down = state.ButtonDown(button);
        EXPECT_EQ(state.CurrentLook(), Look::Sunken);
        EXPECT_FALSE(down.takeCapture);
        const Effects up = state.ButtonUp(button, kSurfaceX, kSurfaceY);
        EXPECT_EQ(state.CurrentLook(), Look::Raised);
        EXPECT_FALSE(up.raiseClick);
    }

    // A lone left release (the press was elsewhere: a menu closed under the pointer) does nothing.
    EXPECT_FALSE(state.ButtonUp(MouseButton::Left, kSurfaceX, kSurfaceY).raiseClick);

    // A left press takes the capture; its release on the button clicks once.
    const Effects down = state.ButtonDown(MouseButton::Left);
    EXPECT_TRUE(down.takeCapture);
    EXPECT_FALSE(down.raiseClick);
    EXPECT_TRUE(state.LeftPressed());
    const Effects up = state.ButtonUp(MouseButton::Left, kSurfaceX, kSurfaceY);
    EXPECT_EQ(state.CurrentLook(), Look::Raised);
    EXPECT_TRUE(up.raiseClick);
    EXPECT_FALSE(up.pumpPendingEvents);
    EXPECT_FALSE(state.LeftPressed());
    EXPECT_FALSE(state.ButtonUp(MouseButton::Left, kSurfaceX, kSurfaceY).raiseClick);  // once only
}

TEST(FlatButtonModelTest, ALeftPressDraggedOutsideKeepsTheCaptureAndClicksOnlyBackInside) {
    FlatButtonState state = MakeButton();
    state.SurfaceMove(kSurfaceX, kSurfaceY, kHeldNone);
    state.ButtonDown(MouseButton::Left);

    // Outside: flat, but the capture stays for the release.
    Effects away = state.SurfaceMove(-5, 40, kHeldLeft);
    EXPECT_EQ(state.CurrentLook(), Look::Flat);
    EXPECT_FALSE(away.releaseCapture);
    EXPECT_TRUE(state.CaptureHeld());
    const Effects outside = state.ButtonUp(MouseButton::Left, -5, 40);
    EXPECT_FALSE(outside.raiseClick);
    EXPECT_TRUE(outside.releaseCapture);
    EXPECT_EQ(state.CurrentLook(), Look::Flat);

    // Out and back in again before the release: a click, sunken while back over it.
    state.ButtonDown(MouseButton::Left);
    state.SurfaceMove(200, 3, kHeldLeft);
    state.SurfaceMove(kSurfaceX, kSurfaceY, kHeldLeft);
    EXPECT_EQ(state.CurrentLook(), Look::Sunken);
    EXPECT_TRUE(state.ButtonUp(MouseButton::Left, kSurfaceX, kSurfaceY).raiseClick);

    // A press whose capture another window took, or whose button was disabled, ends in nothing.
    state.ButtonDown(MouseButton::Left);
    state.CaptureLost();
    EXPECT_FALSE(state.ButtonUp(MouseButton::Left, kSurfaceX, kSurfaceY).raiseClick);
    state.ButtonDown(MouseButton::Left);
    EXPECT_TRUE(state.EnabledChanged(false).releaseCapture);
    state.EnabledChanged(true);
    EXPECT_FALSE(state.ButtonUp(MouseButton::Left, kSurfaceX, kSurfaceY).raiseClick);
}

TEST(FlatButtonModelTest, SpaceClicksOnReleaseEnterAtOnceAndLosingTheFocusDropsThePress) {
    FlatButtonState state = MakeButton();
    state.PollTick(-1, -1);
    EXPECT_TRUE(state.FocusChanged(true, false).repaint);
    EXPECT_TRUE(state.Focused());
    // The focus rectangle: only with the focus, and only while the UI state lets it show.
    EXPECT_TRUE(FocusRectangleShown(true, false));
    EXPECT_FALSE(FocusRectangleShown(true, true));
    EXPECT_FALSE(FocusRectangleShown(false, false));

    EXPECT_FALSE(state.SpaceDown(false).raiseClick);
    EXPECT_EQ(state.CurrentLook(), Look::Sunken);
    EXPECT_FALSE(state.SpaceDown(true).raiseClick);  // held: the key repeats
    const Effects up = state.SpaceUp(false);
    EXPECT_TRUE(up.raiseClick);
    EXPECT_EQ(state.CurrentLook(), Look::Flat);  // the pointer is elsewhere
    EXPECT_FALSE(state.SpaceUp(false).raiseClick);  // a release without its press

    state.SpaceDown(false);
    EXPECT_TRUE(state.SpaceUp(true).raiseClick);
    EXPECT_EQ(state.CurrentLook(), Look::Raised);

    EXPECT_TRUE(state.EnterDown(false).raiseClick);
    EXPECT_FALSE(state.EnterDown(true).raiseClick);

    state.SpaceDown(false);
    const Effects gone = state.FocusChanged(false, false);
    EXPECT_TRUE(gone.repaint);
    EXPECT_FALSE(gone.raiseClick);
    EXPECT_EQ(state.CurrentLook(), Look::Flat);
    EXPECT_FALSE(state.SpaceUp(false).raiseClick);
}

TEST(FlatButtonModelTest, HighContrastDrawsInSystemColoursAndKeepsTheLooksApart) {
    const SystemColours black{0xFFFFFF, 0x3FF23F, 0x1AEBFF};  // High Contrast Black
    // Off: the fixed colours, whatever the system's.
    for (Look look : {Look::Flat, Look::Raised, Look::Sunken})
        for (int line = 1; line <= 4; ++line)
            EXPECT_EQ(DrawnLineColour(look, line, false, black), LineColour(look, line));
    EXPECT_EQ(DrawnCaptionColour(true, false, black), 0x000000u);
    EXPECT_EQ(DrawnCaptionColour(false, false, black), 0xC0C0C0u);

    // On: the caption in the button text, grey text when disabled.
    EXPECT_EQ(DrawnCaptionColour(true, true, black), 0xFFFFFFu);
    EXPECT_EQ(DrawnCaptionColour(false, true, black), 0x3FF23Fu);
    // Every line drawn in a system colour, and no two looks alike.
    auto lines = [&](Look look) {
        std::array<Rgb, 4> colours{};
        for (int line = 1; line <= 4; ++line) colours[line - 1] = DrawnLineColour(look, line, true, black);
        return colours;
    };
    for (Look look : {Look::Flat, Look::Raised, Look::Sunken})
        for (Rgb colour : lines(look)) EXPECT_TRUE(colour == black.buttonText || colour == black.highlight);
    EXPECT_NE(lines(Look::Flat), lines(Look::Raised));
    EXPECT_NE(lines(Look::Flat), lines(Look::Sunken));
    EXPECT_NE(lines(Look::Raised), lines(Look::Sunken));
    EXPECT_EQ(DrawnLineColour(Look::Raised, 4, true, black), black.highlight);  // lit top and left
    EXPECT_EQ(DrawnLineColour(Look::Sunken, 2, true, black), black.highlight);  // lit bottom and right
}

TEST(FlatButtonModelTest, EnabledWriteChangesOnlyTheCaptionColour) {
    FlatButtonState state = MakeButton();
    state.SurfaceMove(kSurfaceX, kSurfaceY, kHeldNone);

    const Effects off = state.EnabledChanged(false);
    EXPECT_TRUE(off.recolourCaption);
    EXPECT_FALSE(off.lookChanged || off.startPoll || off.stopPoll || off.releaseCapture);
    EXPECT_EQ(state.CaptionColourNow(), 0xC0C0C0u);
    EXPECT_EQ(state.CurrentLook(), Look::Raised);
    EXPECT_TRUE(state.PollRunning());

    // The still-running poll flattens it once the pointer has gone.
    state.PollTick(-1, -1);
    EXPECT_EQ(state.CurrentLook(), Look::Flat);

    state.EnabledChanged(true);
    EXPECT_EQ(state.CaptionColourNow(), 0x000000u);
}

TEST(FlatButtonModelTest, ResizeMovesLinesAndLabelButKeepsColours) {
    FlatButtonState state = MakeButton();
    state.ButtonDown(MouseButton::Right);
    const Effects resize = state.Resize(73, 18);
    EXPECT_TRUE(resize.relayout);
    EXPECT_FALSE(resize.lookChanged);
    EXPECT_EQ(state.CurrentLook(), Look::Sunken);
    EXPECT_EQ(state.Line(3), (LineEnds{{72, 0}, {72, 18}}));
    EXPECT_FLOAT_EQ(state.LabelPosition().x, 6.5f);
    EXPECT_FLOAT_EQ(state.LabelPosition().y, 2.5f);
    EXPECT_EQ(state.LabelLeft(), 6);
    EXPECT_EQ(state.LabelTop(), 2);
}

TEST(FlatButtonModelTest, CaptionWriteCentresAtOnce) {
    FlatButtonState state;
    state.Resize(137, 25);
    EXPECT_TRUE(state.LabelSized(80, 13).relayout);  // no resize needed
    EXPECT_FLOAT_EQ(state.LabelPosition().x, 28.5f);

    EXPECT_TRUE(state.LabelSized(0, 13).relayout);  // empty caption: in the middle
    EXPECT_FLOAT_EQ(state.LabelPosition().x, 68.5f);
    EXPECT_FLOAT_EQ(state.LabelPosition().y, 6.0f);
}

}  // namespace
}  // namespace qorvani
