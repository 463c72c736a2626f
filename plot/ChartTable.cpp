#include "plot/ChartTable.h"

#include "core/analysis/SpectrumTables.h"
#include "core/base/CsvText.h"

double WaveformTimeMs(int index)
{
    constexpr extended SamplePeriodMs = 0.01953125L; // 1000 / 51200, exact in binary
    return static_cast<double>(index * SamplePeriodMs);
}

std::string SpectrumTable(const std::vector<std::string>& names, const std::vector<TSpectrum>& spectra)
{
    std::string table = SpectrumTableHeader(names);
    for (int line = 0; line < SpectrumLines; ++line)
        table += SpectrumTableRow(spectra, line);
    return table;
}

std::string WaveformTable(const TSampleBlock& recording)
{
    std::string table = "Time (ms),Sample\n";
    for (int i = 0; i < SampleCount; ++i)
        table += FormatShortest(WaveformTimeMs(i)) + ',' + std::to_string(recording.Samples[i]) + '\n';
    return table;
}
