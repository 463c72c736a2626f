#pragma once

#include <QRgb>

#include <array>
#include <cstdint>

// The viridis colour map: 256 colours from dark blue-violet (0) through
// teal and green to yellow (255), perceptually uniform, its lightness
// rising with the index, and legible to colour-blind readers and in grey.
// Entries are 0xRRGGBB, the published map rounded to 8 bits a channel.
extern const std::array<std::uint32_t, 256> ViridisTable;

// Entry index (0..255) of the map as an opaque QRgb.
inline QRgb ViridisColour(int index) { return 0xff000000u | ViridisTable[static_cast<std::size_t>(index)]; }
