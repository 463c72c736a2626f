#include "core/CheckedUnits.h"

#include "core/CheckTable.h"
#include "core/ErrorTexts.h"

#include <algorithm>
#include <cmath>

std::vector<TCheckedUnit> CheckUnits(const TToleranceMask& mask, const std::vector<std::string>& files,
                                     const TUnitReadOptions& options, int jobs,
                                     const std::function<void(std::size_t index)>& progress)
{
    std::vector<TCheckedUnit> units(files.size());
    ReadUnits(files, options, jobs, [&](std::size_t index, TUnitOutcome& outcome) {
        TCheckedUnit& checked = units[index];
        checked.File = files[index];
        if (outcome.Error) {
            checked.Failure = FailureText(outcome.Error);
        } else {
            TUnit& unit = *outcome.Unit;
            checked.Verdict = CheckUnit(mask, unit.LevelsDb, unit.LevelDbfs, unit.Kind);
            checked.Spectrum = unit.Spectrum;
            checked.Header = unit.Header;
        }
        if (progress) {
            progress(index);
        }
    });
    return units;
}

std::string CheckTableText(std::span<const TCheckedUnit> units)
{
    std::string text = CheckTableHeaderLine();
    for (const TCheckedUnit& unit : units) {
        text += unit.Verdict ? CheckTableRow(unit.File, *unit.Verdict) : CheckTableFailureRow(unit.File, unit.Failure);
    }
    return text;
}

std::vector<std::size_t> FailuresFirstOrder(std::span<const TCheckedUnit> units)
{
    // Differing units by margin, those without a margin after them; unread ones; ok ones.
    const auto group = [](const TCheckedUnit& unit) {
        if (unit.Differs()) {
            return std::isnan(unit.Verdict->WorstMarginDb) ? 1 : 0;
        }
        return unit.Verdict ? 3 : 2;
    };
    std::vector<std::size_t> order(units.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int ga = group(units[a]);
        const int gb = group(units[b]);
        if (ga != gb) {
            return ga < gb;
        }
        return ga == 0 && units[a].Verdict->WorstMarginDb < units[b].Verdict->WorstMarginDb;
    });
    return order;
}
