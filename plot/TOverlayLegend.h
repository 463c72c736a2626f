#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

#include <utility>
#include <vector>

class QFontMetrics;
class QPainter;
class TChart;

// One curve of an overlay: its colour and the path of its file.
struct TLegendEntry {
    QColor Colour;
    QString Path;
};

// The colour key of an overlay of spectra: in the plot area's upper right corner, Inset pixels
// from its edges, a framed box on a light, slightly see-through background with one row per
// curve, top down in the curves' order: a short line of the curve's colour, then its file's
// name (the path's last part), shortened in the middle with "…" when wider than MaxNameWidth
// pixels or a third of the plot area. Rows that do not fit in the plot area's height give way
// to a last row "+N" that counts the curves left out.
class TOverlayLegend {
public:
    static constexpr int Inset = 4;
    static constexpr int Padding = 4;
    static constexpr int LineLength = 18;
    static constexpr int MaxNameWidth = 200;

    TOverlayLegend() = default;
    explicit TOverlayLegend(std::vector<TLegendEntry> entries) : entries_(std::move(entries)) {}

    const std::vector<TLegendEntry>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

    // The name a row shows for `path` in a plot area `plotWidth` pixels wide.
    static QString ShownName(const QString& path, const QFontMetrics& metrics, int plotWidth);

    // The box around the rows for a plot area `plot` (empty when there are no entries).
    QRect Frame(const QRect& plot, const QFontMetrics& metrics) const;
    // The row of entry k, or an empty rectangle when it is left out.
    QRect Row(int k, const QRect& plot, const QFontMetrics& metrics) const;
    // The entry whose row holds `point`, or -1.
    int EntryAt(QPoint point, const QRect& plot, const QFontMetrics& metrics) const;

    // Draws the key with the painter's font.
    void Paint(QPainter& painter, const QRect& plot) const;

private:
    // How many entries get their own row, and whether a "+N" row follows.
    int ShownRows(const QRect& plot, const QFontMetrics& metrics, bool& more) const;
    int NameWidth(const QRect& plot, const QFontMetrics& metrics) const;

    std::vector<TLegendEntry> entries_;
};

// Draws `legend` over `chart` from now on; an empty legend takes the key away.
void ShowLegend(TChart& chart, const TOverlayLegend& legend);
