#pragma once
#include <windows.h>

#include "catalogue/core/TypeList.h"

namespace qorvani {

// The catalogue's strings from the program's own string table.
class ResourceStrings final : public StringSource {
public:
    explicit ResourceStrings(HINSTANCE instance) : instance_(instance) {}
    std::wstring Load(unsigned id) override;

private:
    HINSTANCE instance_;
};

}  // namespace qorvani
