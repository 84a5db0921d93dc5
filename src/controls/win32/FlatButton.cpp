#include "controls/win32/FlatButton.h"

#include <windowsx.h>

#include <array>
#include <memory>
#include <string>

#include "common/win32/BaseWindow.h"
#include "common/win32/ControlFactory.h"
#include "common/win32/DeviceContext.h"
#include "common/win32/GdiObject.h"
#include "common/win32/MessagePump.h"
#include "controls/core/FlatButtonModel.h"
#include "controls/win32/FlatButtonAccessible.h"
#include "controls/win32/SystemColours.h"

namespace qorvani {

namespace {

constexpr UINT_PTR kPollTimerId = 1;
// The poll asks for the shortest period; the system raises it to its own minimum.
constexpr UINT kPollPeriodMs = 1;

// Lines that overlap at a corner: the bottom and right lines are painted last, so they own the
// corners they share with the left and top lines, as in the system's own 3-D edges.
constexpr std::array<int, kLineCount> kPaintOrder = {4, 1, 2, 3};
// The focus rectangle stands this many pixels inside the button's outer edge.
constexpr int kFocusInset = 2;

MouseButton ButtonOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return MouseButton::Middle;
    default: return MouseButton::Other;
    }
}

unsigned HeldButtonsFrom(WPARAM keys) {
    unsigned held = kHeldNone;
    if (keys & MK_LBUTTON) held |= kHeldLeft;
    if (keys & MK_RBUTTON) held |= kHeldRight;
    if (keys & MK_MBUTTON) held |= kHeldMiddle;
    if (keys & MK_XBUTTON1) held |= kHeldExtra1;
    if (keys & MK_XBUTTON2) held |= kHeldExtra2;
    return held;
}

class FlatButton final : public BaseWindow<FlatButton> {
public:
    static constexpr const wchar_t* kClassName = kFlatButtonClassName;

    static bool Register(HINSTANCE instance) {
        // No CS_DBLCLKS: a fast second click is a second press and release, and a second Click.
        return RegisterClassOnce(instance, {.style = CS_HREDRAW | CS_VREDRAW});
    }

private:
    friend class BaseWindow<FlatButton>;
    // Every flat button is made by class name (from a layout table, or CreateFlatButton): its
    // object is made with the window, its caption is the window text.
    static std::unique_ptr<FlatButton> MadeByName() { return std::make_unique<FlatButton>(); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate();
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFont(HFONT font, bool redraw);
    LRESULT OnTimer(UINT_PTR id);
    LRESULT OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnKey(UINT message, WPARAM key, LPARAM flags);
    LRESULT OnGetDlgCode(const MSG* message) const;
    void OnSystemColours();
    bool PointerInside() const;
    bool HighContrast() const { return forcedHighContrast_ >= 0 ? forcedHighContrast_ != 0 : highContrast_; }
    bool FocusShown() const;
    LRESULT OnPaint();
    LRESULT OnGetLine(WPARAM line, POINT* ends) const;

    // Carries the steps out in the order of the Effects members. Pumping and raising Click come
    // last: the window (and this object) may be gone when they return.
    void Execute(const Effects& effects);
    void RaiseClick();

    HFONT Font() const {
        return font_ != nullptr ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    SIZE MeasureLabel() const;
    void PaintBuffered(HDC target);
    void Draw(HDC dc) const;

    HFONT font_ = nullptr;  // owned by whoever set it
    FlatButtonState state_;
    bool highContrast_ = false;   // the system's High Contrast setting, read at creation and changes
    int forcedHighContrast_ = -1;  // FBM_SETHIGHCONTRAST: -1 follow the system, 0 off, 1 on
    SystemColours system_;
};

LRESULT FlatButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_DESTROY: KillTimer(hwnd_, kPollTimerId); return 0;
    case WM_SIZE: Execute(state_.Resize(LOWORD(lParam), HIWORD(lParam))); return 0;
    case WM_SETTEXT: return OnSetText(wParam, lParam);
    case WM_SETFONT: return OnSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_ENABLE: Execute(state_.EnabledChanged(wParam != FALSE)); return 0;
    case WM_TIMER: return OnTimer(static_cast<UINT_PTR>(wParam));
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd_) state_.CaptureLost();
        return 0;
    case WM_GETDLGCODE: return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
    case WM_KEYUP: return OnKey(message, wParam, lParam);
    case WM_SETFOCUS: Execute(state_.FocusChanged(true, PointerInside())); return 0;
    case WM_KILLFOCUS: Execute(state_.FocusChanged(false, PointerInside())); return 0;
    case WM_UPDATEUISTATE: {
        // Repainted only when the focus rectangle comes or goes (a repaint for nothing would
        // also draw over the neighbours the button overlaps, in another order than before).
        const bool before = FocusShown();
        const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
        if (FocusShown() != before) InvalidateRect(hwnd_, nullptr, FALSE);
        return result;
    }
    case BM_CLICK:
        // The click of the system's own buttons, as accessibility tools and other programs send it.
        if (IsWindowEnabled(hwnd_)) RaiseClick();
        return 0;
    case BM_GETSTATE:
        return (state_.CurrentLook() == Look::Sunken ? BST_PUSHED : 0) | (state_.Focused() ? BST_FOCUS : 0);
    case WM_GETOBJECT: return AnswerFlatButtonObject(hwnd_, wParam, lParam);
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: OnSystemColours(); return 0;
    case FBM_SETHIGHCONTRAST:
        forcedHighContrast_ = static_cast<int>(wParam) < 0 ? -1 : (wParam != 0 ? 1 : 0);
        OnSystemColours();
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: return OnMouse(message, wParam, lParam);
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: return OnPaint();
    case WM_PRINTCLIENT: Draw(reinterpret_cast<HDC>(wParam)); return 0;
    case FBM_GETLOOK: return static_cast<LRESULT>(state_.CurrentLook());
    case FBM_GETSTATE:
        return (state_.PollRunning() ? FBS_POLLRUNNING : 0) |
               (GetCapture() == hwnd_ ? FBS_CAPTUREHELD : 0);
    case FBM_GETLABELRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr) return FALSE;
        *rect = {state_.LabelLeft(), state_.LabelTop(), state_.LabelLeft() + state_.LabelWidth(),
                 state_.LabelTop() + state_.LabelHeight()};
        return TRUE;
    }
    case FBM_GETLINE: return OnGetLine(wParam, reinterpret_cast<POINT*>(lParam));
    case FBM_GETLINECOLOR:
        if (wParam < 1 || wParam > kLineCount) return -1;
        return static_cast<LRESULT>(
            DrawnLineColour(state_.CurrentLook(), static_cast<int>(wParam), HighContrast(), system_));
    case FBM_GETCAPTIONCOLOR:
        return static_cast<LRESULT>(DrawnCaptionColour(state_.Enabled(), HighContrast(), system_));
    default: return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

LRESULT FlatButton::OnCreate() {
    SetTimer(hwnd_, kPollTimerId, kPollPeriodMs, nullptr);  // the poll runs from creation
    highContrast_ = SystemHighContrast();
    system_ = CurrentSystemColours();
    state_.EnabledChanged(IsWindowEnabled(hwnd_) != FALSE);
    const SIZE label = MeasureLabel();
    Execute(state_.LabelSized(label.cx, label.cy));
    return 0;
}

LRESULT FlatButton::OnSetText(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcW(hwnd_, WM_SETTEXT, wParam, lParam);
    const SIZE label = MeasureLabel();
    Execute(state_.LabelSized(label.cx, label.cy));
    return result;
}

LRESULT FlatButton::OnSetFont(HFONT font, bool redraw) {
    font_ = font;
    const SIZE label = MeasureLabel();
    state_.LabelSized(label.cx, label.cy);
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (redraw) UpdateWindow(hwnd_);
    return 0;
}

LRESULT FlatButton::OnTimer(UINT_PTR id) {
    if (id != kPollTimerId) return 0;
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(hwnd_, &cursor);
    Execute(state_.PollTick(cursor.x, cursor.y));
    return 0;
}

LRESULT FlatButton::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    // A disabled button reacts to no mouse input, also to input queued before it was disabled.
    if (!IsWindowEnabled(hwnd_)) return 0;
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_MOUSEMOVE: Execute(state_.PointerMove(x, y, HeldButtonsFrom(wParam))); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: Execute(state_.ButtonDown(ButtonOf(message))); break;
    default: Execute(state_.ButtonUp(ButtonOf(message), x, y)); break;
    }
    return 0;
}

// Space and Enter come to the button itself: Space as for a push button (pressed on the key's
// way down, clicked on its way up), Enter asked for here so that the window's keyboard
// navigation hands it over instead of treating it as the window's own Enter.
LRESULT FlatButton::OnGetDlgCode(const MSG* message) const {
    LRESULT code = DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    if (message != nullptr && message->message == WM_KEYDOWN && message->wParam == VK_RETURN)
        code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT FlatButton::OnKey(UINT message, WPARAM key, LPARAM flags) {
    if (!IsWindowEnabled(hwnd_)) return 0;
    const bool repeated = (flags & (1 << 30)) != 0;  // the key was already down
    if (key == VK_SPACE) {
        Execute(message == WM_KEYDOWN ? state_.SpaceDown(repeated) : state_.SpaceUp(PointerInside()));
        return 0;
    }
    if (key == VK_RETURN && message == WM_KEYDOWN) {
        Execute(state_.EnterDown(repeated));
        return 0;
    }
    return DefWindowProcW(hwnd_, message, key, flags);
}

void FlatButton::OnSystemColours() {
    highContrast_ = SystemHighContrast();
    system_ = CurrentSystemColours();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

bool FlatButton::PointerInside() const {
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return false;
    ScreenToClient(hwnd_, &cursor);
    return state_.Contains(cursor.x, cursor.y);
}

// The focus rectangle shows while the button has the focus, unless the window's UI state hides
// it (the user has worked with the mouse only since the window opened).
bool FlatButton::FocusShown() const {
    return FocusRectangleShown(GetFocus() == hwnd_,
                               (SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0);
}

LRESULT FlatButton::OnPaint() {
    const PaintDc paint = BeginPaintDc(hwnd_);
    if (paint.Get() != nullptr) PaintBuffered(paint.Get());
    return 0;
}

LRESULT FlatButton::OnGetLine(WPARAM line, POINT* ends) const {
    if (ends == nullptr || line < 1 || line > kLineCount) return FALSE;
    const LineEnds segment = state_.Line(static_cast<int>(line));
    ends[0] = {segment.start.x, segment.start.y};
    ends[1] = {segment.end.x, segment.end.y};
    return TRUE;
}

void FlatButton::Execute(const Effects& effects) {
    if (effects.takeCapture) SetCapture(hwnd_);
    // Only our own capture is given back, never another window's.
    if (effects.releaseCapture && GetCapture() == hwnd_) ReleaseCapture();
    if (effects.startPoll) SetTimer(hwnd_, kPollTimerId, kPollPeriodMs, nullptr);
    if (effects.lookChanged || effects.relayout || effects.recolourCaption || effects.repaint) {
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
    if (effects.stopPoll) KillTimer(hwnd_, kPollTimerId);
    if (effects.pumpPendingEvents) {
        PumpPendingMessages();
        return;  // nested handlers may have destroyed the window
    }
    if (effects.raiseClick) RaiseClick();
}

void FlatButton::RaiseClick() {
    const HWND self = hwnd_;
    const HWND parent = GetParent(self);
    const int id = GetDlgCtrlID(self);
    // Synchronous, and the last thing done: the handler may destroy this button.
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(self));
}

SIZE FlatButton::MeasureLabel() const {
    SIZE size{};
    const WindowDc dc = GetWindowDc(hwnd_);
    if (dc.Get() == nullptr) return size;
    const SelectedObject font = SelectInto(dc.Get(), Font());
    const std::wstring text = ControlText(hwnd_);
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc.Get(), &metrics)) size.cy = metrics.tmHeight;  // also for ""
    if (text.empty()) size.cx = 0;
    return size;
}

void FlatButton::PaintBuffered(HDC target) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;
    const MemoryDc buffer = CreateMemoryDc(target);
    Bitmap bitmap(CreateCompatibleBitmap(target, width, height));
    if (buffer.Get() == nullptr || !bitmap) {
        Draw(target);
        return;
    }
    const SelectedObject selected = SelectInto(buffer.Get(), bitmap.Get());
    Draw(buffer.Get());
    BitBlt(target, 0, 0, width, height, buffer.Get(), 0, 0, SRCCOPY);
}

void FlatButton::Draw(HDC dc) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

    const std::wstring text = ControlText(hwnd_);
    if (!text.empty()) {
        const SelectedObject font = SelectInto(dc, Font());
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColour =
            SetTextColor(dc, ToColorRef(DrawnCaptionColour(state_.Enabled(), HighContrast(), system_)));
        const UINT oldAlign = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        ExtTextOutW(dc, state_.LabelLeft(), state_.LabelTop(), ETO_CLIPPED, &client,
                    text.c_str(), static_cast<UINT>(text.size()), nullptr);
        SetTextAlign(dc, oldAlign);
        SetTextColor(dc, oldColour);
        SetBkMode(dc, oldMode);
    }

    if (FocusShown()) {
        // Inside the edges, one pixel clear of them.
        RECT focus = client;
        InflateRect(&focus, -kFocusInset, -kFocusInset);
        if (focus.right > focus.left && focus.bottom > focus.top) {
            const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            const COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            DrawFocusRect(dc, &focus);
            SetBkColor(dc, oldBack);
            SetTextColor(dc, oldText);
        }
    }

    for (int line : kPaintOrder) {
        const COLORREF colour = ToColorRef(DrawnLineColour(state_.CurrentLook(), line, HighContrast(), system_));
        const LineEnds segment = state_.Line(line);
        Pen pen(CreatePen(PS_SOLID, 1, colour));
        if (!pen) continue;
        const SelectedObject selected = SelectInto(dc, pen.Get());
        MoveToEx(dc, segment.start.x, segment.start.y, nullptr);
        LineTo(dc, segment.end.x, segment.end.y);
        SetPixelV(dc, segment.end.x, segment.end.y, colour);  // LineTo leaves the end point out
    }
}

}  // namespace

bool RegisterFlatButtonClass(HINSTANCE instance) { return FlatButton::Register(instance); }

HWND CreateFlatButton(HWND parent, int controlId, const wchar_t* caption, int x, int y, int width, int height,
                      HINSTANCE instance) {
    return CreateWindowExW(0, kFlatButtonClassName, caption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, x, y, width,
                           height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance,
                           nullptr);
}

}  // namespace qorvani
