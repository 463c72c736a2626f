#include "core/analysis/SpectrumTables.h"

#include "core/base/CsvText.h"

#include <algorithm>

std::string SpectrumTableHeader(const std::vector<std::string>& names)
{
    std::string row = "Frequency (Hz)";
    for (const auto& name : names) {
        row += ',';
        row += CsvField(name);
    }
    return row + '\n';
}

std::string SpectrumTableCell(const TSpectrum& spectrum, int line, bool codes)
{
    return codes ? std::to_string(spectrum.Codes[line]) : FormatSingle(spectrum.Values[line]);
}

std::string SpectrumTableRow(const std::vector<TSpectrum>& spectra, int line, bool codes)
{
    std::string row = std::to_string(BandLineFrequencyHz(line));
    for (const auto& spectrum : spectra) {
        row += ',';
        row += SpectrumTableCell(spectrum, line, codes);
    }
    return row + '\n';
}

std::string FramesTableHeader()
{
    std::string row = "Frequency (Hz)";
    for (int frame = 0; frame < AveragedFrames; ++frame) {
        row += ',' + std::to_string(FrameStartMs(frame)) + " ms";
    }
    return row + ",Max\n";
}

std::string FramesTableRow(const TRecordingFrames& frames, int line)
{
    std::string row = std::to_string(BandLineFrequencyHz(line));
    single hold = frames.Values.front()[line];
    for (const TBandValues& frame : frames.Values) {
        row += ',' + FormatSingle(frame[line]);
        hold = std::max(hold, frame[line]);
    }
    return row + ',' + FormatSingle(hold) + '\n';
}

std::string FramesLongHeader() { return "File,Frame start (ms),Frequency (Hz),Value\n"; }

std::string FramesLongRows(const std::string& name, const TRecordingFrames& frames)
{
    const std::string file = CsvField(name) + ',';
    std::string rows;
    for (int frame = 0; frame < AveragedFrames; ++frame) {
        const std::string start = file + std::to_string(FrameStartMs(frame)) + ',';
        for (int line = 0; line < SpectrumLines; ++line) {
            rows += start + std::to_string(BandLineFrequencyHz(line)) + ',' + FormatSingle(frames.Values[frame][line]) +
                    '\n';
        }
    }
    return rows;
}
