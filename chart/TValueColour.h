#pragma once

#include <QRgb>

#include <functional>

// The colour of a value in a colour grid and its colour bar (an opaque QRgb).
// Colours are taken to rise with the value, as a sequential map's lightness
// does: where cells share a pixel, the largest value's colour is drawn.
using TValueColour = std::function<QRgb(double value)>;
