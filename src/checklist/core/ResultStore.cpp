#include "checklist/core/ResultStore.h"

#include <algorithm>
#include <numeric>

#include "scan/core/NumberText.h"
#include "scan/core/UpperCase.h"

namespace qorvani {

void ResultStore::Clear() {
    rows_.clear();
    rows_.shrink_to_fit();
    folders_.clear();
    folders_.shrink_to_fit();
    checkedCount_ = 0;
    checkedBytes_ = 0;
    nextFound_ = 0;
    order_ = RowOrder::Found;
}

void ResultStore::Append(const std::wstring& folder, std::wstring_view name, std::uint64_t size) {
    // Matches arrive folder by folder, so comparing with the last folder shares it.
    if (folders_.empty() || folders_.back() != folder) folders_.push_back(folder);
    rows_.push_back(Row{std::wstring(name), size, static_cast<std::uint32_t>(folders_.size() - 1), nextFound_++, false});
}

void ResultStore::SetChecked(std::size_t row, bool checked) {
    Row& r = rows_[row];
    if (r.checked == checked) return;
    r.checked = checked;
    if (checked) {
        ++checkedCount_;
        checkedBytes_ += r.size;
    } else {
        --checkedCount_;
        checkedBytes_ -= r.size;
    }
}

std::wstring ResultStore::ExactPath(std::size_t row) const {
    const Row& r = rows_[row];
    return folders_[r.folder] + r.name;
}

std::wstring ResultStore::DisplayText(std::size_t row) const {
    const Row& r = rows_[row];
    return folders_[r.folder] + UpperCase(r.name);
}

std::wstring ResultStore::SizeText(std::size_t row) const { return FormatFileSize(rows_[row].size); }

void ResultStore::KeepRows(const std::vector<std::size_t>& rows) {
    std::vector<Row> kept;
    kept.reserve(rows.size());
    checkedCount_ = 0;
    checkedBytes_ = 0;
    for (std::size_t index : rows) {
        kept.push_back(std::move(rows_[index]));
        if (kept.back().checked) {
            ++checkedCount_;
            checkedBytes_ += kept.back().size;
        }
    }
    rows_ = std::move(kept);
}

void ResultStore::Sort(RowOrder order) {
    order_ = order;
    std::vector<std::uint32_t> index(rows_.size());
    std::iota(index.begin(), index.end(), 0u);
    const auto foundFirst = [this](std::uint32_t a, std::uint32_t b) { return rows_[a].found < rows_[b].found; };
    switch (order) {
        case RowOrder::Found:
            std::sort(index.begin(), index.end(), foundFirst);
            break;
        case RowOrder::BySize:
            std::sort(index.begin(), index.end(), [&](std::uint32_t a, std::uint32_t b) {
                if (rows_[a].size != rows_[b].size) return rows_[a].size > rows_[b].size;
                return foundFirst(a, b);
            });
            break;
        case RowOrder::ByPath: {
            // By folder, then by name within it, both upper-cased: the folders ranked once (many
            // rows share one), each name upper-cased once.
            std::vector<std::wstring> folderKeys;
            folderKeys.reserve(folders_.size());
            for (const std::wstring& folder : folders_) folderKeys.push_back(UpperCase(folder));
            std::vector<std::uint32_t> byKey(folders_.size());
            std::iota(byKey.begin(), byKey.end(), 0u);
            std::sort(byKey.begin(), byKey.end(),
                      [&](std::uint32_t a, std::uint32_t b) { return folderKeys[a] < folderKeys[b]; });
            std::vector<std::uint32_t> rank(folders_.size());
            for (std::size_t i = 0, r = 0; i < byKey.size(); ++i) {
                if (i > 0 && folderKeys[byKey[i]] != folderKeys[byKey[i - 1]]) ++r;
                rank[byKey[i]] = static_cast<std::uint32_t>(r);  // the same folder listed twice ranks once
            }
            std::vector<std::wstring> names;
            names.reserve(rows_.size());
            for (const Row& r : rows_) names.push_back(UpperCase(r.name));
            std::sort(index.begin(), index.end(), [&](std::uint32_t a, std::uint32_t b) {
                const std::uint32_t ra = rank[rows_[a].folder], rb = rank[rows_[b].folder];
                if (ra != rb) return ra < rb;
                const int compared = names[a].compare(names[b]);
                return compared != 0 ? compared < 0 : foundFirst(a, b);
            });
            break;
        }
    }
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (std::uint32_t i : index) sorted.push_back(std::move(rows_[i]));
    rows_ = std::move(sorted);
}

std::size_t ResultStore::ApproximateBytes() const {
    std::size_t bytes = rows_.capacity() * sizeof(Row) + folders_.capacity() * sizeof(std::wstring);
    for (const auto& r : rows_)
        if (r.name.capacity() >= sizeof(std::wstring) / sizeof(wchar_t)) bytes += (r.name.capacity() + 1) * sizeof(wchar_t);
    for (const auto& f : folders_) bytes += (f.capacity() + 1) * sizeof(wchar_t);
    return bytes;
}

}  // namespace qorvani
