#include "core/qc/MaskLearning.h"

#include "core/files/PathCollisions.h"

#include <stdexcept>

namespace {

// The program named in a mask's notes: the masks of the windows are tulvo-cli's files.
constexpr std::string_view MaskMaker = "tulvo-cli";

std::string Count(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::string TooFewMaskUnitsText(std::size_t units)
{
    return "a mask needs at least " + std::to_string(MinimumMaskUnits) + " units, " + std::to_string(units) + " given";
}

std::string MaskOverwritesUnitText(std::string_view mask, std::string_view unit)
{
    return "the mask " + std::string(mask) + " would overwrite " + std::string(unit) + ", one of its units";
}

std::vector<std::string> MaskLearningWarnings(const TMaskUnitCounts& counts)
{
    std::vector<std::string> warnings;
    if (counts.Total() < RoughMaskUnits) {
        warnings.push_back("a mask from fewer than " + std::to_string(RoughMaskUnits) + " units is rough (" +
                           std::to_string(counts.Total()) + " given)");
    }
    if (counts.Recordings > 0 && counts.SpectrumFiles > 0) {
        warnings.push_back("no level band: " + std::to_string(counts.SpectrumFiles) +
                           " of the units are spectrum files, which hold no level");
    }
    return warnings;
}

void AddLearningNotes(TToleranceMask& mask, const TMaskUnitCounts& counts, std::string_view version)
{
    std::string text = "Learned by " + std::string(MaskMaker) + " " + std::string(version) + " from ";
    if (counts.Recordings > 0 && counts.SpectrumFiles > 0) {
        text += Count(counts.Recordings, "recording", "recordings") + " and " +
                Count(counts.SpectrumFiles, "spectrum file", "spectrum files");
    } else {
        text += counts.Recordings > 0 ? Count(counts.Recordings, "recording", "recordings")
                                      : Count(counts.SpectrumFiles, "spectrum file", "spectrum files");
    }
    mask.Notes.push_back(text + ".");
    if (!mask.Level) {
        mask.Notes.push_back("No level band: spectrum files hold no level, only recordings do.");
    }
}

std::optional<std::string> MaskOverwriteRefusal(const std::string& mask, const std::vector<std::string>& units)
{
    if (mask == "-") {
        return std::nullopt;
    }
    if (const auto same = FindSameFile(mask, units, {})) {
        return MaskOverwritesUnitText(mask, *same);
    }
    return std::nullopt;
}

TLearnedMask LearnMask(const std::vector<std::string>& units, const TMaskOptions& options,
                       const TUnitReadOptions& readOptions, int jobs, std::string_view version,
                       const std::function<bool(std::size_t index, const TUnitOutcome& outcome)>& look)
{
    if (units.size() < MinimumMaskUnits) {
        throw std::invalid_argument(TooFewMaskUnitsText(units.size()));
    }
    TUnitReadOptions ofKind = readOptions;
    ofKind.Kind = options.Kind;
    TMaskLearner learner(options.Kind);
    TLearnedMask learned;
    std::atomic<bool> stop{false};
    const bool whole = ReadUnits(
        units, ofKind, jobs,
        [&](std::size_t index, TUnitOutcome& outcome) {
            if (look && !look(index, outcome)) {
                stop = true;
            }
            if (outcome.Error) {
                ++learned.Unread;
                return;
            }
            const TUnit& unit = *outcome.Unit;
            ++(unit.Source == TUnitSource::Recording ? learned.Counts.Recordings : learned.Counts.SpectrumFiles);
            learner.Add(unit.Spectrum.Codes, unit.LevelsDb, unit.LevelDbfs);
        },
        &stop);
    if (!whole || stop || learned.Unread > 0) {
        return learned;
    }
    learned.Mask = learner.Learn(options);
    AddLearningNotes(*learned.Mask, learned.Counts, version);
    learned.Warnings = MaskLearningWarnings(learned.Counts);
    return learned;
}
