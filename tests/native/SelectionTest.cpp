#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/core/Layout.h"
#include "clean/core/Selection.h"
#include "common/core/RowEventHold.h"

using namespace qorvani;

namespace {

// Both lists as check boxes, a mask list rebuilt from the type rows, and a log of every call.
class FakeWindow : public SelectionView, public Pacing {
public:
    std::vector<bool> results;
    std::vector<bool> types;
    std::vector<std::wstring> typeTexts;
    bool resultsEnabled = true;
    bool typesEnabled = true;
    std::vector<std::wstring> masks;  // slots 1 to N of the active masks
    std::vector<std::string> log;
    int outOfRange = 0;
    // Runs at each yield, with the number of the yield (from 1).
    std::function<void(int)> onYield;
    int yields = 0;

    explicit FakeWindow(std::size_t resultRows = 0, std::size_t typeRows = 0)
        : results(resultRows, false), types(typeRows, false) {
        for (std::size_t i = 0; i < typeRows; ++i)
            typeTexts.push_back(L"*.t" + std::to_wstring(i));
    }

    std::vector<bool>& Rows(SelectionList list) {
        return list == SelectionList::Results ? results : types;
    }

    bool ListEnabled(SelectionList list) override {
        log.push_back("enabled");
        return list == SelectionList::Results ? resultsEnabled : typesEnabled;
    }
    std::size_t RowCount(SelectionList list) override {
        log.push_back("count");
        return Rows(list).size();
    }
    void SetRowChecked(SelectionList list, std::size_t row, bool checked) override {
        log.push_back(std::string(list == SelectionList::Results ? "R" : "T") +
                      std::to_string(row) + (checked ? "+" : "-"));
        if (row >= Rows(list).size()) {
            ++outOfRange;
            return;
        }
        Rows(list)[row] = checked;
    }
    void RebuildActiveMasks() override {
        log.push_back("rebuild");
        masks = CheckedMasks();
    }
    // Each begin and end of the pacing, with the number of actions before it.
    std::vector<std::string> pacing;
    void Begin() override { pacing.push_back("begin@" + std::to_string(Actions().size())); }
    void End() override { pacing.push_back("end@" + std::to_string(Actions().size())); }
    void AtRowEnd() override {
        log.push_back("yield");
        ++yields;
        if (onYield) onYield(yields);
    }

    std::vector<std::wstring> CheckedMasks() const {
        std::vector<std::wstring> checked;
        for (std::size_t i = 0; i < types.size(); ++i)
            if (types[i]) checked.push_back(typeTexts[i]);
        return checked;
    }
    // The log without the count and enabled queries.
    std::vector<std::string> Actions() const {
        std::vector<std::string> actions;
        for (const std::string& entry : log)
            if (entry != "count" && entry != "enabled") actions.push_back(entry);
        return actions;
    }
};

std::vector<bool> All(std::size_t n, bool value) { return std::vector<bool>(n, value); }

constexpr SelectionTarget kCheckAllResults{SelectionList::Results, true};
constexpr SelectionTarget kCheckNoResults{SelectionList::Results, false};
constexpr SelectionTarget kCheckAllTypes{SelectionList::Types, true};
constexpr SelectionTarget kCheckNoTypes{SelectionList::Types, false};

}  // namespace

TEST(Selection, ResultListSelectAllAndNone) {
    FakeWindow window(3, 4);
    window.results = {false, true, false};

    SelectionClick(kCheckAllResults, window, window);
    EXPECT_EQ(window.results, All(3, true));
    EXPECT_EQ(window.Actions(), (std::vector<std::string>{"R0+", "yield", "R1+", "yield", "R2+",
                                                          "yield"}));

    window.log.clear();
    SelectionClick(kCheckNoResults, window, window);
    EXPECT_EQ(window.results, All(3, false));
    EXPECT_EQ(window.Actions(), (std::vector<std::string>{"R0-", "yield", "R1-", "yield", "R2-",
                                                          "yield"}));
    // The type list and the masks are not touched.
    EXPECT_EQ(window.types, All(4, false));

    // An empty result list: nothing is set, nothing yields.
    FakeWindow empty(0, 4);
    SelectionClick(kCheckAllResults, empty, empty);
    SelectionClick(kCheckNoResults, empty, empty);
    EXPECT_TRUE(empty.Actions().empty());
}

TEST(Selection, TypeListRebuildsTheMasksAfterEveryRow) {
    FakeWindow window(2, 26);
    window.types[5] = true;
    // At every yield the masks agree with the check boxes as they are then.
    int disagreements = 0;
    window.onYield = [&](int) {
        if (window.masks != window.CheckedMasks()) ++disagreements;
    };

    SelectionClick(kCheckAllTypes, window, window);
    EXPECT_EQ(window.types, All(26, true));
    EXPECT_EQ(window.masks, window.typeTexts);
    std::vector<std::string> expected;
    for (int row = 0; row < 26; ++row) {
        expected.push_back("T" + std::to_string(row) + "+");
        expected.push_back("rebuild");
        expected.push_back("yield");
    }
    EXPECT_EQ(window.Actions(), expected);

    window.log.clear();
    SelectionClick(kCheckNoTypes, window, window);
    EXPECT_EQ(window.types, All(26, false));
    EXPECT_TRUE(window.masks.empty());
    EXPECT_EQ(window.Actions().size(), 26u * 3u);
    EXPECT_EQ(disagreements, 0);
    EXPECT_EQ(window.results, All(2, false));
}

TEST(Selection, DisabledListDoesNothing) {
    FakeWindow window(3, 3);
    window.resultsEnabled = false;
    window.typesEnabled = false;
    for (const SelectionButton& button : kSelectionButtons) SelectionClick(button.target, window, window);
    EXPECT_TRUE(window.Actions().empty());
    EXPECT_EQ(window.results, All(3, false));
    EXPECT_EQ(window.types, All(3, false));
}

// The pass's pacing begins before its first row and ends after its last, a pass over a disabled
// list and one run from another's yield included.
TEST(Selection, PacingBeginsAndEndsAroundEveryPass) {
    FakeWindow window(3, 2);
    SelectionClick(kCheckAllResults, window, window);
    EXPECT_EQ(window.pacing, (std::vector<std::string>{"begin@0", "end@6"}));

    FakeWindow disabled(3, 0);
    disabled.resultsEnabled = false;
    SelectionClick(kCheckAllResults, disabled, disabled);
    EXPECT_EQ(disabled.pacing, (std::vector<std::string>{"begin@0", "end@0"}));

    FakeWindow nested(3, 0);
    nested.onYield = [&](int yield) {
        if (yield == 1) SelectionClick(kCheckNoResults, nested, nested);
    };
    SelectionClick(kCheckAllResults, nested, nested);
    EXPECT_EQ(nested.pacing, (std::vector<std::string>{"begin@0", "begin@2", "end@8", "end@12"}));
}

TEST(Selection, APassRunFromAYieldRunsWholeThenTheOuterOneGoesOn) {
    FakeWindow window(3, 0);
    window.onYield = [&](int yield) {
        if (yield == 1) SelectionClick(kCheckNoResults, window, window);
    };

    SelectionClick(kCheckAllResults, window, window);

    // Row 0 was set, then the nested pass cleared all three; the outer pass then set the rest.
    EXPECT_EQ(window.Actions(), (std::vector<std::string>{"R0+", "yield", "R0-", "yield", "R1-",
                                                          "yield", "R2-", "yield", "R1+", "yield",
                                                          "R2+", "yield"}));
    EXPECT_EQ(window.results, (std::vector<bool>{false, true, true}));
}

TEST(Selection, AListChangedDuringAPassIsNotAddressedBeyondItsEnd) {
    // A delete run from the second yield leaves one row.
    FakeWindow shrunk(5, 0);
    shrunk.onYield = [&](int yield) {
        if (yield == 2) shrunk.results.resize(1);
    };
    SelectionClick(kCheckAllResults, shrunk, shrunk);
    EXPECT_EQ(shrunk.outOfRange, 0);
    EXPECT_EQ(shrunk.Actions(), (std::vector<std::string>{"R0+", "yield", "R1+", "yield"}));
    EXPECT_EQ(shrunk.results, All(1, true));

    // A scan run from the first yield empties the list.
    FakeWindow emptied(4, 0);
    emptied.onYield = [&](int) { emptied.results.clear(); };
    SelectionClick(kCheckNoResults, emptied, emptied);
    EXPECT_EQ(emptied.outOfRange, 0);
    EXPECT_EQ(emptied.Actions(), (std::vector<std::string>{"R0-", "yield"}));

    // A scan that refills it with more rows: the pass keeps to the count taken at its start.
    FakeWindow grown(2, 0);
    grown.onYield = [&](int yield) {
        if (yield == 1) grown.results.assign(6, false);
    };
    SelectionClick(kCheckAllResults, grown, grown);
    EXPECT_EQ(grown.results, (std::vector<bool>{false, true, false, false, false, false}));
}

TEST(Selection, EachSelectionButtonCarriesItsListAndState) {
    const std::vector<std::pair<int, std::pair<SelectionList, bool>>> expected = {
        {kIdCheckAllResultsButton, {SelectionList::Results, true}},
        {kIdCheckNoResultsButton, {SelectionList::Results, false}},
        {kIdCheckAllTypesButton, {SelectionList::Types, true}},
        {kIdCheckNoTypesButton, {SelectionList::Types, false}},
    };
    ASSERT_EQ(std::size(kSelectionButtons), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const SelectionButton& button = kSelectionButtons[i];
        EXPECT_EQ(button.id, expected[i].first);
        EXPECT_EQ(button.target.list, expected[i].second.first);
        EXPECT_EQ(button.target.checked, expected[i].second.second);
        // Each is a flat button of the main window.
        const ControlLayout* row = FindControl(kMainLayout, button.id);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->kind, ControlKind::FlatButton);
    }
}

// The row events of a bulk pass: told row by row within a screenful, held past it and told once
// at the end (only when a row changed), held through nested passes until the last holding one ends.
TEST(SelectionRowEvents, HeldPastAScreenfulAndToldOnceAtTheEnd) {
    EXPECT_FALSE(RowEventHold::Holds(20, 20));
    EXPECT_TRUE(RowEventHold::Holds(21, 20));
    EXPECT_TRUE(RowEventHold::Holds(1, 0));  // a list that shows no row

    RowEventHold events;
    EXPECT_TRUE(events.RowChanged()) << "no pass: every row is told";
    EXPECT_FALSE(events.End()) << "an end without a pass tells nothing";

    events.Begin(20, 20);
    EXPECT_TRUE(events.RowChanged());
    EXPECT_FALSE(events.End()) << "a pass within a screenful has nothing held to tell";

    events.Begin(100000, 23);
    EXPECT_FALSE(events.RowChanged());
    EXPECT_FALSE(events.RowChanged());
    EXPECT_TRUE(events.End()) << "one event for the whole list";
    EXPECT_FALSE(events.Holding());
    EXPECT_TRUE(events.RowChanged());

    events.Begin(100000, 23);
    EXPECT_FALSE(events.End()) << "every row was already in its state: nothing to tell";

    // A pass run from the yield of another: the outer one holds, so the inner one's end is
    // silent and its rows stay held; a small pass inside holds nothing of its own.
    events.Begin(100000, 23);
    EXPECT_FALSE(events.RowChanged());
    events.Begin(5, 23);
    EXPECT_FALSE(events.RowChanged()) << "the outer pass still holds";
    EXPECT_FALSE(events.End());
    events.Begin(100000, 23);
    EXPECT_FALSE(events.End());
    EXPECT_TRUE(events.Holding());
    EXPECT_TRUE(events.End());

    // A held pass inside a small one: told once at the inner end, then row by row again.
    events.Begin(5, 23);
    events.Begin(100000, 23);
    EXPECT_FALSE(events.RowChanged());
    EXPECT_TRUE(events.End());
    EXPECT_TRUE(events.RowChanged());
    EXPECT_FALSE(events.End());
}
