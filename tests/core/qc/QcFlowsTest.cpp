// The two flows every QC action goes through: learning a mask from units and judging units
// against it in turn. The commands and windows on top of them are tested with their own bytes;
// here what only the flows decide: the order units are handed over, what a unit that cannot be
// read becomes, and where reading stops.

#include "core/qc/MaskLearning.h"
#include "core/qc/UnitCheck.h"
#include "tests/support/SpectrumFixtures.h"
#include "tests/support/TTempFolder.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

using testsupport::TSpectrumCodes;

// Seven units: five alike (codes 5000 with line 200 at 5000 + 40 u), one with line 200 at 50, and
// a name that is missing (index 5).
class QcFlows : public testing::Test {
protected:
    QcFlows()
    {
        for (int u = 0; u < 7; ++u) {
            Units.push_back(Folder.File("unit" + std::to_string(u) + ".spm"));
            if (u == 5) {
                continue;
            }
            TSpectrumCodes codes;
            codes.fill(5000);
            codes[200] = static_cast<std::int16_t>(u == 6 ? 50 : 5000 + 40 * u);
            testsupport::WriteSpectrumFixture(Units.back(), 1e-4L, codes);
        }
    }

    testsupport::TTempFolder Folder;
    std::vector<std::string> Units;
};

TEST_F(QcFlows, LearningStopsWhereTheCallerSaysAndLearnsOnlyFromEveryUnit)
{
    std::vector<std::size_t> looked;
    const auto lookAll = [&](std::size_t index, const TUnitOutcome&) {
        looked.push_back(index);
        return true;
    };
    const TLearnedMask missing = LearnMask(Units, {}, {}, 2, "9.9.9", lookAll);
    EXPECT_EQ(looked, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(missing.Mask);
    EXPECT_EQ(missing.Unread, 1u);

    looked.clear();
    const TLearnedMask stopped = LearnMask(Units, {}, {}, 2, "9.9.9", [&](std::size_t index, const TUnitOutcome& unit) {
        looked.push_back(index);
        return !unit.Error;
    });
    EXPECT_EQ(looked, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(stopped.Mask);

    const std::vector<std::string> good(Units.begin(), Units.begin() + 5);
    const TLearnedMask learned = LearnMask(good, {}, {}, 2, "9.9.9");
    ASSERT_TRUE(learned.Mask);
    EXPECT_EQ(learned.Counts.SpectrumFiles, 5u);
    EXPECT_EQ(learned.Warnings, MaskLearningWarnings(learned.Counts));
    EXPECT_EQ(learned.Mask->Notes.front(), "Learned by tulvo-cli 9.9.9 from 5 spectrum files.");
    EXPECT_THROW(LearnMask({good.begin(), good.begin() + 4}, {}, {}, 2, "9.9.9"), std::invalid_argument);
}

TEST_F(QcFlows, UnitsAreJudgedInListOrderAndTheUnreadKeepTheirFailure)
{
    const std::vector<std::string> good(Units.begin(), Units.begin() + 5);
    const TToleranceMask mask = *LearnMask(good, {}, {}, 2, "9.9.9").Mask;
    const std::vector<TJudgedUnit> units = CheckUnits(mask, Units, {}, 3);
    ASSERT_EQ(units.size(), Units.size());
    for (std::size_t k = 0; k < units.size(); ++k) {
        EXPECT_EQ(units[k].File, Units[k]);
        EXPECT_EQ(units[k].Verdict.has_value(), k != 5);
    }
    EXPECT_EQ(units[5].Failure, "File not found");
    EXPECT_TRUE(units[5].Error && !units[5].Unit);
    EXPECT_TRUE(units[6].Differs());
    EXPECT_EQ(units[6].Verdict->WorstLine, 200);
    const TCheckCounts counts = CountVerdicts(units);
    EXPECT_EQ(CheckSummaryText(counts, TLanguage::English), "7 units: 5 ok, 1 differs, 1 cannot be read");
    EXPECT_EQ(FailuresFirstOrder(units), (std::vector<std::size_t>{6, 5, 0, 1, 2, 3, 4}));

    std::atomic<bool> stop{false};
    std::vector<std::size_t> taken;
    EXPECT_FALSE(CheckUnitsInTurn(
        mask, Units, {}, 2,
        [&](std::size_t index, TJudgedUnit&) {
            taken.push_back(index);
            stop = index == 2;
        },
        &stop));
    EXPECT_EQ(taken, (std::vector<std::size_t>{0, 1, 2}));
}

} // namespace
