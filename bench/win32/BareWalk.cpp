#include "BareWalk.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "common/win32/Handles.h"
#include "scan/core/MaskMatcher.h"
#include "scan/core/UpperCase.h"
#include "scan/core/WindowsNames.h"
#include "scan/core/Walker.h"
#include "scan/win32/Win32Lister.h"

namespace qorvani::bench {
namespace {

// Counts what the walk reports; its pacing does nothing.
class CountingSink final : public WalkSink, public Pacing {
public:
    explicit CountingSink(std::set<std::wstring>* paths) : paths_(paths) {}
    std::size_t rows = 0;
    std::size_t folders = 0;

    void ShowFolder(const std::wstring&) override { ++folders; }
    void AppendMatch(const std::wstring& folder, std::wstring_view name, const MatchFacts&) override {
        ++rows;
        if (paths_ != nullptr) paths_->insert(folder + std::wstring(name));
    }

private:
    std::set<std::wstring>* paths_;
};

// Counts each listing's entries on top of the real lister; used only for the untimed walk.
class CountingLister final : public DirectoryLister {
public:
    std::size_t largest = 0;

    wchar_t Separator() const override { return inner_.Separator(); }
    std::unique_ptr<DirectoryListing> Open(const std::wstring& folderPath) override {
        std::unique_ptr<DirectoryListing> listing = inner_.Open(folderPath);
        if (!listing) return nullptr;
        return std::make_unique<Counted>(std::move(listing), *this);
    }

private:
    class Counted final : public DirectoryListing {
    public:
        Counted(std::unique_ptr<DirectoryListing> inner, CountingLister& owner)
            : inner_(std::move(inner)), owner_(owner) {}
        ~Counted() override { owner_.largest = std::max(owner_.largest, count_); }
        bool Next() override {
            if (!inner_->Next()) return false;
            const std::wstring_view name = inner_->Name();
            if (name != L"." && name != L"..") ++count_;
            return true;
        }
        std::wstring_view Name() const override { return inner_->Name(); }
        bool IsFolder() const override { return inner_->IsFolder(); }
        std::uint64_t Size() override { return inner_->Size(); }

    private:
        std::unique_ptr<DirectoryListing> inner_;
        CountingLister& owner_;
        std::size_t count_ = 0;
    };

    Win32Lister inner_;
};

}  // namespace

WalkFigures BareWalk(const std::wstring& root, const ActiveMasks& active, std::set<std::wstring>* paths) {
    WalkFigures figures;
    CountingSink sink(paths);
    ScanState state;
    CountingLister lister;
    const double start = NowMs();
    const MaskSet masks(active);
    ScanFolder(root, lister, masks, sink, sink, state);
    figures.milliseconds = NowMs() - start;
    figures.largestFolder = lister.largest;
    figures.rows = sink.rows;
    figures.bytes = state.totalBytes;
    figures.folders = sink.folders;
    return figures;
}

}  // namespace qorvani::bench

namespace qorvani::bench {
namespace {

// One folder listed at a time, its subfolders walked after its handle is closed: one buffer
// serves every listing.
class PlainWalk {
public:
    PlainWalk(const ActiveMasks& active, FloorListing listing) : masks_(active), listing_(listing) {}

    void Folder(std::wstring& path) {
        if (path.size() + 3 >= MAX_PATH) return;  // as the lister: the pattern must stay below MAX_PATH
        ++figures.folders;
        std::vector<std::wstring> subfolders;
        if (listing_ == FloorListing::ByHandle) ListByHandle(path, subfolders);
        else ListByFind(path, subfolders);
        const std::size_t length = path.size();
        for (const std::wstring& name : subfolders) {
            path.append(name).push_back(L'\\');
            Folder(path);
            path.resize(length);
        }
    }

    WalkFigures figures;

private:
    void Entry(std::wstring_view name, DWORD attributes, std::uint64_t size, std::vector<std::wstring>& subfolders) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (name != L"." && name != L".." && FolderNameListable(name)) subfolders.emplace_back(name);
            return;
        }
        if (masks_.Empty()) return;
        upper_.assign(name);
        UpperCaseInPlace(upper_);
        if (masks_.FirstMatch(upper_)) {
            ++figures.rows;
            figures.bytes += size;
        }
    }

    void ListByHandle(const std::wstring& path, std::vector<std::wstring>& subfolders) {
        KernelHandle folder(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!folder.Valid()) return;
        while (GetFileInformationByHandleEx(folder.Get(), FileIdBothDirectoryInfo, buffer_.get(), kBufferBytes)) {
            const BYTE* at = reinterpret_cast<const BYTE*>(buffer_.get());
            for (;;) {
                const auto* record = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
                Entry(std::wstring_view(record->FileName, record->FileNameLength / sizeof(wchar_t)), record->FileAttributes,
                      static_cast<std::uint64_t>(record->EndOfFile.QuadPart), subfolders);
                if (record->NextEntryOffset == 0) break;
                at += record->NextEntryOffset;
            }
        }
    }

    void ListByFind(const std::wstring& path, std::vector<std::wstring>& subfolders) {
        WIN32_FIND_DATAW found;
        FindHandle find(FindFirstFileExW((path + L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH));
        if (!find.Valid()) return;
        do {
            Entry(found.cFileName, found.dwFileAttributes,
                  (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow, subfolders);
        } while (FindNextFileW(find.Get(), &found));
    }

    static constexpr std::size_t kBufferWords = 64 * 1024 / sizeof(std::uint64_t);
    static constexpr DWORD kBufferBytes = kBufferWords * sizeof(std::uint64_t);
    const MaskSet masks_;
    const FloorListing listing_;
    std::unique_ptr<std::uint64_t[]> buffer_{new std::uint64_t[kBufferWords]};  // 8-byte aligned records
    std::wstring upper_;
};

}  // namespace

WalkFigures FloorWalk(const std::wstring& root, const ActiveMasks& masks, FloorListing listing) {
    // As the scan command does it: the masks compiled once per scan, inside the timed part.
    const double start = NowMs();
    PlainWalk walk(masks, listing);
    std::wstring path = root;
    walk.Folder(path);
    walk.figures.milliseconds = NowMs() - start;
    return walk.figures;
}

}  // namespace qorvani::bench
