// Fuzz target: the analysis of one recording, from the read through the
// filter, the FFT and the quantisation to the written spectrum file, which
// must read back as the codes and scale that were written.
//
// The first input byte chooses the file: odd, the rest of the input repeated
// to a whole sample block (so that short inputs explore the samples); even,
// the rest as it stands (mostly too short: the read's failures).

#include "FuzzFiles.h"

#include "core/analysis/SpmFile.h"
#include "core/analysis/TRecordingAnalysis.h"
#include "core/base/AnalysisConstants.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TRecordingAnalysis analysis; // large; one per process, as one per batch worker
    static const std::string spmPath = ScratchFolder() + "/recording.spm";
    if (size == 0) {
        return 0;
    }
    std::vector<std::uint8_t> file(data + 1, data + size);
    if ((data[0] & 1) != 0 && !file.empty()) {
        file.resize(SampleBlockFileSize);
        for (std::size_t i = size - 1; i < file.size(); ++i) {
            file[i] = file[i % (size - 1)];
        }
    }
    try {
        analysis.AnalyseRecording(BytesAsFile(file.data(), file.size()));
    } catch (const EInOutError&) {
        if (file.size() >= static_cast<std::size_t>(SampleBlockFileSize)) {
            std::abort(); // a whole block never fails to read
        }
        return 0;
    } catch (const EMathError&) {
        return 0;
    }
    analysis.WriteSpectrum(spmPath);
    analysis.ReleaseSpareFile();
    try {
        const TSpectrum spectrum = ReadSpectrum(spmPath);
        if (spectrum.Codes != analysis.BandCodes ||
            EncodeExtended(spectrum.Scale) != EncodeExtended(analysis.SpectrumScale)) {
            std::abort();
        }
    } catch (const EMathError&) {
    }
    int top = 0;
    for (const auto code : analysis.BandCodes) {
        if (code < 0 || code > TopCode) {
            std::abort(); // a written band has codes 0..10000
        }
        top = code > top ? code : top;
    }
    if (top != TopCode) {
        std::abort();
    }
    return 0;
}
