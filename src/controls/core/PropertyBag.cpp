#include "controls/core/PropertyBag.h"

#include <algorithm>

namespace qorvani {

namespace {

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

bool PropertyBag::KeysEqual(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

void PropertyBag::Write(std::wstring_view key, Value value) {
    for (auto& entry : entries_) {
        if (KeysEqual(entry.first, key)) {
            entry.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::wstring(key), std::move(value));
}

bool PropertyBag::Erase(std::wstring_view key) {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [key](const auto& entry) { return KeysEqual(entry.first, key); });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

const PropertyBag::Value* PropertyBag::Find(std::wstring_view key) const {
    for (const auto& entry : entries_) {
        if (KeysEqual(entry.first, key)) return &entry.second;
    }
    return nullptr;
}

}  // namespace qorvani
