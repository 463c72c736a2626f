#include "core/qc/UnitCheck.h"

#include "core/files/ErrorMessages.h"

TJudgedUnit UnitAsRead(std::string file, TUnitOutcome& outcome)
{
    TJudgedUnit unit;
    unit.File = std::move(file);
    unit.Unit = std::move(outcome.Unit);
    unit.Error = outcome.Error;
    if (unit.Error) {
        unit.Failure = FailureText(unit.Error);
    }
    return unit;
}

bool CheckUnitsInTurn(const TToleranceMask& mask, const std::vector<std::string>& files,
                      const TUnitReadOptions& options, int jobs,
                      const std::function<void(std::size_t index, TJudgedUnit& unit)>& take,
                      const std::atomic<bool>* stop)
{
    TUnitReadOptions ofMask = options;
    ofMask.Kind = mask.Options.Kind;
    return ReadUnits(
        files, ofMask, jobs,
        [&](std::size_t index, TUnitOutcome& outcome) {
            TJudgedUnit judged = UnitAsRead(files[index], outcome);
            if (judged.Unit) {
                judged.Verdict = CheckUnit(mask, judged.Unit->LevelsDb, judged.Unit->LevelDbfs, judged.Unit->Kind);
            }
            take(index, judged);
        },
        stop);
}

std::vector<TJudgedUnit> CheckUnits(const TToleranceMask& mask, const std::vector<std::string>& files,
                                    const TUnitReadOptions& options, int jobs,
                                    const std::function<void(std::size_t index)>& progress)
{
    std::vector<TJudgedUnit> units;
    units.reserve(files.size());
    CheckUnitsInTurn(mask, files, options, jobs, [&](std::size_t index, TJudgedUnit& unit) {
        units.push_back(std::move(unit));
        if (progress) {
            progress(index);
        }
    });
    return units;
}

TCheckCounts CountVerdicts(std::span<const TJudgedUnit> units)
{
    TCheckCounts counts;
    counts.Units = units.size();
    for (const TJudgedUnit& unit : units) {
        ++(!unit.Verdict ? counts.Unread : unit.Verdict->Ok ? counts.Ok : counts.Differs);
    }
    return counts;
}

std::string CheckTableRow(const TJudgedUnit& unit)
{
    return unit.Verdict ? CheckTableRow(unit.File, *unit.Verdict) : CheckTableFailureRow(unit.File, unit.Failure);
}

std::string CheckTableText(std::span<const TJudgedUnit> units)
{
    std::string text = CheckTableHeaderLine();
    for (const TJudgedUnit& unit : units) {
        text += CheckTableRow(unit);
    }
    return text;
}

std::vector<std::size_t> FailuresFirstOrder(std::span<const TJudgedUnit> units)
{
    std::vector<const TMaskVerdict*> verdicts;
    verdicts.reserve(units.size());
    for (const TJudgedUnit& unit : units) {
        verdicts.push_back(unit.Verdict ? &*unit.Verdict : nullptr);
    }
    return FailuresFirstOrder(verdicts);
}
