#pragma once
// The rows of the result list, held by the program (the list view shows them on demand).
// A row keeps its folder (shared by all rows of that folder) and its name exactly as listed;
// its display text is the folder and the upper-cased name, computed when shown. The store keeps
// the number and the bytes of its checked rows as they change, and can show its rows in another
// order than the one they were found in; every row's check, size and exact path go with it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qorvani {

enum class RowOrder { Found, BySize, ByPath };

class ResultStore {
public:
    void Clear();
    void Append(const std::wstring& folder, std::wstring_view name, std::uint64_t size);

    std::size_t Count() const { return rows_.size(); }
    std::wstring ExactPath(std::size_t row) const;      // folder + name as listed: the key
    const std::wstring& Folder(std::size_t row) const { return folders_[rows_[row].folder]; }
    const std::wstring& Name(std::size_t row) const { return rows_[row].name; }
    std::wstring DisplayText(std::size_t row) const;    // folder + upper-cased name
    std::wstring SizeText(std::size_t row) const;
    std::uint64_t Size(std::size_t row) const { return rows_[row].size; }
    bool Checked(std::size_t row) const { return rows_[row].checked; }
    void SetChecked(std::size_t row, bool checked);
    // Where the row stands in the order found (unchanged by sorting and by KeepRows).
    std::size_t FoundIndex(std::size_t row) const { return rows_[row].found; }

    std::size_t CheckedCount() const { return checkedCount_; }
    std::uint64_t CheckedBytes() const { return checkedBytes_; }

    // Keeps the given rows in the given order, with their checks and sizes.
    void KeepRows(const std::vector<std::size_t>& rows);

    // Puts the rows in the order: largest first; by folder, then by name within it, without
    // regard to case; or as found. Rows that the order ranks equal stay in the order found.
    void Sort(RowOrder order);
    RowOrder Order() const { return order_; }

    // Bytes held, for the memory figures.
    std::size_t ApproximateBytes() const;

private:
    struct Row {
        std::wstring name;
        std::uint64_t size;
        std::uint32_t folder;
        std::uint32_t found;
        bool checked;
    };
    std::vector<std::wstring> folders_;
    std::vector<Row> rows_;
    std::size_t checkedCount_ = 0;
    std::uint64_t checkedBytes_ = 0;
    std::uint32_t nextFound_ = 0;
    RowOrder order_ = RowOrder::Found;
};

}  // namespace qorvani
