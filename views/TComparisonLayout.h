#pragma once

#include "ui/TReadoutStrip.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

// The colours of one file's spectrum: in its own chart, and in the first chart while the
// window overlays its spectra there.
struct TSpectrumColours {
    QColor Own;
    QColor Overlay;
};

// What tells one comparison window from another: its charts in columns of rows, the colours
// of their spectra, the title of the overlaid chart, the caption, and the places of the
// controls in its bottom strip. The windows open at a client area of 632 x 433 pixels and
// never get narrower than their strip's read-out needs (TReadoutStrip::MinimumWidth) nor lower
// than the strip and MinimumChartsHeight pixels of charts.
//
// Layout for a client area of W x H pixels:
// - the bottom strip is 72 pixels high at the bottom, StripInset pixels short of the right edge;
// - one column spans the client width and stops one pixel above the strip;
// - two columns are each (W + 8) div 2 - 4 pixels wide, the platform frame of 8 pixels counted
//   in, the first at the left edge and stopping one pixel above the strip, the second at the
//   right edge and reaching down to the strip: they meet when W is even and leave a one-pixel
//   gap when W is odd;
// - while the spectra are overlaid only the first column is shown, across the client width;
// - in every column the charts are stacked in rows (TRowsPanel): split, RowsPerColumn rows;
//   overlaid, one row for the first chart alone.
struct TComparisonLayout {
    QString ObjectName;
    QString Caption;                       // the window's title
    int Columns;                           // 1 or 2
    int RowsPerColumn;                     // 2 or 3
    std::vector<TSpectrumColours> Colours; // per chart, column by column, top down
    QString OverlayTitle;                  // the first chart's title while overlaid
    TReadoutStripDesign Strip;
    QRect OverlayButton; // "Совместить", in the strip
    QRect SplitButton;   // "Разбить", in the same place or near
    QRect CloseButton;   // "&Close"
    int StripInset;      // pixels the strip leaves free at the right

    static constexpr int StripHeight = 72;
    // The charts' height at least, above the strip, in the smallest window.
    static constexpr int MinimumChartsHeight = 120;
    static constexpr QSize ClientSize{632, 433};

    // Columns x RowsPerColumn: one chart for each file shown.
    int ChartCount() const { return Columns * RowsPerColumn; }

    // The place of `column` for a client area of `client`, split or overlaid. While overlaid,
    // columns after the first are hidden and have no place (an empty rectangle).
    QRect ColumnRect(int column, QSize client, bool overlaid) const;
    // The place of the bottom strip for a client area of `client`.
    QRect StripRect(QSize client) const;
};

// "Два спектра": two spectra one above the other.
TComparisonLayout TwoSpectraLayout();
// "Три спектра": three spectra one above the other.
TComparisonLayout ThreeSpectraLayout();
// "Спектры": six spectra in two columns of three; overlaid, the common spectrum.
TComparisonLayout SixSpectraLayout();
