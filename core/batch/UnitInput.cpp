#include "core/batch/UnitInput.h"

#include "core/base/TulvoErrors.h"
#include "core/batch/BatchRun.h"
#include "core/batch/OrderedWork.h"
#include "dsp/dspFloatControl.h"

#include <algorithm>

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size() &&
           std::equal(
               ending.begin(), ending.end(), text.end() - static_cast<std::ptrdiff_t>(ending.size()),
               [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b); });
}

TUnitOutcome ReadOutcome(TUnitReader& reader, const std::string& path)
{
    TUnitOutcome outcome;
    try {
        outcome.Unit = reader.Read(path);
    } catch (...) {
        outcome.Error = std::current_exception();
    }
    return outcome;
}

bool StopRequested(const std::atomic<bool>* stop) { return stop != nullptr && stop->load(std::memory_order_relaxed); }

} // namespace

std::optional<TUnitSource> UnitSourceOf(std::string_view path)
{
    if (path == "-" || EndsWithNoCase(path, ".spm")) {
        return TUnitSource::SpectrumFile;
    }
    if (EndsWithNoCase(path, ".wav")) {
        return TUnitSource::Recording;
    }
    return std::nullopt;
}

TUnitReader::TUnitReader(TUnitReadOptions options) : options_(std::move(options)) {}

TUnitReader::~TUnitReader() = default;

TUnit TUnitReader::Read(const std::string& path)
{
    // As the batch's workers: the exact state before each unit, so that a
    // state that cannot be set fails it instead of changing its values.
    dspFloatControl::SetExactFloatControl();
    TUnit unit;
    unit.Source = UnitSourceOf(path).value_or(TUnitSource::SpectrumFile);
    unit.Kind = options_.Kind;
    if (unit.Source == TUnitSource::SpectrumFile && unit.Kind == TSpectrumKind::MaxHold) {
        throw EContentError(std::string(SpectrumFileHoldsNoFrames), path);
    }
    if (unit.Source == TUnitSource::SpectrumFile) {
        unit.Spectrum = path == "-" && options_.StandardInput ? options_.StandardInput() : ReadSpectrum(path);
        CheckUnitSpectrum(unit.Spectrum, path);
        unit.LevelsDb = LineLevelsDb(unit.Spectrum);
        return unit;
    }
    if (!analysis_) {
        analysis_ = std::make_unique<TRecordingAnalysis>();
        analysis_->SetKeepFrames(options_.Kind == TSpectrumKind::MaxHold);
    }
    TRecordingAnalysis& analysis = *analysis_;
    analysis.Verdict = TWavHeaderVerdict{};
    try {
        analysis.AnalyseRecording(path, SpectrumFileName(path), TFileKinds::RegularOnly, options_.Policy);
        if (unit.Kind == TSpectrumKind::MaxHold) {
            unit.Spectrum = analysis.Frames().MaxHoldSpectrum();
        } else {
            unit.Spectrum.Scale = analysis.SpectrumScale;
            unit.Spectrum.Codes = analysis.BandCodes;
            BandFromCodes(unit.Spectrum.Codes, unit.Spectrum.Scale, unit.Spectrum.Values);
        }
        CheckUnitSpectrum(unit.Spectrum, path);
    } catch (...) {
        RethrowNamingFile(std::current_exception(), path);
    }
    unit.LevelsDb = LineLevelsDb(unit.Spectrum);
    unit.LevelDbfs = RecordingLevelDbfs(analysis.Rms);
    unit.Header = analysis.Verdict;
    return unit;
}

bool IsUnitFailure(const std::exception_ptr& error)
{
    if (IsRecordingFailure(error)) {
        return true;
    }
    try {
        std::rethrow_exception(error);
    } catch (const EContentError&) {
        return true;
    } catch (...) {
        return false;
    }
}

bool ReadUnits(const std::vector<std::string>& paths, const TUnitReadOptions& options, int jobs,
               const std::function<void(std::size_t index, TUnitOutcome& outcome)>& take, const std::atomic<bool>* stop)
{
    // The caller's thread makes the workers' readers and analyses.
    dspFloatControl::SetExactFloatControl();
    jobs = jobs > 0 ? jobs : DefaultJobCount();
    jobs = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(jobs), paths.size()));
    const auto hand = [&](std::size_t index, TUnitOutcome& outcome) {
        if (outcome.Error && !IsUnitFailure(outcome.Error)) {
            std::rethrow_exception(outcome.Error);
        }
        take(index, outcome);
    };
    if (jobs <= 1) {
        TUnitReader reader(options);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (StopRequested(stop)) {
                return false;
            }
            TUnitOutcome outcome = ReadOutcome(reader, paths[i]);
            hand(i, outcome);
        }
        return true;
    }
    TOrderedWork<TUnitOutcome, TUnitReader> work(
        paths.size(), jobs, [&](TUnitReader& reader, std::size_t index) { return ReadOutcome(reader, paths[index]); },
        [&] { return std::make_unique<TUnitReader>(options); }, stop);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::optional<TUnitOutcome> outcome;
        if (!StopRequested(stop)) {
            outcome = work.Take(i);
        }
        if (!outcome) {
            return false;
        }
        hand(i, *outcome);
    }
    return true;
}
