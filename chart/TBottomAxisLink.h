#pragma once

#include <QObject>

#include <span>
#include <vector>

class TChart;

// Keeps the bottom axes of charts stacked over one axis (a recording's time) together: when
// the operator zooms one of them with the mouse, the others' bottom axes take its new range as
// a zoom of their own (zoomed flag set); each step of a pan moves theirs to its range; and an
// undo of the zoom in any of them (UndoZoom, or the drag that undoes) undoes it in all. Each
// chart's left axis stays its own: a zoom in one chart narrows only its own left axis. After
// each of these the charts' plot areas are lined up again (AlignPlotAreas), as the new ranges
// may have given their labels other widths: the charts must be as wide as each other.
//
// The link follows the charts' signals (zoomed, panned, zoomUndone) and emits none of its own.
// It must not outlive the charts: give it a parent that goes with them.
class TBottomAxisLink : public QObject {
public:
    // Links `charts` (two or more, none null, each once).
    TBottomAxisLink(std::span<TChart* const> charts, QObject* parent);

private:
    // The other charts take the bottom range of `leader`.
    void Follow(TChart& leader, bool zoom);
    // The other charts undo their zoom as `leader` did.
    void UndoOthers(TChart& leader);

    std::vector<TChart*> charts_;
    // While the link moves the other charts: their own signals are not followed again.
    bool following_ = false;
};
