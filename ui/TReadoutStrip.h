#pragma once

#include "ui/TCentreAnchors.h"
#include "ui/TPanel.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

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
    // "Z = " and its value, right of Y, for the windows whose views show a third value (ShowZ);
    // left empty, the strip has no place for it.
    QRect ZCaption{};
    QPoint ZValue{};
    // The third value's caption, and the widest of the narrowest forms its values take, which
    // MinimumWidth keeps room for.
    QString ZCaptionText = QStringLiteral("Z = ");
    QString ZNarrowestForm = QStringLiteral("-8.8E+308");
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
//
// A third value, "Z = " and its value after Y, is hidden until a view that reads out a value at
// each point (a colour grid's cell) shows it (ShowZ); while hidden it takes no room and the strip
// is laid out, sized and read out as without it.
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

    // Shows or hides "Z = " and its value at their designed places (hidden at first, and
    // whenever the design has no place for them); empties the Z value either way.
    void ShowZ(bool shown);
    // The read-out over a colour grid, with Z shown: x and y in whole units (ReadoutXForms) and
    // z, the value of the cell under the point, with two decimals (ReadoutZForms); no z (the
    // point lies outside the grid) leaves the Z value empty. ShowValues and Clear empty it too.
    void ShowGridValues(double x, double y, std::optional<double> z);
    // Shows the third value in the first of forms that fits (none: empty), after ShowValues.
    void ShowZForms(QStringList forms);

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
    QLabel* const ZCaption;
    QLabel* const ZValue;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Puts the values after their captions and picks the forms that fit.
    void PlaceValues();
    // The right edge a value may reach: ValueGap pixels before the next shown control.
    int ValueLimit(const QLabel* value) const;
    // The width text takes in the values' font.
    int ValueWidth(const QString& text) const;

    TCentreAnchors anchors_;
    std::vector<QWidget*> tracked_;
    int xValueOffset_; // designed distance from the caption's right edge to the value
    int yValueOffset_;
    int zValueOffset_;
    QStringList xForms_;
    QStringList yForms_;
    QStringList zForms_;
    bool hasZ_; // the design has a place for Z
    QString zNarrowestForm_;
};
