// Fuzz target: the header check on any first bytes, with the file's size
// taken from the input or unknown. It never throws, and its verdict holds
// together: it conforms exactly when nothing differs, a conforming data chunk
// starts at byte 44 with at least 32768 bytes inside the file, and a data
// chunk never lies outside what the check may look at. The same bytes
// through an in-memory file (ProbeWavFile) give the same verdict.

#include "FuzzFiles.h"

#include "core/analysis/WavHeader.h"

#include <cstdlib>
#include <span>

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void CheckVerdict(const TWavHeaderVerdict& verdict, std::optional<std::uint64_t> fileBytes)
{
    Check(verdict.Conforms == verdict.Differences.empty());
    Check(verdict.Conforms == (verdict.Reason == "ok"));
    Check(!verdict.Reason.empty());
    if (verdict.DataOffset >= 0) {
        Check(verdict.RiffWave);
        Check(static_cast<std::uint64_t>(verdict.DataOffset) <= WavHeaderWindow);
        if (fileBytes) {
            Check(static_cast<std::uint64_t>(verdict.DataOffset) + verdict.DataBytes <=
                  std::max<std::uint64_t>(*fileBytes, static_cast<std::uint64_t>(verdict.DataOffset)));
        }
    }
    if (verdict.Conforms) {
        Check(verdict.DataOffset == 44 && verdict.DataBytes >= 32768);
        Check(verdict.Channels == 1 && verdict.RateHz == 51200 && verdict.Bits == 16);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const TWavHeaderVerdict known = CheckWavHeader(bytes, size);
    CheckVerdict(known, size);
    CheckVerdict(CheckWavHeader(bytes, std::nullopt), std::nullopt);
    // A size the bytes contradict (a file that shrank since) is no crash either.
    CheckVerdict(CheckWavHeader(bytes, size / 2), size / 2);

    const TWavHeaderVerdict probed = ProbeWavFile(BytesAsFile(data, size));
    Check(probed.Differences == known.Differences && probed.DataBytes == known.DataBytes);
    return 0;
}
