#include "controls/core/FlatButtonProperties.h"

#include <variant>

namespace qorvani {

namespace {

bool ReadBoolean(const PropertyBag& bag, const wchar_t* key, bool defaultValue) {
    const PropertyBag::Value* value = bag.Find(key);
    if (value == nullptr) return defaultValue;
    if (const bool* flag = std::get_if<bool>(value)) return *flag;
    const std::wstring& text = std::get<std::wstring>(*value);
    if (PropertyBag::KeysEqual(text, L"True") || text == L"-1" || text == L"1") return true;
    if (PropertyBag::KeysEqual(text, L"False") || text == L"0") return false;
    return defaultValue;
}

std::wstring ReadText(const PropertyBag& bag, const wchar_t* key) {
    const PropertyBag::Value* value = bag.Find(key);
    if (value == nullptr) return std::wstring();
    if (const std::wstring* text = std::get_if<std::wstring>(value)) return *text;
    return std::wstring();
}

}  // namespace

FlatButtonProperties LoadFlatButtonProperties(const PropertyBag& bag) {
    FlatButtonProperties properties;
    properties.captain = ReadText(bag, kCaptainKey);
    properties.enabled = ReadBoolean(bag, kEnabledKey, true);
    return properties;
}

void SaveFlatButtonProperties(PropertyBag& bag, const FlatButtonProperties& properties) {
    if (properties.captain.empty()) {
        bag.Erase(kCaptainKey);
    } else {
        bag.Write(kCaptainKey, properties.captain);
    }
    if (properties.enabled) {
        bag.Erase(kEnabledKey);
    } else {
        bag.Write(kEnabledKey, false);
    }
}

}  // namespace qorvani
