#pragma once
// The rows of the result list, held by the program (the list view shows them on demand).
// A row keeps its folder (shared with the rows before it that share its path) and its name exactly as listed;
// its display text is the folder and the upper-cased name, computed when shown. The store keeps
// the number and the bytes of its checked rows as they change, and can show its rows in another
// order than the one they were found in; every row's check, size and exact path go with it.
//
// A row costs 20 bytes and its name's characters: the names live in blocks of text shared by all
// rows, the folders as a tree of path pieces (a folder is its parent's path and one more name),
// and the rows themselves in blocks of a fixed count, so that growing never copies them nor
// leaves half a block unused. The rows stay where they were found; an order other than that one
// (a sort, the rows a delete kept) is a list of row places made when it is chosen.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qorvani {

enum class RowOrder { Found, BySize, ByPath };

class ResultStore {
public:
    void Clear();
    // Throws std::length_error, the store unchanged, for a name (or a folder's name) longer than
    // any file system allows.
    void Append(const std::wstring& folder, std::wstring_view name, std::uint64_t size);

    std::size_t Count() const { return ordered_ ? order_.size() : rows_.size(); }
    std::wstring ExactPath(std::size_t row) const;      // folder + name as listed: the key
    std::wstring Folder(std::size_t row) const;         // as walked, ending in the separator
    std::wstring Name(std::size_t row) const { return std::wstring(NameView(row)); }
    // The name as listed, valid until the store changes.
    std::wstring_view NameView(std::size_t row) const;
    std::wstring DisplayText(std::size_t row) const;    // folder + upper-cased name
    std::wstring SizeText(std::size_t row) const;
    std::uint64_t Size(std::size_t row) const { return SizeOf(At(row)); }
    bool Checked(std::size_t row) const { return At(row).checked != 0; }
    void SetChecked(std::size_t row, bool checked);
    // Where the row stands in the order found (unchanged by sorting and by KeepRows).
    std::size_t FoundIndex(std::size_t row) const { return Place(row); }

    std::size_t CheckedCount() const { return checkedCount_; }
    std::uint64_t CheckedBytes() const { return checkedBytes_; }

    // Keeps the given rows in the given order, with their checks and sizes.
    void KeepRows(const std::vector<std::size_t>& rows);

    // Puts the rows in the order: largest first; by folder, then by name within it, without
    // regard to case; or as found. Rows that the order ranks equal stay in the order found.
    void Sort(RowOrder order);
    RowOrder Order() const { return rowOrder_; }

    // Bytes held, for the memory figures.
    std::size_t ApproximateBytes() const;

private:
    struct Row {
        std::uint32_t sizeLow;
        std::uint32_t sizeHigh;
        std::uint32_t name;        // where its name starts in names_
        std::uint32_t folder;      // its folder in folders_
        std::uint16_t nameLength;
        std::uint16_t checked;
    };
    // A folder: its parent's path (kNoFolder: none) followed by one piece of text.
    struct FolderPiece {
        std::uint32_t parent;
        std::uint32_t text;        // in names_
        std::uint32_t length;
    };
    static constexpr std::uint32_t kNoFolder = 0xFFFFFFFFu;
    static constexpr std::size_t kLongestName = 32768;  // a block of text; UTF-16 names end at 32,767

    // Text in blocks that never move: a piece is never split between two blocks.
    class TextBlocks {
    public:
        std::uint32_t Add(std::wstring_view text);
        std::wstring_view At(std::uint32_t start, std::size_t length) const {
            return std::wstring_view(blocks_[start / kBlock].data() + start % kBlock, length);
        }
        // The same blocks, every character upper-cased (for the path sort).
        TextBlocks UpperCased() const;
        void Clear() { blocks_.clear(); blocks_.shrink_to_fit(); }
        std::size_t Bytes() const;

    private:
        static constexpr std::size_t kBlock = kLongestName;  // characters: 64 KiB
        std::vector<std::wstring> blocks_;             // each reserved to kBlock
    };

    // Items in blocks of kCount that never move (growing copies nothing and leaves at most one
    // block partly unused).
    template <typename T, std::size_t kCount>
    class Blocks {
    public:
        T& operator[](std::size_t i) { return blocks_[i / kCount][i % kCount]; }
        const T& operator[](std::size_t i) const { return blocks_[i / kCount][i % kCount]; }
        std::size_t size() const { return size_; }
        T& push_back() {
            if (size_ % kCount == 0) blocks_.push_back(std::make_unique_for_overwrite<T[]>(kCount));
            return (*this)[size_++];
        }
        void clear() {
            blocks_.clear();
            blocks_.shrink_to_fit();
            size_ = 0;
        }
        std::size_t Bytes() const { return blocks_.capacity() * sizeof(blocks_[0]) + blocks_.size() * kCount * sizeof(T); }

    private:
        std::vector<std::unique_ptr<T[]>> blocks_;
        std::size_t size_ = 0;
    };

    static std::uint64_t SizeOf(const Row& r) { return (static_cast<std::uint64_t>(r.sizeHigh) << 32) | r.sizeLow; }
    std::size_t Place(std::size_t row) const { return ordered_ ? order_[row] : row; }
    Row& Stored(std::size_t place) { return rows_[place]; }
    const Row& Stored(std::size_t place) const { return rows_[place]; }
    Row& At(std::size_t row) { return Stored(Place(row)); }
    const Row& At(std::size_t row) const { return Stored(Place(row)); }
    std::uint32_t FolderOf(const std::wstring& folder);
    void AppendFolderText(std::uint32_t folder, std::wstring& text) const;
    std::wstring_view NameOf(const Row& r) const { return names_.At(r.name, r.nameLength); }
    // Makes order the row order; an order that is the order found over every stored row is
    // dropped (it costs nothing).
    void UseOrder(std::vector<std::uint32_t> order);

    TextBlocks names_;  // the names and the folders' pieces
    Blocks<Row, 4096> rows_;           // 80 KiB a block
    Blocks<FolderPiece, 2048> folders_;  // 24 KiB a block
    // The last folder appended and its pieces' folders with the length of text each ends at.
    std::wstring lastFolder_;
    std::vector<std::pair<std::uint32_t, std::size_t>> lastChain_;
    bool ordered_ = false;
    std::vector<std::uint32_t> order_;  // if ordered_: the stored place of each row shown
    std::size_t checkedCount_ = 0;
    std::uint64_t checkedBytes_ = 0;
    RowOrder rowOrder_ = RowOrder::Found;
};

}  // namespace qorvani
