#include "WalkBenchmark.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>

#include "CatalogueFile.h"
#include "FindCommand.h"
#include "scan/core/ActiveMasks.h"
#include "scan/core/MaskMatcher.h"
#include "scan/core/UpperCase.h"
#include "scan/core/Walker.h"
#include "scan/posix/PosixLister.h"
#include "scan/posix/Utf8Names.h"

namespace qorvani::bench {

namespace {

constexpr double kGoalAgainstMaskedFind = 0.4;
constexpr double kGoalAgainstBareFind = 2.0;

// Keeps every match as the result list would: its full path and size. Its pacing does nothing.
class CollectingSink final : public WalkSink, public Pacing {
public:
    std::vector<std::pair<std::wstring, std::uint64_t>> files;

    void ShowFolder(const std::wstring&) override {}
    void AppendMatch(const std::wstring& folder, std::wstring_view name, const MatchFacts& facts) override {
        std::wstring path;
        path.reserve(folder.size() + name.size());
        path.append(folder).append(name);
        files.emplace_back(std::move(path), facts.size);
    }
};

struct WalkOutcome {
    CollectingSink sink;
    std::uint64_t totalBytes = 0;
};

void Walk(const std::wstring& root, const MaskSet& masks, WalkOutcome& outcome) {
    PosixLister lister;
    ScanState state;
    ScanFolder(root, lister, masks, outcome.sink, outcome.sink, state);
    outcome.totalBytes = state.totalBytes;
}

FoundFiles AsFound(const WalkOutcome& outcome) {
    FoundFiles found;
    std::string bytes;
    for (const auto& [path, size] : outcome.sink.files) {
        EncodeFileName(path, bytes);
        found.files.emplace_back(bytes, size);
        found.totalBytes += size;
    }
    return found;
}

double Milliseconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The manifest that generate wrote beside the tree, if there is one.
bool ReadManifest(const std::string& file, FoundFiles& found) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const std::uint64_t size = std::stoull(line.substr(0, tab));
        found.files.emplace_back(line.substr(tab + 1), size);
        found.totalBytes += size;
    }
    return true;
}

// Same files with the same sizes and the same total; prints the first difference otherwise.
bool SameFiles(const char* leftName, FoundFiles left, const char* rightName, FoundFiles right) {
    std::sort(left.files.begin(), left.files.end());
    std::sort(right.files.begin(), right.files.end());
    if (left.files == right.files && left.totalBytes == right.totalBytes) return true;
    std::fprintf(stderr, "%s: %zu files, %" PRIu64 " bytes; %s: %zu files, %" PRIu64 " bytes\n",
                 leftName, left.files.size(), left.totalBytes, rightName, right.files.size(),
                 right.totalBytes);
    auto reportFirstOnly = [](const char* name, const FoundFiles& in, const FoundFiles& out) {
        std::vector<std::pair<std::string, std::uint64_t>> only;
        std::set_difference(in.files.begin(), in.files.end(), out.files.begin(), out.files.end(),
                            std::back_inserter(only));
        if (!only.empty())
            std::fprintf(stderr, "  %zu only in %s, first: %" PRIu64 " %s\n", only.size(), name,
                         only.front().second, only.front().first.c_str());
    };
    reportFirstOnly(leftName, left, right);
    reportFirstOnly(rightName, right, left);
    return false;
}

const char* Verdict(double ratio, double goal) { return ratio <= goal ? "met" : "MISSED"; }

}  // namespace

int RunWalkBenchmark(const WalkBenchmarkOptions& options) {
    std::string root = options.root;
    while (root.size() > 1 && root.back() == '/') root.pop_back();

    const std::vector<std::wstring> catalogue = ReadCatalogueMasks(options.cataloguePath);
    ActiveMasks active;
    for (const std::wstring& mask : catalogue) active.push_back(UpperCase(mask));
    const MaskSet masks(active);
    std::wstring walkRoot;
    DecodeFileName(root, walkRoot);
    walkRoot.push_back(L'/');
    const std::vector<std::string> findArguments = FindMaskArguments(root, catalogue);

    // Warm-up, which also gives the results to compare.
    WalkOutcome warmWalk;
    Walk(walkRoot, masks, warmWalk);
    const FoundFiles walked = AsFound(warmWalk);
    const FoundFiles found = RunFindListing(findArguments);
    RunFindBare(root);

    bool agree = walked.totalBytes == warmWalk.totalBytes &&
                 SameFiles("walker", walked, "find", found);
    FoundFiles manifest;
    if (ReadManifest(root + ".manifest", manifest))
        agree = SameFiles("walker", walked, "manifest", manifest) && agree;

    std::vector<double> walkTimes, maskedTimes, bareTimes;
    for (int run = 0; run < options.runs && agree; ++run) {
        WalkOutcome outcome;
        walkTimes.push_back(Milliseconds([&] { Walk(walkRoot, masks, outcome); }));
        FoundFiles again;
        maskedTimes.push_back(Milliseconds([&] { again = RunFindListing(findArguments); }));
        bareTimes.push_back(Milliseconds([&] { RunFindBare(root); }));
        if (outcome.sink.files.size() != walked.files.size() ||
            outcome.totalBytes != walked.totalBytes ||
            again.files.size() != found.files.size() || again.totalBytes != found.totalBytes) {
            std::fprintf(stderr, "run %d found other results than the warm-up\n", run + 1);
            agree = false;
        }
    }
    if (!agree) {
        std::fprintf(stderr, "b1 FAILED: the walks disagree\n");
        return 1;
    }

    const double walk = Median(walkTimes);
    const double masked = Median(maskedTimes);
    const double bare = Median(bareTimes);
    std::printf("%-4s %9s %16s %10s %10s %10s %22s %22s\n", "", "matches", "bytes", "walk ms",
                "find+m ms", "find ms", "walk/find+masks", "walk/bare find");
    std::printf("%-4s %9zu %16" PRIu64 " %10.2f %10.2f %10.2f %8.3f (<=%.1f %-6s) "
                "%8.3f (<=%.1f %-6s)\n",
                "b1", walked.files.size(), walked.totalBytes, walk, masked, bare, walk / masked,
                kGoalAgainstMaskedFind, Verdict(walk / masked, kGoalAgainstMaskedFind),
                walk / bare, kGoalAgainstBareFind, Verdict(walk / bare, kGoalAgainstBareFind));
    return 0;
}

}  // namespace qorvani::bench
