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

FlatButtonState::FlatButtonState() : lineColours_(kFlatLook) {}

Effects FlatButtonState::SurfaceMove(int x, int y, unsigned heldButtons) {
    Effects effects;
    effects.takeCapture = true;
    captureHeld_ = true;
    if (Inside(x, y)) {
        StartPoll(effects);
        ApplyLook(LookForHeldButtons(heldButtons), effects);
    } else {
        effects.releaseCapture = true;
        captureHeld_ = false;
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

Effects FlatButtonState::ButtonDown() {
    Effects effects;
    ApplyLook(Look::Sunken, effects);
    return effects;
}

Effects FlatButtonState::ButtonUp() {
    Effects effects;
    ApplyLook(Look::Raised, effects);
    effects.raiseClick = true;
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
    effects.recolourCaption = true;
    return effects;
}

Effects FlatButtonState::Resize(int width, int height) {
    width_ = width;
    height_ = height;
    Centre();
    Effects effects;
    effects.relayout = true;
    return effects;
}

Effects FlatButtonState::CaptionWritten(int labelWidth, int labelHeight) {
    return LabelResized(labelWidth, labelHeight);
}

Effects FlatButtonState::LabelResized(int labelWidth, int labelHeight) {
    labelWidth_ = labelWidth;
    labelHeight_ = labelHeight;
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

Rgb FlatButtonState::LineColourNow(int lineNumber) const {
    if (!ValidLine(lineNumber)) return kLightGrey;
    return lineColours_[static_cast<std::size_t>(lineNumber - 1)];
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
    effects.applyLook = true;
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
