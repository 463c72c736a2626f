#pragma once

#include "ui/TCentreAnchors.h"
#include "ui/TPanel.h"

#include <QPoint>
#include <QRect>
#include <QSize>

class QLabel;
class QPushButton;

// The places of a read-out strip's controls in a window's design, in pixels of the strip.
struct TReadoutStripDesign {
    QSize Size;               // the strip's size in the design, which the places refer to
    bool KeepVerticalCentres; // the tracked controls keep their vertical centres as well
    QRect LogAxisButton;
    QRect XCaption; // "X = "
    QPoint XValue;  // top left corner of the X value
    QRect YCaption; // "Y = "
    QPoint YValue;  // top left corner of the Y value
};

// The strip under a window's charts: the linear/logarithmic toggle (its caption left to the
// window) and the read-out of the values under the mouse, "X = " and "Y = " with a bold value
// after each, which reads "laX" and "laY" until the first read-out. The toggle keeps its
// distance from the strip's left and top edges. The read-out, and every control a window adds
// with Track, keeps the centre of its horizontal extent at the same fraction of the strip's
// width, and with KeepVerticalCentres the centre of its vertical extent at the same fraction
// of the strip's height, whenever the strip changes size.
class TReadoutStrip : public TPanel {
public:
    TReadoutStrip(QWidget* parent, const TReadoutStripDesign& design);

    // Keeps `control`, a child of the strip at its designed place, at its proportional place.
    void Track(QWidget* control);

    // Shows x in whole units and y with seven decimals, with the user's decimal separator
    // (ReadoutXText, ReadoutYText). A value grows to the right from its left edge.
    void ShowValues(double x, double y);

    QPushButton* const LogAxisButton;
    QLabel* const XCaption;
    QLabel* const XValue;
    QLabel* const YCaption;
    QLabel* const YValue;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TCentreAnchors anchors_;
};
