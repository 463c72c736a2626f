#pragma once

// Value <-> pixel mapping of one chart axis. A plain copyable value: no widget
// is needed to use or test it.
//
// The axis covers the working range [Lo, Hi] (r = Hi - Lo) on the pixels
// Start..End (Size s = End - Start). On a horizontal axis Start is the left end
// and values grow to the right; on a vertical axis Start is the top end and
// values grow upwards. Inverted reverses the direction.
//
// Linear:       d = (v - Lo) * s / r
// Logarithmic:  d = (ln v - Lmin) * s / (Lmax - Lmin), Lmin = ln Lo (0 when
//               Lo <= 0), Lmax = ln Hi (0 when Hi <= 0); v <= 0 lies at the lower end.
// The pixel is Start + rnd(d) when values grow with the pixel, End - rnd(d)
// otherwise; rnd rounds to nearest with halves to even. A zero range, a zero
// logarithmic span, |d| >= 2147483647 or a non-finite d give the centre pixel.
struct TAxisMap {
    double Lo = 0.0;
    double Hi = 0.0;
    int Start = 0;
    int End = 0;
    bool Horizontal = true;
    bool Logarithmic = false;
    bool Inverted = false;

    double Range() const { return Hi - Lo; }
    // End - Start, held to the int range (pixel extents of any two ints).
    int Size() const;
    int Centre() const { return static_cast<int>((static_cast<long long>(Start) + End) / 2); }
    // True when larger values lie at larger pixel coordinates.
    bool Ascending() const { return Horizontal != Inverted; }

    int ValueToPixel(double value) const;
    // The pixel ValueToPixel gives, as a double, except that an offset beyond `far` pixels
    // (> 0) is held to `far`: a point of a line or shape far off the plot area stays on its
    // side of it for the painter to clip, where ValueToPixel would give the centre.
    double ClampedPixel(double value, double far) const;
    // Inverse mapping; pixels outside Start..End extrapolate. A linear axis of
    // fewer than one pixel gives 0.
    double PixelToValue(int pixel) const;

    // The offset d of the class comment, before rounding and placement; NaN when
    // the mapping has no defined offset for the value (the centre pixel case).
    double Offset(double value) const;
};

// Round to nearest, halves to even (the rounding of the current FPU mode).
double RoundHalfEven(double value);
