#pragma once
// A growable array of texts whose slot 0 always holds an empty text and is never read;
// the entries live in slots 1 to HighestIndex(). ActiveMasks and FixedDrives are held this way.
#include <cstddef>
#include <string>
#include <vector>

namespace qorvani {

class SlotArray {
public:
    SlotArray() : slots_(1) {}

    // Back to the single empty slot 0 (highest index 0).
    void Reset() { slots_.assign(1, std::wstring()); }
    // Grows by one slot, keeping the contents, and stores the text in the new last slot.
    void Append(std::wstring text) { slots_.push_back(std::move(text)); }

    std::size_t HighestIndex() const { return slots_.size() - 1; }
    bool Empty() const { return slots_.size() == 1; }
    const std::wstring& operator[](std::size_t index) const { return slots_.at(index); }

    // The entries, slot 1 to the highest index.
    auto begin() const { return slots_.begin() + 1; }
    auto end() const { return slots_.end(); }

private:
    std::vector<std::wstring> slots_;
};

using ActiveMasks = SlotArray;
using FixedDrives = SlotArray;

}  // namespace qorvani
