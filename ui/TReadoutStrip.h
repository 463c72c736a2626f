#pragma once

#include "ui/TCentreAnchors.h"
#include "ui/TPanel.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>

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
// after each, empty until the first read-out and after Clear. The toggle keeps its distance
// from the strip's left and top edges. The captions, and every control a window adds with
// Track, keep the centre of their horizontal extent at the same fraction of the strip's width,
// and with KeepVerticalCentres the centre of their vertical extent at the same fraction of the
// strip's height, whenever the strip changes size. Each value keeps its designed distance
// from its caption and ends at least ValueGap pixels before the next shown control to its
// right (or the strip's right edge): a text that would run further is shown in the first of
// its shorter forms (ReadoutForms) that fits, never cut.
class TReadoutStrip : public TPanel {
public:
    // Free pixels at least between a value and the next control.
    static constexpr int ValueGap = 4;

    TReadoutStrip(QWidget* parent, const TReadoutStripDesign& design);

    // Keeps `control`, a child of the strip at its designed place, at its proportional place.
    void Track(QWidget* control);

    // Shows x in whole units and y with seven decimals, with the user's decimal separator
    // (ReadoutXText, ReadoutYText), or shorter forms of them where these do not fit.
    void ShowValues(double x, double y);
    // Empties both values, for a view that changed under them.
    void Clear();

    // The narrowest strip, in pixels, at which the controls shown now (the toggle unless
    // hidden, the captions, the tracked controls not hidden) keep ValueGap pixels apart in
    // their proportional places and each value still has room for its narrowest form of any
    // number ("-8.8E+308"). Windows keep their strip at least this wide.
    int MinimumWidth() const;

    QPushButton* const LogAxisButton;
    QLabel* const XCaption;
    QLabel* const XValue;
    QLabel* const YCaption;
    QLabel* const YValue;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Puts the values after their captions and picks the forms that fit.
    void PlaceValues();
    // The right edge a value may reach: ValueGap pixels before the next shown control.
    int ValueLimit(const QLabel* value) const;
    // The width the narrowest form of any number takes in the values' font.
    int ReservedValueWidth() const;

    TCentreAnchors anchors_;
    std::vector<QWidget*> tracked_;
    int xValueOffset_; // designed distance from the caption's right edge to the value
    int yValueOffset_;
    QStringList xForms_;
    QStringList yForms_;
};
