#include "ui/TReadoutStrip.h"

#include "ui/ReadoutFormat.h"
#include "ui/WindowStyle.h"

#include <QLabel>
#include <QPushButton>

TReadoutStrip::TReadoutStrip(QWidget* parent, const TReadoutStripDesign& design)
    : TPanel(parent), LogAxisButton(MakeButton(this, QString(), design.LogAxisButton)),
      XCaption(MakeStaticText(this, QStringLiteral("X = "), design.XCaption)),
      XValue(MakeLabel(this, QStringLiteral("laX"), design.XValue, true)),
      YCaption(MakeStaticText(this, QStringLiteral("Y = "), design.YCaption)),
      YValue(MakeLabel(this, QStringLiteral("laY"), design.YValue, true)),
      anchors_(*this, design.Size, design.KeepVerticalCentres)
{
    for (QWidget* control : {static_cast<QWidget*>(XCaption), static_cast<QWidget*>(XValue),
                             static_cast<QWidget*>(YCaption), static_cast<QWidget*>(YValue)})
        anchors_.Track(control);
}

void TReadoutStrip::Track(QWidget* control) { anchors_.Track(control); }

void TReadoutStrip::ShowValues(double x, double y)
{
    SetLabelCaption(XValue, ReadoutXText(x));
    anchors_.Retrack(XValue);
    SetLabelCaption(YValue, ReadoutYText(y));
    anchors_.Retrack(YValue);
}

void TReadoutStrip::resizeEvent(QResizeEvent* event)
{
    TPanel::resizeEvent(event);
    anchors_.Apply();
}
