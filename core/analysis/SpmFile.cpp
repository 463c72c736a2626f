#include "core/analysis/SpmFile.h"

#include "core/analysis/TSpmFileWriter.h"
#include "core/base/FloatFaults.h"
#include "core/base/Paths.h"
#include "core/base/TulvoErrors.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <exception>

static_assert(std::endian::native == std::endian::little,
              "the spectrum file is little-endian and is read and written as memory images");

namespace {

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

} // namespace

std::string SpectrumFileName(const std::string& recordingPath)
{
    const std::size_t nameStart = FileNameStart(recordingPath);
    std::size_t cut = recordingPath.size();
    int removed = 0;
    while (removed < 4 && cut > nameStart) {
        --cut;
        while (cut > nameStart && IsUtf8Continuation(recordingPath[cut])) {
            --cut;
        }
        ++removed;
    }
    if (removed < 4) {
        return recordingPath + ".spm";
    }
    return recordingPath.substr(0, cut) + ".spm";
}

std::array<std::uint8_t, ScaleFieldSize> EncodeExtended(extended value)
{
    std::array<std::uint8_t, ScaleFieldSize> bytes{};
    std::memcpy(bytes.data(), &value, ScaleFieldSize);
    return bytes;
}

extended DecodeExtended(const std::uint8_t* bytes)
{
    extended value = 0; // clears the padding beyond the ten bytes
    std::memcpy(&value, bytes, ScaleFieldSize);
    return value;
}

extended QuantiseBand(const TBandValues& band, TBandCodes& codes)
{
    ClearFloatFaults();
    extended maximum = 0;
    for (const single value : band) {
        if (static_cast<extended>(value) > maximum) {
            maximum = value;
        }
    }
    const extended scale = maximum / static_cast<extended>(TopCode);
    std::array<long, SpectrumLines> rounded{};
    for (int i = 0; i < SpectrumLines; ++i) {
        // lrintl rounds in the current mode, to nearest with halves to even.
        rounded[i] = std::lrintl(static_cast<extended>(band[i]) / scale);
    }
    try {
        RaiseFloatFaults();
    } catch (const EInvalidOp&) {
        if (maximum == 0) {
            throw EInvalidOp(TInvalidOpCause::EmptyBand);
        }
        throw;
    }
    for (int i = 0; i < SpectrumLines; ++i) {
        if (rounded[i] < INT16_MIN || rounded[i] > INT16_MAX) {
            throw EInvalidOp();
        }
        codes[i] = static_cast<std::int16_t>(rounded[i]);
    }
    return scale;
}

void BandFromCodes(const TBandCodes& codes, extended scale, TBandValues& band)
{
    if (!std::isfinite(scale)) {
        throw EInvalidOp();
    }
    ClearFloatFaults();
    for (int i = 0; i < SpectrumLines; ++i) {
        band[i] = static_cast<single>(static_cast<extended>(codes[i]) * scale);
    }
    RaiseFloatFaults();
}

std::array<std::uint8_t, SpectrumFileSize> SpectrumFileImage(extended scale, const TBandCodes& codes)
{
    std::array<std::uint8_t, SpectrumFileSize> image{};
    const auto scaleBytes = EncodeExtended(scale);
    std::memcpy(image.data(), scaleBytes.data(), ScaleFieldSize);
    std::memcpy(image.data() + ScaleFieldSize, codes.data(), sizeof(codes));
    return image;
}

void WriteSpectrumFile(TDataFile& file, const std::string& spmPath, extended scale, const TBandCodes& codes)
{
    TSpmFileWriter writer;
    writer.Write(file, spmPath, scale, codes);
}

TSpectrum ReadSpectrum(const std::string& spmPath)
{
    std::array<std::uint8_t, ScaleFieldSize> scaleBytes{};
    TSpectrum spectrum;
    TDataFile file; // closes itself quietly when a read fails
    file.Bind(spmPath);
    file.OpenRead();
    file.ReadExactly(scaleBytes.data(), scaleBytes.size());
    file.ReadExactly(spectrum.Codes.data(), sizeof(spectrum.Codes));
    file.Close();
    spectrum.Scale = DecodeExtended(scaleBytes.data());
    try {
        BandFromCodes(spectrum.Codes, spectrum.Scale, spectrum.Values);
    } catch (const EMathError&) {
        RethrowNamingFile(std::current_exception(), spmPath);
    }
    return spectrum;
}
