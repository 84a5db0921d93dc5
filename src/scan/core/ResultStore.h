#pragma once
// The rows of the result list, held by the program (the list view shows them on demand).
// A row keeps its folder (shared by all rows of that folder) and its name exactly as listed;
// its display text is the folder and the upper-cased name, computed when shown.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qorvani {

class ResultStore {
public:
    void Clear();
    void Append(const std::wstring& folder, std::wstring_view name, std::uint64_t size);

    std::size_t Count() const { return rows_.size(); }
    std::wstring ExactPath(std::size_t row) const;      // folder + name as listed: the key
    const std::wstring& Folder(std::size_t row) const { return folders_[rows_[row].folder]; }
    const std::wstring& Name(std::size_t row) const { return rows_[row].name; }
    std::wstring DisplayText(std::size_t row) const;    // folder + upper-cased name
    std::wstring SizeText(std::size_t row) const;       // empty once the size cell is dropped
    std::uint64_t Size(std::size_t row) const { return rows_[row].size; }
    bool HasSize(std::size_t row) const { return rows_[row].hasSize; }
    bool Checked(std::size_t row) const { return rows_[row].checked; }
    void SetChecked(std::size_t row, bool checked) { rows_[row].checked = checked; }

    // Keeps the given rows in the given order, each without its size cell.
    void KeepRows(const std::vector<std::size_t>& rows);

    // Bytes held, for the memory figures.
    std::size_t ApproximateBytes() const;

private:
    struct Row {
        std::wstring name;
        std::uint64_t size;
        std::uint32_t folder;
        bool hasSize;
        bool checked;
    };
    std::vector<std::wstring> folders_;
    std::vector<Row> rows_;
};

}  // namespace qorvani
