// Fuzz target: the label number format, linear and logarithmic, on any
// picture, value and separators. Formatting always finishes and stays within a
// sane length.

#include "TFuzzInput.h"

#include "chart/axis/TNumberFormat.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TFuzzInput input(data, size);
    TNumberFormat format;
    if (input.TakeBool()) {
        format.DecimalPoint = input.TakeString(8);
        format.GroupSeparator = input.TakeString(8);
        format.NegativeSign = input.TakeString(8);
    }
    const double value = input.Take<double>();
    const std::string picture = input.TakeString(64);
    const std::string text = FormatFloat(picture, value, format);
    const std::string logText = FormatLogLabel(picture, value, format);
    // Digits (at most ~20 + 20 decimals and 1e18 before the switch to
    // scientific), separators of at most 8 bytes each, and the picture's
    // own characters: far below this.
    if (text.size() > 4096 || logText.size() > 4096) {
        std::abort();
    }
    return 0;
}
