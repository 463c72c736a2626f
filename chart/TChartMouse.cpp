// Mouse zoom and panning of TChart.

#include "chart/TChart.h"

#include <QMouseEvent>

#include <cstdlib>

namespace {
// A zoom rectangle must be larger than this in both directions.
constexpr int MinZoomDrag = 16;
} // namespace

bool TChart::CanStartBand(const QPoint& pos)
{
    EnsureLayout();
    if (pos.y() < titleBottom_) {
        return false;
    }
    if (plotRect_.contains(pos)) {
        return HasActiveSeries();
    }
    // On an axis: the strip of the left labels or of the bottom labels.
    const bool onLeftAxis =
        pos.x() < plotRect_.left() && pos.y() >= plotRect_.top() && pos.y() <= plotRect_.bottom() + 1;
    const bool onBottomAxis =
        pos.y() > plotRect_.bottom() && pos.x() >= plotRect_.left() - 1 && pos.x() <= plotRect_.right();
    return onLeftAxis || onBottomAxis;
}

void TChart::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (allowZoom_ && CanStartBand(pos)) {
            zoomBand_ = TChartMouseBand{true, pos.x(), pos.y(), pos.x(), pos.y()};
        }
    } else if (event->button() == Qt::RightButton) {
        rightClickPending_ = true;
        rightPress_ = pos;
        if (allowPanning_ != pmNone && CanStartBand(pos)) {
            panBand_ = TChartMouseBand{true, pos.x(), pos.y(), pos.x(), pos.y()};
        }
    }
    QWidget::mousePressEvent(event);
}

void TChart::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    // The window's handler sees the move before the chart acts on it.
    emit mouseMoved(event->modifiers(), pos);

    if (zoomBand_.Active) {
        zoomBand_.X1 = pos.x();
        zoomBand_.Y1 = pos.y();
        update();
    }
    if (rightClickPending_ && (event->buttons() & Qt::RightButton) &&
        (std::abs(pos.x() - rightPress_.x()) > RightClickSlop ||
         std::abs(pos.y() - rightPress_.y()) > RightClickSlop)) {
        rightClickPending_ = false;
    }
    if (panBand_.Active) {
        EnsureLayout();
        if (!plotRect_.contains(pos)) {
            panBand_.Active = false;
        } else if (!rightClickPending_ && (pos.x() != panBand_.X1 || pos.y() != panBand_.Y1)) {
            // The first move past the slop pans from the press point, as if the moves before
            // it had panned.
            PanTo(pos.x(), pos.y());
        }
    }
    QWidget::mouseMoveEvent(event);
}

void TChart::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    // Releasing any button ends panning.
    panBand_.Active = false;
    if (event->button() == Qt::RightButton && rightClickPending_) {
        rightClickPending_ = false;
        if (std::abs(pos.x() - rightPress_.x()) <= RightClickSlop &&
            std::abs(pos.y() - rightPress_.y()) <= RightClickSlop) {
            emit rightClicked(event->globalPosition().toPoint());
        }
    }
    if (event->button() == Qt::LeftButton && zoomBand_.Active) {
        zoomBand_.X1 = pos.x();
        zoomBand_.Y1 = pos.y();
        zoomBand_.Active = false;
        FinishZoom();
        update();
    }
    QWidget::mouseReleaseEvent(event);
}

void TChart::FinishZoom()
{
    const TChartMouseBand& band = zoomBand_;
    if (std::abs(band.X1 - band.X0) <= MinZoomDrag || std::abs(band.Y1 - band.Y0) <= MinZoomDrag) {
        return;
    }
    if (band.X0 < band.X1 && band.Y0 < band.Y1) {
        if (restored_) {
            SaveScales();
        }
        // All four edges are converted with the layout the operator dragged on.
        const double left = bottomAxis_.PixelToValue(band.X0);
        const double right = bottomAxis_.PixelToValue(band.X1);
        const double top = leftAxis_.PixelToValue(band.Y0);
        const double bottom = leftAxis_.PixelToValue(band.Y1);
        bottomAxis_.SetMinMax(left, right);
        leftAxis_.SetMinMax(bottom, top);
        zoomed_ = true;
        emit zoomed();
    } else {
        UndoZoom();
    }
    Invalidate();
}

void TChart::PanTo(int x, int y)
{
    if (restored_) {
        SaveScales();
    }
    const bool horizontal = allowPanning_ == pmHorizontal || allowPanning_ == pmBoth;
    const bool vertical = allowPanning_ == pmVertical || allowPanning_ == pmBoth;
    const double dx = bottomAxis_.PixelToValue(panBand_.X1) - bottomAxis_.PixelToValue(x);
    const double dy = leftAxis_.PixelToValue(panBand_.Y1) - leftAxis_.PixelToValue(y);
    const double xLo = bottomAxis_.WorkingMinimum();
    const double xHi = bottomAxis_.WorkingMaximum();
    const double yLo = leftAxis_.WorkingMinimum();
    const double yHi = leftAxis_.WorkingMaximum();
    if (horizontal) {
        bottomAxis_.SetMinMax(xLo + dx, xHi + dx);
    }
    if (vertical) {
        leftAxis_.SetMinMax(yLo + dy, yHi + dy);
    }
    panBand_.X1 = x;
    panBand_.Y1 = y;
    Invalidate();
    emit panned();
}
