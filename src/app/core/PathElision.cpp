#include "app/core/PathElision.h"

namespace qorvani {
namespace {

// The largest n in [0, high] for which fits(n) holds, fits being monotone (true up to some n);
// -1 when fits(0) does not hold.
int LargestFitting(int high, const std::function<bool(int)>& fits) {
    if (!fits(0)) return -1;
    int low = 0;  // fits(low) holds
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

// A UTF-16 pair (a character beyond the Basic Multilingual Plane, such as CJK Extension B) is
// never cut in two: half of it would be drawn as a box.
bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::wstring ElidePath(std::wstring_view text, int width, const std::function<int(std::wstring_view)>& measure) {
    if (measure(text) <= width) return std::wstring(text);
    std::wstring candidate;
    const std::size_t lastSeparator = text.find_last_of(L"\\/");
    if (lastSeparator != std::wstring_view::npos && lastSeparator > 0) {
        const std::wstring_view tail = text.substr(lastSeparator);
        auto withHead = [&](int head) {
            candidate.assign(text.substr(0, static_cast<std::size_t>(head)));
            candidate.append(kElision);
            candidate.append(tail);
            return measure(candidate) <= width;
        };
        int head = LargestFitting(static_cast<int>(lastSeparator), withHead);
        if (head > 0 && IsHighSurrogate(text[static_cast<std::size_t>(head) - 1])) --head;
        if (head >= 0) {
            withHead(head);
            return candidate;
        }
    }
    auto withEnd = [&](int kept) {
        candidate.assign(kElision);
        candidate.append(text.substr(text.size() - static_cast<std::size_t>(kept)));
        return measure(candidate) <= width;
    };
    int kept = LargestFitting(static_cast<int>(text.size()), withEnd);
    if (kept < 0) return std::wstring(kElision);
    if (kept > 0 && IsLowSurrogate(text[text.size() - static_cast<std::size_t>(kept)])) --kept;
    withEnd(kept);
    return candidate;
}

}  // namespace qorvani
