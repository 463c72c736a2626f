#include "cli/SpectrumOperands.h"

#include "cli/ToolMessages.h"

#include <algorithm>

TSpectrum ReadSpectrumOperand(const std::string& name, const TToolContext& context, std::string* standardInputBytes)
{
    if (name != "-") {
        return ReadSpectrum(name);
    }
    std::array<std::uint8_t, SpectrumFileSize> image{};
    std::size_t done = 0;
    while (done < image.size()) {
        const std::size_t got = ReadSome(context.In, image.data() + done, image.size() - done, StandardInputName);
        if (got == 0) {
            throw EInOutError(IoCode::ReadBeyondEnd, StandardInputName);
        }
        done += got;
    }
    if (standardInputBytes != nullptr) {
        standardInputBytes->assign(reinterpret_cast<const char*>(image.data()), image.size());
    }
    TSpectrum spectrum;
    spectrum.Scale = DecodeExtended(image.data());
    std::copy_n(image.data() + ScaleFieldSize, sizeof(spectrum.Codes),
                reinterpret_cast<std::uint8_t*>(spectrum.Codes.data()));
    BandFromCodes(spectrum.Codes, spectrum.Scale, spectrum.Values);
    return spectrum;
}

void CheckOneStandardInput(const std::vector<std::string>& names, bool listFromStdin)
{
    const auto count = std::count(names.begin(), names.end(), "-");
    if (count > 1 || (count == 1 && listFromStdin)) {
        throw TUsageError("standard input ('-') can be read only once");
    }
}
