#include "controls/core/FlatButtonModel.h"

#include <cmath>

namespace qorvani {

namespace {

// Colours of lines 1 (left), 2 (bottom), 3 (right), 4 (top) in each look.
constexpr std::array<Rgb, kLineCount> kFlatLook = {kLightGrey, kLightGrey, kLightGrey, kLightGrey};
constexpr std::array<Rgb, kLineCount> kRaisedLook = {kWhite, kBlack, kBlack, kWhite};
constexpr std::array<Rgb, kLineCount> kSunkenLook = {kBlack, kWhite, kWhite, kBlack};

const std::array<Rgb, kLineCount>& ColoursOf(Look look) {
    switch (look) {
    case Look::Raised: return kRaisedLook;
    case Look::Sunken: return kSunkenLook;
    case Look::Flat: break;
    }
    return kFlatLook;
}

bool ValidLine(int lineNumber) { return lineNumber >= 1 && lineNumber <= kLineCount; }

}  // namespace

Rgb LineColour(Look look, int lineNumber) {
    if (!ValidLine(lineNumber)) return kLightGrey;
    return ColoursOf(look)[static_cast<std::size_t>(lineNumber - 1)];
}

bool PointInRect(float x, float y, float left, float top, float right, float bottom) {
    return left <= x && x <= right && top <= y && y <= bottom;
}

LineEnds EdgeLineEnds(int lineNumber, int width, int height) {
    switch (lineNumber) {
    case 1: return {{0, 0}, {0, height}};
    case 2: return {{0, height - 1}, {width, height - 1}};
    case 3: return {{width - 1, 0}, {width - 1, height}};
    case 4: return {{0, 0}, {width, 0}};
    default: return {};
    }
}

LabelOffset CentredLabelOffset(int width, int height, int labelWidth, int labelHeight) {
    return {static_cast<float>(width - labelWidth) / 2.0f,
            static_cast<float>(height - labelHeight) / 2.0f};
}

int LabelOffsetToPixel(float offset) { return static_cast<int>(std::floor(offset)); }

Look LookForHeldButtons(unsigned heldButtons) {
    return heldButtons == kHeldLeft ? Look::Sunken : Look::Raised;
}

Rgb DrawnCaptionColour(bool enabled, bool highContrast, const SystemColours& system) {
    if (!highContrast) return CaptionColour(enabled);
    return enabled ? system.buttonText : system.grayText;
}

Rgb DrawnLineColour(Look look, int lineNumber, bool highContrast, const SystemColours& system) {
    if (!highContrast) return LineColour(look, lineNumber);
    const bool topOrLeft = lineNumber == 1 || lineNumber == 4;
    switch (look) {
    case Look::Raised: return topOrLeft ? system.highlight : system.buttonText;
    case Look::Sunken: return topOrLeft ? system.buttonText : system.highlight;
    case Look::Flat: break;
    }
    return system.buttonText;
}

FlatButtonState::FlatButtonState() : lineColours_(kFlatLook) {}

Effects FlatButtonState::SurfaceMove(int x, int y, unsigned heldButtons) {
    Effects effects;
    effects.takeCapture = true;
    captureHeld_ = true;
    if (Inside(x, y)) {
        StartPoll(effects);
        ApplyLook(LookForHeldButtons(heldButtons), effects);
    } else {
        // A left press keeps the capture, so that its release comes back here (and clicks
        // nothing, unless the pointer has come back onto the button).
        if (!leftPressed_) {
            effects.releaseCapture = true;
            captureHeld_ = false;
        }
        ApplyLook(Look::Flat, effects);
    }
    effects.pumpPendingEvents = true;
    return effects;
}

Effects FlatButtonState::LabelMove(unsigned heldButtons) {
    Effects effects;
    StartPoll(effects);
    ApplyLook(LookForHeldButtons(heldButtons), effects);
    return effects;
}

Effects FlatButtonState::PointerMove(int x, int y, unsigned heldButtons) {
    return HitsLabel(x, y) ? LabelMove(heldButtons) : SurfaceMove(x, y, heldButtons);
}

Effects FlatButtonState::ButtonDown(MouseButton button) {
    Effects effects;
    ApplyLook(Look::Sunken, effects);
    if (button == MouseButton::Left) {
        leftPressed_ = true;
        effects.takeCapture = true;
        captureHeld_ = true;
    }
    return effects;
}

Effects FlatButtonState::ButtonUp(MouseButton button, int x, int y) {
    Effects effects;
    const bool inside = Inside(x, y);
    ApplyLook(inside ? Look::Raised : Look::Flat, effects);
    if (button == MouseButton::Left && leftPressed_) {
        leftPressed_ = false;
        effects.raiseClick = inside;
        if (!inside) {
            effects.releaseCapture = true;
            captureHeld_ = false;
        }
    }
    return effects;
}

Effects FlatButtonState::SpaceDown(bool repeated) {
    Effects effects;
    if (repeated && spacePressed_) return effects;
    spacePressed_ = true;
    ApplyLook(Look::Sunken, effects);
    return effects;
}

Effects FlatButtonState::SpaceUp(bool pointerInside) {
    Effects effects;
    if (!spacePressed_) return effects;
    spacePressed_ = false;
    ApplyLook(pointerInside ? Look::Raised : Look::Flat, effects);
    effects.raiseClick = true;
    return effects;
}

Effects FlatButtonState::EnterDown(bool repeated) {
    Effects effects;
    effects.raiseClick = !repeated;
    return effects;
}

Effects FlatButtonState::FocusChanged(bool focused, bool pointerInside) {
    Effects effects;
    focused_ = focused;
    effects.repaint = true;
    if (!focused && spacePressed_) {
        spacePressed_ = false;
        ApplyLook(pointerInside ? Look::Raised : Look::Flat, effects);
    }
    return effects;
}

Effects FlatButtonState::PollTick(int x, int y) {
    Effects effects;
    if (!Inside(x, y)) {
        ApplyLook(Look::Flat, effects);
        effects.stopPoll = true;
        pollRunning_ = false;
    }
    return effects;
}

Effects FlatButtonState::EnabledChanged(bool enabled) {
    Effects effects;
    enabled_ = enabled;
    // A disabled button finishes no press: its release (or key) comes to nothing.
    if (!enabled) {
        if (leftPressed_) {
            effects.releaseCapture = true;
            captureHeld_ = false;
        }
        leftPressed_ = false;
        spacePressed_ = false;
    }
    effects.recolourCaption = true;
    return effects;
}

Effects FlatButtonState::Resize(int width, int height) {
    width_ = width;
    height_ = height;
    return Recentred();
}

Effects FlatButtonState::LabelSized(int labelWidth, int labelHeight) {
    labelWidth_ = labelWidth;
    labelHeight_ = labelHeight;
    return Recentred();
}

Effects FlatButtonState::Recentred() {
    Centre();
    Effects effects;
    effects.relayout = true;
    return effects;
}

Look FlatButtonState::CurrentLook() const {
    if (lineColours_ == kRaisedLook) return Look::Raised;
    if (lineColours_ == kSunkenLook) return Look::Sunken;
    return Look::Flat;
}

bool FlatButtonState::HitsLabel(int x, int y) const {
    // The label is clipped by the control: only its visible part takes the label's path.
    const bool onControl = x >= 0 && y >= 0 && x < width_ && y < height_;
    const int left = LabelLeft();
    const int top = LabelTop();
    const bool onLabel =
        x >= left && x < left + labelWidth_ && y >= top && y < top + labelHeight_;
    return onControl && onLabel;
}

void FlatButtonState::ApplyLook(Look look, Effects& effects) {
    const auto& colours = ColoursOf(look);
    for (int line : kRecolourOrder) {
        const auto index = static_cast<std::size_t>(line - 1);
        if (lineColours_[index] != colours[index]) effects.lookChanged = true;
        lineColours_[index] = colours[index];
    }
}

void FlatButtonState::StartPoll(Effects& effects) {
    if (!pollRunning_) effects.startPoll = true;
    pollRunning_ = true;
}

bool FlatButtonState::Inside(int x, int y) const {
    return PointInRect(static_cast<float>(x), static_cast<float>(y), 0.0f, 0.0f,
                       static_cast<float>(width_), static_cast<float>(height_));
}

void FlatButtonState::Centre() {
    labelPosition_ = CentredLabelOffset(width_, height_, labelWidth_, labelHeight_);
}

}  // namespace qorvani
