#pragma once
// A control instance's stored properties: keys with text or Boolean values, keys matched without
// regard to case (the stored form data spell "Captain" as "captain"). Keys are ASCII
// identifiers, so case is folded for A-Z only.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace qorvani {

class PropertyBag {
public:
    using Value = std::variant<std::wstring, bool>;

    // Stores the value, replacing that of a key equal without regard to case (the key keeps the
    // spelling it was first stored with).
    void Write(std::wstring_view key, Value value);
    // Removes the key if present; true when something was removed.
    bool Erase(std::wstring_view key);
    // The stored value, or nullptr when the key is missing.
    const Value* Find(std::wstring_view key) const;

    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }

    static bool KeysEqual(std::wstring_view a, std::wstring_view b);

private:
    std::vector<std::pair<std::wstring, Value>> entries_;
};

}  // namespace qorvani
