#include "ScanChecks.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "BenchSupport.h"
#include "BenchWindow.h"
#include "TreeManifest.h"

namespace qorvani::bench {
namespace {

// "only in A: n, first: path" for both sides; empty when the sets are equal.
std::string Difference(const char* leftName, const std::set<std::wstring>& left, const char* rightName,
                       const std::set<std::wstring>& right) {
    std::string text;
    auto side = [&](const char* name, const std::set<std::wstring>& in, const std::set<std::wstring>& out) {
        std::vector<std::wstring> only;
        std::set_difference(in.begin(), in.end(), out.begin(), out.end(), std::back_inserter(only));
        if (!only.empty())
            text += std::string(" ") + std::to_string(only.size()) + " only in " + name + ", first " +
                    Utf8(only.front()) + ";";
    };
    side(leftName, left, right);
    side(rightName, right, left);
    return text;
}

}  // namespace

ActiveMasks AllCatalogueMasks() {
    BenchWindow window;
    window.CheckAllTypes();
    return window.Main().CurrentActiveMasks();
}

Reference WalkAndCheck(const std::wstring& root, const ActiveMasks& masks) {
    Reference reference;
    reference.walk = BareWalk(root, masks, &reference.paths);
    if (reference.walk.rows == 0) throw BenchError("the walk of " + Utf8(root) + " finds nothing: no tree there?");
    if (reference.paths.size() != reference.walk.rows) throw BenchError("the walk listed a file twice");
    if (auto expected = ReadExpectedMatches(root)) {
        reference.manifestChecked = true;
        reference.beyondMaxPath = expected->beyondMaxPath;
        const std::string difference = Difference("walk", reference.paths, "manifest", expected->paths);
        if (!difference.empty() || expected->bytes != reference.walk.bytes)
            throw BenchError("the walk and the manifest disagree (" + std::to_string(reference.walk.bytes) +
                             " against " + std::to_string(expected->bytes) + " bytes):" + difference);
    }
    return reference;
}

void CheckRows(const ResultStore& rows, std::uint64_t totalBytes, const Reference& reference, const char* who) {
    if (rows.Count() != reference.walk.rows || totalBytes != reference.walk.bytes)
        throw BenchError(std::string(who) + " found " + std::to_string(rows.Count()) + " rows, " +
                         std::to_string(totalBytes) + " bytes; the bare walk " + std::to_string(reference.walk.rows) +
                         " rows, " + std::to_string(reference.walk.bytes) + " bytes");
    std::set<std::wstring> listed;
    for (std::size_t i = 0; i < rows.Count(); ++i) listed.insert(rows.ExactPath(i));
    const std::string difference = Difference(who, listed, "walk", reference.paths);
    if (!difference.empty()) throw BenchError(std::string(who) + " and the bare walk disagree:" + difference);
}

}  // namespace qorvani::bench
