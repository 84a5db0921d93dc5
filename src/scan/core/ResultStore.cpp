#include "scan/core/ResultStore.h"

#include "scan/core/NumberText.h"
#include "scan/core/UpperCase.h"

namespace qorvani {

void ResultStore::Clear() {
    rows_.clear();
    rows_.shrink_to_fit();
    folders_.clear();
    folders_.shrink_to_fit();
}

void ResultStore::Append(const std::wstring& folder, std::wstring_view name, std::uint64_t size) {
    // Matches arrive folder by folder, so comparing with the last folder shares it.
    if (folders_.empty() || folders_.back() != folder) folders_.push_back(folder);
    rows_.push_back(Row{std::wstring(name), size, static_cast<std::uint32_t>(folders_.size() - 1), true, false});
}

std::wstring ResultStore::ExactPath(std::size_t row) const {
    const Row& r = rows_[row];
    return folders_[r.folder] + r.name;
}

std::wstring ResultStore::DisplayText(std::size_t row) const {
    const Row& r = rows_[row];
    return folders_[r.folder] + UpperCase(r.name);
}

std::wstring ResultStore::SizeText(std::size_t row) const {
    const Row& r = rows_[row];
    return r.hasSize ? FormatFileSize(r.size) : std::wstring();
}

void ResultStore::KeepRows(const std::vector<std::size_t>& rows) {
    std::vector<Row> kept;
    kept.reserve(rows.size());
    for (std::size_t index : rows) {
        kept.push_back(std::move(rows_[index]));
        kept.back().hasSize = false;
    }
    rows_ = std::move(kept);
}

std::size_t ResultStore::ApproximateBytes() const {
    std::size_t bytes = rows_.capacity() * sizeof(Row) + folders_.capacity() * sizeof(std::wstring);
    for (const auto& r : rows_)
        if (r.name.capacity() >= sizeof(std::wstring) / sizeof(wchar_t)) bytes += (r.name.capacity() + 1) * sizeof(wchar_t);
    for (const auto& f : folders_) bytes += (f.capacity() + 1) * sizeof(wchar_t);
    return bytes;
}

}  // namespace qorvani
