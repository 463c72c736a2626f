#pragma once

#include <QSize>

#include <vector>

class QWidget;

// Keeps the controls of a panel that have no anchors at the same proportional place when the
// panel changes size: each tracked control keeps the centre of its horizontal extent (and,
// when `vertical` is set, of its vertical extent) at the same fraction of the panel's width
// (height). Controls that are not tracked keep their place.
class TCentreAnchors {
public:
    // `designSize` is the panel size the controls' designed places refer to.
    TCentreAnchors(QWidget& panel, QSize designSize, bool vertical);

    // Starts tracking `control` from its current place, taken relative to the panel size that
    // the anchors were last applied for (the design size at first).
    void Track(QWidget* control);

    // Takes the fractions again from the control's current place; called after a control
    // changed its own size (a label sized to a new text grows to the right from its left edge).
    void Retrack(QWidget* control);

    // Places every tracked control for the panel's current size.
    void Apply();

    // The fraction of the panel's width at which `control` keeps its horizontal centre, or 0
    // for a control that is not tracked.
    double CentreFraction(const QWidget* control) const;
    // The panel width the anchors were last applied for (the design width at first).
    int ReferenceWidth() const { return reference_.width(); }

private:
    struct TAnchor {
        QWidget* Control;
        double CentreX; // fraction of the panel width
        double CentreY; // fraction of the panel height
    };

    TAnchor AnchorOf(QWidget* control) const;

    QWidget& panel_;
    QSize reference_;
    bool vertical_;
    std::vector<TAnchor> anchors_;
};
