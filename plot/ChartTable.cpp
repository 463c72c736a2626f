#include "plot/ChartTable.h"

#include <charconv>
#include <string_view>

namespace {

std::string CsvField(std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(field);
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

// The shortest text that reads back as the same value.
template <typename T> std::string Shortest(T value)
{
    char buffer[48];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace

double WaveformTimeMs(int index)
{
    constexpr extended SamplePeriodMs = 0.01953125L; // 1000 / 51200, exact in binary
    return static_cast<double>(index * SamplePeriodMs);
}

std::string SpectrumTable(const std::vector<std::string>& names, const std::vector<TSpectrum>& spectra)
{
    std::string table = "Frequency (Hz)";
    for (const std::string& name : names)
        table += ',' + CsvField(name);
    table += '\n';
    for (int line = 0; line < SpectrumLines; ++line) {
        table += std::to_string(BandLineFrequencyHz(line));
        for (const TSpectrum& spectrum : spectra)
            table += ',' + Shortest(spectrum.Values[line]);
        table += '\n';
    }
    return table;
}

std::string WaveformTable(const TSampleBlock& recording)
{
    std::string table = "Time (ms),Sample\n";
    for (int i = 0; i < SampleCount; ++i)
        table += Shortest(WaveformTimeMs(i)) + ',' + std::to_string(recording.Samples[i]) + '\n';
    return table;
}
