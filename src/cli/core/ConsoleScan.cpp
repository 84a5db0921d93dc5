#include "cli/core/ConsoleScan.h"

#include "common/core/Pacing.h"
#include "scan/core/FileTimes.h"
#include "scan/core/MaskMatcher.h"
#include "scan/core/ScanRoots.h"
#include "scan/core/UpperCase.h"
#include "scan/core/Walker.h"

namespace qorvani {

namespace {

class ConsoleWalk final : public WalkSink, public Pacing {
public:
    ConsoleWalk(const CliRequest& request, ConsoleScanView& view, ScanState& state,
                const std::function<void(const FoundRecord&)>& found)
        : request_(request), view_(view), state_(state), found_(found), age_(SelectionAgeDays(request)),
          now_(view.NowTicks()), lastProgress_(view.Milliseconds()) {}

    void ShowFolder(const std::wstring& /*path*/) override { ++folders_; }
    void AppendMatch(const std::wstring& folder, std::wstring_view name, const MatchFacts& facts) override {
        ++matched_;
        if (age_ && !(facts.lastWrite && AtLeastDaysOld(*facts.lastWrite, now_, *age_))) {
            if (!request_.olderThanDays) ++outcome.keptAsRecent;
            return;
        }
        FoundRecord record;
        record.path.reserve(folder.size() + name.size());
        record.path.append(folder).append(name);
        record.nameAt = folder.size();
        record.size = facts.size;
        record.lastWrite = facts.lastWrite;
        record.mask = request_.masks[facts.mask];
        ++outcome.summary.files;
        outcome.summary.bytes += facts.size;
        found_(record);
    }
    void FolderNotListed(const std::wstring& path) override {
        ++outcome.summary.unlistedFolders;
        if (path == currentRoot_) rootListed_ = false;
    }

    void AtFolderEntry() override {
        if (view_.StopRequested()) state_.stopRequested = true;
        const std::uint32_t now = view_.Milliseconds();
        if (now - lastProgress_ >= kProgressMilliseconds) {
            lastProgress_ = now;
            view_.ShowProgress(folders_, matched_);
        }
    }

    // A root begins: whether it could be listed is told by RootListed after its walk.
    void Root(const std::wstring& root) {
        currentRoot_ = root;
        rootListed_ = true;
    }
    bool RootListed() const { return rootListed_; }

    ScanOutcome outcome;

private:
    const CliRequest& request_;
    ConsoleScanView& view_;
    ScanState& state_;
    const std::function<void(const FoundRecord&)>& found_;
    const std::optional<std::uint32_t> age_;
    const std::uint64_t now_;
    std::uint32_t lastProgress_;
    std::uint64_t folders_ = 0;
    std::uint64_t matched_ = 0;
    std::wstring currentRoot_;
    bool rootListed_ = true;
};

std::vector<std::wstring> RootsOf(const std::vector<std::wstring>& paths, DirectoryLister& lister) {
    std::vector<std::wstring> roots;
    for (const std::wstring& path : paths)
        for (std::wstring& root : ScanRoots(false, FixedDrives(), path, lister.Separator(),
                                            [&lister](const std::wstring& p) { return lister.FullPath(p); }))
            roots.push_back(std::move(root));
    return roots;
}

}  // namespace

std::optional<std::uint32_t> SelectionAgeDays(const CliRequest& request) {
    if (request.olderThanDays) return *request.olderThanDays == 0 ? std::nullopt : request.olderThanDays;
    if (request.command == CliCommand::Clean && request.yes) return 1;
    return std::nullopt;
}

ScanOutcome RunConsoleScan(const CliRequest& request, DirectoryLister& lister, ConsoleScanView& view,
                           const std::function<void(const FoundRecord&)>& found) {
    const std::uint32_t start = view.Milliseconds();
    ActiveMasks active;
    for (const std::wstring& mask : request.masks) active.push_back(UpperCase(mask));
    const MaskSet masks(active);

    const std::vector<std::wstring> roots =
        request.allDrives ? ScanRoots(true, view.FixedDrivesNow(), L"", lister.Separator()) : RootsOf(request.paths, lister);
    WalkedFolders walked;
    walked.PassOver(RootsOf(request.excludes, lister));
    ReserveVolumeRoots(roots, lister, walked);

    ScanState state;
    ConsoleWalk walk(request, view, state, found);
    std::size_t listed = 0;
    for (const std::wstring& root : roots) {
        if (state.stopRequested) break;
        walk.Root(root);
        ScanFolder(root, lister, masks, walk, walk, state, walked);
        if (walk.RootListed()) ++listed;
    }
    ScanOutcome outcome = walk.outcome;
    outcome.summary.stopped = state.stopRequested;
    outcome.summary.milliseconds = view.Milliseconds() - start;
    outcome.nothingRead = listed == 0 && !state.stopRequested;
    return outcome;
}

}  // namespace qorvani
