// Fuzz target: the mask file's reader on any bytes. A text either reads or
// is refused with EContentError naming its line; what reads is written back
// to a text that reads to the same file again. Anything else is a finding.

#include "core/qc/MaskFile.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const std::string written = MaskFileText(ParseMaskFile(text, "fuzz.csv"));
        if (MaskFileText(ParseMaskFile(written, "written.csv")) != written) {
            std::abort();
        }
    } catch (const EContentError& e) {
        if (e.Path() != "fuzz.csv" || e.Line() < 1) {
            std::abort(); // the written text was refused, or the refusal names no line
        }
    }
    return 0;
}
