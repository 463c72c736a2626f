// Fuzz target: the spectrum-file reader on any bytes. A file either reads
// (and then holds exactly its first 732 bytes) or fails with the reader's own
// errors; anything else is a finding.

#include "FuzzFiles.h"

#include "core/analysis/SpmFile.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const TSpectrum spectrum = ReadSpectrum(BytesAsFile(data, size));
        // It read, so the bytes are at least a whole file, and the value is
        // those bytes.
        if (size < static_cast<std::size_t>(SpectrumFileSize)) {
            std::abort();
        }
        const auto image = SpectrumFileImage(spectrum.Scale, spectrum.Codes);
        if (std::memcmp(image.data(), data, image.size()) != 0) {
            std::abort();
        }
    } catch (const EInOutError&) {
        if (size >= static_cast<std::size_t>(SpectrumFileSize)) {
            std::abort(); // a whole file never fails to read
        }
    } catch (const EMathError&) {
    }
    return 0;
}
