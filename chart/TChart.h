#pragma once

#include "chart/TChartAxis.h"
#include "chart/TChartColourBar.h"
#include "chart/TChartTitle.h"
#include "chart/TChartWall.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <array>
#include <functional>
#include <span>
#include <vector>

class QPainter;
class TChartSeries;

// Directions in which the right mouse button scrolls the plot.
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

// One mouse rubber band: active flag, start point and current point in pixels
// of the chart's client area.
struct TChartMouseBand {
    bool Active = false;
    int X0 = 0;
    int Y0 = 0;
    int X1 = 0;
    int Y1 = 0;
};

// Draws over a finished chart: the painter has the chart's font and origin, `plot` is the
// plot area.
using TForegroundPainter = std::function<void(QPainter& painter, const QRect& plot)>;

// The scale of one axis as saved before the first zoom or pan.
struct TAxisScale {
    bool Automatic = true;
    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
    double Minimum = 0.0;
    double Maximum = 0.0;
};

// A line chart: a title on top, a plot area with a left and a bottom axis, and
// series of points drawn as polylines. Axis ranges follow the data unless the
// operator zoomed (left-button drag to the lower right; any other drag of
// 17 x 17 pixels or more undoes) or panned (right-button drag). A right press
// and release with no move of more than RightClickSlop pixels either way is a
// click, not a pan: the chart stays where it was and emits rightClicked.
//
// Changing data or settings never draws: it marks the chart for redrawing, and
// the widget is repainted once when the event loop next runs. Redraw paints at
// once.
//
// Signals: mouseMoved for every mouse move over the chart, before the chart's
// own zoom or pan handling of that move; zoomed after a mouse zoom; panned
// after each step of a mouse pan; zoomUndone from UndoZoom; rightClicked after
// a right click.
class TChart : public QWidget {
    Q_OBJECT

public:
    // How far, in pixels either way, the pointer may move between a right press and its
    // release for the two to be a click; a longer move pans.
    static constexpr int RightClickSlop = 3;

    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    TChartTitle* Title() { return &title_; }
    TChartAxis* LeftAxis() { return &leftAxis_; }
    TChartAxis* BottomAxis() { return &bottomAxis_; }
    TChartWall* BackWall() { return &backWall_; }
    // The key of the colour grids' colours at the right; hidden by default.
    TChartColourBar* ColourBar() { return &colourBar_; }

    // Background colour of the whole control (white by default).
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    bool AllowZoom() const { return allowZoom_; }
    void SetAllowZoom(bool allow) { allowZoom_ = allow; }
    TPanningMode AllowPanning() const { return allowPanning_; }
    void SetAllowPanning(TPanningMode mode) { allowPanning_ = mode; }

    int SeriesCount() const { return static_cast<int>(series_.size()); }
    TChartSeries* Series(int index) const;
    bool HasActiveSeries() const;

    // Brings both axes back to the scales saved before the first zoom or pan
    // (nothing changes when none are saved), emits zoomUndone, marks the chart
    // for redrawing and clears the zoomed flag.
    void UndoZoom();
    // Follows a zoom (zoom true) or a pan of another chart over the same bottom axis: the bottom
    // axis shows [minimum, maximum] (TChartAxis::SetMinMax), the left axis stays as it is. As
    // with the chart's own zoom and pan, the scales are saved first when none are, so that
    // UndoZoom brings them back, and a zoom sets the zoomed flag. Emits no signal; marks the
    // chart for redrawing.
    void FollowBottomAxis(double minimum, double maximum, bool zoom);
    // Repaints the chart at once.
    void Redraw();
    // Marks the chart for redrawing: repainted when the event loop next runs.
    void Invalidate();

    bool Zoomed() const { return zoomed_; }
    // True while no scales are saved (no zoom or pan since the last UndoZoom).
    bool Restored() const { return restored_; }
    const TChartMouseBand& ZoomBand() const { return zoomBand_; }
    const TChartMouseBand& PanBand() const { return panBand_; }

    // The plot area as of the current layout; its edges are the axes' pixel
    // extents (inclusive).
    QRect PlotRect();
    // Draws the whole chart at the widget's size with its top-left corner at the
    // painter's origin (used for pictures and by paintEvent).
    void PaintTo(QPainter& painter);
    // Recomputes ranges, labels and pixel extents when something changed.
    void EnsureLayout();
    // What is drawn over the series and axes (a legend, for one); an empty one draws nothing.
    // Marks the chart for redrawing.
    void SetForeground(TForegroundPainter foreground);
    // The least room in pixels left of the plot area and right of it: 0 (the default) leaves
    // the room the labels need; more moves the plot area's edge inwards. Charts stacked over
    // one time or frequency axis get equal insets so that their plot areas line up
    // (AlignPlotAreas). Marks the chart for redrawing.
    void SetPlotInsets(int left, int right);

signals:
    // The mouse moved to `position` (pixels of the chart's client area, also
    // outside the plot area) with `modifiers` held, with or without a button
    // down. Emitted before the chart zooms or pans for the same move.
    void mouseMoved(Qt::KeyboardModifiers modifiers, QPoint position);
    // A left-button drag to the lower right zoomed in; the zoomed flag is set.
    void zoomed();
    // A right-button drag moved the plot by one step; the axes have their new ranges.
    void panned();
    // UndoZoom ran (also on a chart that was not zoomed): the scales are back;
    // emitted before the zoomed flag is cleared.
    void zoomUndone();
    // The right button was pressed and released at `globalPosition` (screen pixels) without
    // the pointer moving further than RightClickSlop between; the plot did not move.
    void rightClicked(QPoint globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TChartSeries;
    void RegisterSeries(TChartSeries* series);
    void UnregisterSeries(TChartSeries* series);

    // Layout and paint steps (TChartPaint.cpp).
    void CalcLayout();
    void PaintBackground(QPainter& painter) const;
    void PaintTitle(QPainter& painter) const;
    void PaintGrid(QPainter& painter) const;
    void PaintLeftAxis(QPainter& painter) const;
    void PaintBottomAxis(QPainter& painter) const;
    void PaintSeries(QPainter& painter) const;
    void PaintBand(QPainter& painter) const;

    // Zoom and pan steps (TChartMouse.cpp).
    bool CanStartBand(const QPoint& pos);
    void SaveScales();
    void FinishZoom();
    void PanTo(int x, int y);

    std::array<TChartAxis*, 2> Axes();

    TChartTitle title_{this};
    TChartAxis leftAxis_{this, false};
    TChartAxis bottomAxis_{this, true};
    TChartWall backWall_{this};
    TChartColourBar colourBar_{this};
    int plotInsetLeft_ = 0;
    int plotInsetRight_ = 0;
    std::vector<TChartSeries*> series_;
    QColor color_ = Qt::white;
    bool allowZoom_ = true;
    TPanningMode allowPanning_ = pmBoth;

    bool zoomed_ = false;
    bool restored_ = true;
    std::array<TAxisScale, 2> savedScales_{};
    TChartMouseBand zoomBand_;
    TChartMouseBand panBand_;
    // Between a right press and its release while the pointer stays within RightClickSlop
    // of the press: panning waits, and the release is a click.
    bool rightClickPending_ = false;
    QPoint rightPress_;

    bool layoutValid_ = false;
    bool inLayout_ = false;
    QRect plotRect_;
    int titleBottom_ = 0;
    QImage cache_;
    bool cacheValid_ = false;
    TForegroundPainter foreground_;
};

// Lines up the plot areas of charts of one width that are stacked over a shared bottom axis:
// each gets the plot insets (SetPlotInsets) that the widest labels of any of them need, so that
// a value of the bottom axes falls on the same pixel column in every chart. Lay the charts out
// at their sizes first, and align them again after a resize or a change of their labels.
void AlignPlotAreas(std::span<TChart* const> charts);
