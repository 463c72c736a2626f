#include "ui/TCentreAnchors.h"

#include <QWidget>

#include <cmath>

TCentreAnchors::TCentreAnchors(QWidget& panel, QSize designSize, bool vertical)
    : panel_(panel), reference_(designSize), vertical_(vertical)
{}

TCentreAnchors::TAnchor TCentreAnchors::AnchorOf(QWidget* control) const
{
    const QRect r = control->geometry();
    return {control, (r.x() + r.width() / 2.0) / reference_.width(), (r.y() + r.height() / 2.0) / reference_.height()};
}

void TCentreAnchors::Track(QWidget* control) { anchors_.push_back(AnchorOf(control)); }

void TCentreAnchors::Retrack(QWidget* control)
{
    for (TAnchor& anchor : anchors_)
        if (anchor.Control == control)
            anchor = AnchorOf(control);
}

void TCentreAnchors::Apply()
{
    const QSize size = panel_.size();
    if (size.width() <= 0 || size.height() <= 0)
        return;
    reference_ = size;
    for (const TAnchor& anchor : anchors_) {
        const QRect r = anchor.Control->geometry();
        const int x = static_cast<int>(std::lround(anchor.CentreX * size.width() - r.width() / 2.0));
        const int y =
            vertical_ ? static_cast<int>(std::lround(anchor.CentreY * size.height() - r.height() / 2.0)) : r.y();
        anchor.Control->move(x, y);
    }
}

double TCentreAnchors::CentreFraction(const QWidget* control) const
{
    for (const TAnchor& anchor : anchors_)
        if (anchor.Control == control)
            return anchor.CentreX;
    return 0.0;
}
