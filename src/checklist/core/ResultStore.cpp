#include "checklist/core/ResultStore.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <stdexcept>

#include "scan/core/NumberText.h"
#include "scan/core/UpperCase.h"

namespace qorvani {

namespace {

// A folder piece ends after each separator ('\' or '/': the store is not told which one the
// walk uses; splitting at both keeps every path exactly as given).
bool EndsPiece(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

// --- TextBlocks ---

std::uint32_t ResultStore::TextBlocks::Add(std::wstring_view text) {
    if (text.size() > kBlock) throw std::length_error("a name longer than any file system allows");
    if (blocks_.empty() || blocks_.back().size() + text.size() > kBlock) {
        if ((blocks_.size() + 1) * kBlock > std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("more text than the result list can hold");
        blocks_.emplace_back();
        blocks_.back().reserve(kBlock);  // filled up to its capacity: its characters never move
    }
    std::wstring& block = blocks_.back();
    const std::size_t start = (blocks_.size() - 1) * kBlock + block.size();
    block.append(text);
    return static_cast<std::uint32_t>(start);
}

ResultStore::TextBlocks ResultStore::TextBlocks::UpperCased() const {
    TextBlocks upper;
    upper.blocks_ = blocks_;  // each character mapped on its own: every place stays where it was
    for (std::wstring& block : upper.blocks_) UpperCaseInPlace(block);
    return upper;
}

std::size_t ResultStore::TextBlocks::Bytes() const {
    std::size_t bytes = blocks_.capacity() * sizeof(std::wstring);
    for (const std::wstring& block : blocks_) bytes += (block.capacity() + 1) * sizeof(wchar_t);
    return bytes;
}

// --- ResultStore ---

void ResultStore::Clear() {
    names_.Clear();
    rows_.clear();
    folders_.clear();
    lastFolder_.clear();
    lastFolder_.shrink_to_fit();
    lastChain_.clear();
    lastChain_.shrink_to_fit();
    ordered_ = false;
    order_.clear();
    order_.shrink_to_fit();
    checkedCount_ = 0;
    checkedBytes_ = 0;
    rowOrder_ = RowOrder::Found;
}

// Matches arrive in the walk's order (depth first), so a row's folder is most often the last
// row's or near it: the new folder shares the pieces of the last one up to where the two paths
// part, and adds a piece for each name after that.
std::uint32_t ResultStore::FolderOf(const std::wstring& folder) {
    if (!lastChain_.empty() && folder == lastFolder_) return lastChain_.back().first;
    const std::size_t shared =
        std::mismatch(folder.begin(), folder.begin() + static_cast<std::ptrdiff_t>(std::min(folder.size(), lastFolder_.size())),
                      lastFolder_.begin())
            .first -
        folder.begin();
    while (!lastChain_.empty() && lastChain_.back().second > shared) lastChain_.pop_back();
    std::size_t at = lastChain_.empty() ? 0 : lastChain_.back().second;
    lastFolder_.assign(folder);
    while (at < folder.size()) {
        std::size_t end = at;
        while (end < folder.size() && !EndsPiece(folder[end])) ++end;
        if (end < folder.size()) ++end;  // the separator ends the piece
        if (folders_.size() >= kNoFolder) throw std::length_error("more folders than the result list can hold");
        const std::uint32_t parent = lastChain_.empty() ? kNoFolder : lastChain_.back().first;
        const std::uint32_t text = names_.Add(std::wstring_view(folder).substr(at, end - at));
        folders_.push_back() = FolderPiece{parent, text, static_cast<std::uint32_t>(end - at)};
        lastChain_.emplace_back(static_cast<std::uint32_t>(folders_.size() - 1), end);
        at = end;
    }
    return lastChain_.empty() ? kNoFolder : lastChain_.back().first;
}

void ResultStore::Append(const std::wstring& folder, std::wstring_view name, std::uint64_t size) {
    // Refused before anything changes: a name or a folder's name longer than a block of text
    // (longer than any file system allows).
    std::size_t longestPiece = 0;
    for (std::size_t at = 0; at < folder.size();) {
        std::size_t end = at;
        while (end < folder.size() && !EndsPiece(folder[end])) ++end;
        longestPiece = std::max(longestPiece, end - at + 1);
        at = end + 1;
    }
    if (name.size() > kLongestName || longestPiece > kLongestName)
        throw std::length_error("a name longer than any file system allows");
    if (rows_.size() >= std::numeric_limits<std::uint32_t>::max()) throw std::length_error("too many rows");
    const std::uint32_t folderIndex = FolderOf(folder);
    const std::size_t place = rows_.size();
    Row& r = rows_.push_back();
    r.sizeLow = static_cast<std::uint32_t>(size);
    r.sizeHigh = static_cast<std::uint32_t>(size >> 32);
    r.name = names_.Add(name);
    r.folder = folderIndex;
    r.nameLength = static_cast<std::uint16_t>(name.size());
    r.checked = 0;
    if (ordered_) order_.push_back(static_cast<std::uint32_t>(place));
}

void ResultStore::SetChecked(std::size_t row, bool checked) {
    Row& r = At(row);
    if ((r.checked != 0) == checked) return;
    r.checked = checked ? 1 : 0;
    if (checked) {
        ++checkedCount_;
        checkedBytes_ += SizeOf(r);
    } else {
        --checkedCount_;
        checkedBytes_ -= SizeOf(r);
    }
}

void ResultStore::AppendFolderText(std::uint32_t folder, std::wstring& text) const {
    if (folder == kNoFolder) return;
    // A path is a few pieces deep: walked up into a small list, then written from the top.
    std::uint32_t chain[64];
    std::size_t depth = 0;
    std::uint32_t at = folder;
    for (; at != kNoFolder && depth < std::size(chain); at = folders_[at].parent) chain[depth++] = at;
    if (at != kNoFolder) AppendFolderText(at, text);  // deeper than the list: the rest first
    while (depth > 0) {
        const FolderPiece& piece = folders_[chain[--depth]];
        text.append(names_.At(piece.text, piece.length));
    }
}

std::wstring ResultStore::Folder(std::size_t row) const {
    std::wstring text;
    AppendFolderText(At(row).folder, text);
    return text;
}

std::wstring_view ResultStore::NameView(std::size_t row) const { return NameOf(At(row)); }

std::wstring ResultStore::ExactPath(std::size_t row) const {
    const Row& r = At(row);
    std::wstring path;
    AppendFolderText(r.folder, path);
    path.append(NameOf(r));
    return path;
}

std::wstring ResultStore::DisplayText(std::size_t row) const {
    const Row& r = At(row);
    std::wstring text;
    AppendFolderText(r.folder, text);
    text.append(UpperCase(NameOf(r)));
    return text;
}

std::wstring ResultStore::SizeText(std::size_t row) const { return FormatFileSize(Size(row)); }

void ResultStore::UseOrder(std::vector<std::uint32_t> order) {
    bool asFound = order.size() == rows_.size();
    for (std::size_t i = 0; asFound && i < order.size(); ++i) asFound = order[i] == i;
    ordered_ = !asFound;
    if (ordered_) {
        order_ = std::move(order);
    } else {
        order_.clear();
        order_.shrink_to_fit();
    }
}

void ResultStore::KeepRows(const std::vector<std::size_t>& rows) {
    if (rows.empty()) {  // nothing kept: nothing held
        const RowOrder order = rowOrder_;
        Clear();
        rowOrder_ = order;
        return;
    }
    std::vector<std::uint32_t> kept;
    kept.reserve(rows.size());
    checkedCount_ = 0;
    checkedBytes_ = 0;
    for (std::size_t row : rows) {
        kept.push_back(static_cast<std::uint32_t>(Place(row)));
        const Row& r = Stored(kept.back());
        if (r.checked != 0) {
            ++checkedCount_;
            checkedBytes_ += SizeOf(r);
        }
    }
    UseOrder(std::move(kept));
}

void ResultStore::Sort(RowOrder order) {
    rowOrder_ = order;
    const std::size_t count = Count();
    std::vector<std::uint32_t> places(count);
    for (std::size_t i = 0; i < count; ++i) places[i] = static_cast<std::uint32_t>(Place(i));
    switch (order) {
        case RowOrder::Found:
            std::sort(places.begin(), places.end());
            break;
        case RowOrder::BySize: {
            struct Key {
                std::uint64_t size;
                std::uint32_t place;
            };
            std::vector<Key> keys(count);
            for (std::size_t i = 0; i < count; ++i) keys[i] = Key{SizeOf(Stored(places[i])), places[i]};
            std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
                return a.size != b.size ? a.size > b.size : a.place < b.place;
            });
            for (std::size_t i = 0; i < count; ++i) places[i] = keys[i].place;
            break;
        }
        case RowOrder::ByPath: {
            // By folder, then by name within it, both upper-cased: the folders ranked once (many
            // rows share one), the names upper-cased once, block by block.
            std::vector<std::wstring> folderKeys(folders_.size());
            for (std::size_t f = 0; f < folders_.size(); ++f) {  // a parent comes before its pieces
                const FolderPiece& piece = folders_[f];
                if (piece.parent != kNoFolder) folderKeys[f] = folderKeys[piece.parent];
                folderKeys[f].append(UpperCase(names_.At(piece.text, piece.length)));
            }
            std::vector<std::uint32_t> byKey(folders_.size());
            std::iota(byKey.begin(), byKey.end(), 0u);
            std::sort(byKey.begin(), byKey.end(),
                      [&](std::uint32_t a, std::uint32_t b) { return folderKeys[a] < folderKeys[b]; });
            std::vector<std::uint32_t> rank(folders_.size());
            for (std::size_t i = 0, r = 0; i < byKey.size(); ++i) {
                if (i > 0 && folderKeys[byKey[i]] != folderKeys[byKey[i - 1]]) ++r;
                rank[byKey[i]] = static_cast<std::uint32_t>(r);  // the same folder reached twice ranks once
            }
            folderKeys.clear();
            folderKeys.shrink_to_fit();
            const TextBlocks upper = names_.UpperCased();
            struct Key {
                std::uint32_t rank;
                std::uint32_t place;
                std::wstring_view name;
            };
            std::vector<Key> keys(count);
            for (std::size_t i = 0; i < count; ++i) {
                const Row& r = Stored(places[i]);
                keys[i] = Key{r.folder == kNoFolder ? 0u : rank[r.folder] + 1, places[i], upper.At(r.name, r.nameLength)};
            }
            std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
                if (a.rank != b.rank) return a.rank < b.rank;
                const int compared = a.name.compare(b.name);
                return compared != 0 ? compared < 0 : a.place < b.place;
            });
            for (std::size_t i = 0; i < count; ++i) places[i] = keys[i].place;
            break;
        }
    }
    UseOrder(std::move(places));
}

std::size_t ResultStore::ApproximateBytes() const {
    return names_.Bytes() + rows_.Bytes() + folders_.Bytes() + order_.capacity() * sizeof(std::uint32_t) +
           lastChain_.capacity() * sizeof(lastChain_[0]) + (lastFolder_.capacity() + 1) * sizeof(wchar_t);
}

}  // namespace qorvani
