// The order the check window lists checked units in: differing units by margin, then the ones
// that cannot be read, then the good ones, each group in list order.

#include "core/CheckedUnits.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A unit of the list by its kind: "d<margin>" differs with that worst margin ("dnan": none),
// "e" cannot be read, "ok" passes.
TCheckedUnit Unit(const std::string& kind)
{
    TCheckedUnit unit;
    unit.File = kind;
    if (kind == "e") {
        unit.Failure = "Read beyond end of file";
        return unit;
    }
    TMaskVerdict verdict;
    verdict.Ok = kind == "ok";
    verdict.WorstMarginDb = kind == "dnan" ? std::nan("") : kind == "ok" ? 2.0 : std::stod(kind.substr(1));
    unit.Verdict = verdict;
    return unit;
}

TEST(CheckedUnits, FailuresFirstBySmallestMarginThenUnreadThenGoodInListOrder)
{
    const std::vector<std::string> kinds = {"ok", "d-1.5", "e", "dnan", "d-3", "ok", "d-1.5", "e", "d0.5"};
    std::vector<TCheckedUnit> units;
    for (const std::string& kind : kinds) {
        units.push_back(Unit(kind));
    }
    const std::vector<std::size_t> expected = {4, 1, 6, 8, 3, 2, 7, 0, 5};
    EXPECT_EQ(FailuresFirstOrder(units), expected);
}

} // namespace
