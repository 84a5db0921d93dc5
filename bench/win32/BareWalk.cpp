#include "BareWalk.h"

#include <algorithm>
#include <memory>

#include "BenchSupport.h"
#include "scan/core/MaskMatcher.h"
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
    if (paths != nullptr) {
        CountingLister lister;
        const MaskSet masks(active);
        const double start = NowMs();
        ScanFolder(root, lister, masks, sink, sink, state);
        figures.milliseconds = NowMs() - start;
        figures.largestFolder = lister.largest;
    } else {
        // As the scan command does it: the masks compiled once per scan, inside the timed part.
        Win32Lister lister;
        const double start = NowMs();
        const MaskSet masks(active);
        ScanFolder(root, lister, masks, sink, sink, state);
        figures.milliseconds = NowMs() - start;
    }
    figures.rows = sink.rows;
    figures.bytes = state.totalBytes;
    figures.folders = sink.folders;
    return figures;
}

}  // namespace qorvani::bench
