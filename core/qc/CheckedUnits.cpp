#include "core/qc/CheckedUnits.h"

#include "core/files/ErrorMessages.h"
#include "core/qc/CheckTable.h"

std::vector<TCheckedUnit> CheckUnits(const TToleranceMask& mask, const std::vector<std::string>& files,
                                     const TUnitReadOptions& options, int jobs,
                                     const std::function<void(std::size_t index)>& progress)
{
    TUnitReadOptions ofMask = options;
    ofMask.Kind = mask.Options.Kind;
    std::vector<TCheckedUnit> units(files.size());
    ReadUnits(files, ofMask, jobs, [&](std::size_t index, TUnitOutcome& outcome) {
        TCheckedUnit& checked = units[index];
        checked.File = files[index];
        if (outcome.Error) {
            checked.Failure = FailureText(outcome.Error);
        } else {
            const TUnit& unit = *outcome.Unit;
            checked.Verdict = CheckUnit(mask, unit.LevelsDb, unit.LevelDbfs, unit.Kind);
            checked.Unit = std::move(outcome.Unit);
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
    std::vector<const TMaskVerdict*> verdicts;
    for (const TCheckedUnit& unit : units) {
        verdicts.push_back(unit.Verdict ? &*unit.Verdict : nullptr);
    }
    return FailuresFirstOrder(verdicts);
}
