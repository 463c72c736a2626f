#pragma once

#include <optional>
#include <string_view>

// What a spectrum is made of: the average of the analysis's 15 frames, as in
// the spectrum file, or per line the largest of them, the max-hold spectrum
// (TRecordingFrames::MaxHoldSpectrum), which a short event in one frame
// raises as much as a steady sound in all of them. Only a recording has a
// max-hold spectrum: a spectrum file holds no frames.
enum class TSpectrumKind { Average, MaxHold };

// The name of kind in a mask file and in messages ("average", "max-hold").
std::string_view SpectrumKindName(TSpectrumKind kind);

// The kind called name; nothing for a name that is not one.
std::optional<TSpectrumKind> SpectrumKindNamed(std::string_view name);
