#include "ui/TReadoutStrip.h"

#include "ui/ReadoutFormat.h"
#include "ui/WindowStyle.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {

// Shows the first of `forms` that ends by `limit`, or the narrowest when none does; a label
// without forms is empty.
void ShowFittingForm(QLabel* label, const QStringList& forms, int limit)
{
    if (forms.isEmpty()) {
        SetLabelCaption(label, QString());
        return;
    }
    const QString* narrowest = &forms.front();
    int narrowestWidth = -1;
    for (const QString& form : forms) {
        SetLabelCaption(label, form);
        if (label->geometry().right() <= limit)
            return;
        if (narrowestWidth < 0 || label->width() < narrowestWidth) {
            narrowest = &form;
            narrowestWidth = label->width();
        }
    }
    SetLabelCaption(label, *narrowest);
}

} // namespace

TReadoutStrip::TReadoutStrip(QWidget* parent, const TReadoutStripDesign& design)
    : TPanel(parent), LogAxisButton(MakeButton(this, QString(), design.LogAxisButton)),
      XCaption(MakeStaticText(this, QStringLiteral("X = "), design.XCaption)),
      XValue(MakeLabel(this, QString(), design.XValue, true)),
      YCaption(MakeStaticText(this, QStringLiteral("Y = "), design.YCaption)),
      YValue(MakeLabel(this, QString(), design.YValue, true)),
      ZCaption(MakeStaticText(this, design.ZCaptionText, design.ZCaption)),
      ZValue(MakeLabel(this, QString(), design.ZValue, true)), anchors_(*this, design.Size, design.KeepVerticalCentres),
      xValueOffset_(design.XValue.x() - design.XCaption.x() - design.XCaption.width()),
      yValueOffset_(design.YValue.x() - design.YCaption.x() - design.YCaption.width()),
      zValueOffset_(design.ZValue.x() - design.ZCaption.x() - design.ZCaption.width()),
      hasZ_(!design.ZCaption.isEmpty()), zNarrowestForm_(design.ZNarrowestForm)
{
    ZCaption->hide();
    ZValue->hide();
    Track(XCaption);
    Track(YCaption);
    Track(ZCaption);
    // The values follow their captions across; up and down they keep their own centres.
    anchors_.Track(XValue);
    anchors_.Track(YValue);
    anchors_.Track(ZValue);
}

void TReadoutStrip::Track(QWidget* control)
{
    anchors_.Track(control);
    tracked_.push_back(control);
}

void TReadoutStrip::ShowValues(double x, double y)
{
    xForms_ = ReadoutXForms(x);
    yForms_ = ReadoutYForms(y);
    zForms_.clear();
    PlaceValues();
}

void TReadoutStrip::Clear()
{
    xForms_.clear();
    yForms_.clear();
    zForms_.clear();
    PlaceValues();
}

void TReadoutStrip::ShowZ(bool shown)
{
    ZCaption->setVisible(shown && hasZ_);
    ZValue->setVisible(shown && hasZ_);
    zForms_.clear();
    PlaceValues();
}

void TReadoutStrip::ShowGridValues(double x, double y, std::optional<double> z)
{
    xForms_ = ReadoutXForms(x);
    yForms_ = ReadoutXForms(y);
    zForms_ = z ? ReadoutZForms(*z) : QStringList();
    PlaceValues();
}

void TReadoutStrip::ShowZForms(QStringList forms)
{
    zForms_ = std::move(forms);
    PlaceValues();
}

void TReadoutStrip::PlaceValues()
{
    XValue->move(XCaption->geometry().right() + 1 + xValueOffset_, XValue->y());
    YValue->move(YCaption->geometry().right() + 1 + yValueOffset_, YValue->y());
    ZValue->move(ZCaption->geometry().right() + 1 + zValueOffset_, ZValue->y());
    ShowFittingForm(XValue, xForms_, ValueLimit(XValue));
    ShowFittingForm(YValue, yForms_, ValueLimit(YValue));
    ShowFittingForm(ZValue, zForms_, ValueLimit(ZValue));
    // The anchors keep a value's vertical centre; its new width must not move it across.
    anchors_.Retrack(XValue);
    anchors_.Retrack(YValue);
    anchors_.Retrack(ZValue);
}

int TReadoutStrip::ValueLimit(const QLabel* value) const
{
    int limit = width() - 1 - ValueGap;
    for (const QWidget* control : tracked_)
        if (!control->isHidden() && control->x() > value->x())
            limit = std::min(limit, control->x() - 1 - ValueGap);
    return limit;
}

int TReadoutStrip::ValueWidth(const QString& text) const
{
    QLabel probe;
    probe.setFont(XValue->font());
    probe.setText(text);
    return probe.sizeHint().width();
}

int TReadoutStrip::MinimumWidth() const
{
    struct TSpan {
        int Left;
        int Right;
    };
    const int reserve = ValueWidth(QStringLiteral("-8.8E+308"));
    const int zReserve = ValueWidth(zNarrowestForm_);
    const auto fits = [&](int stripWidth) {
        std::vector<TSpan> spans;
        const auto placed = [&](const QWidget* control) {
            const double centre = anchors_.CentreFraction(control) * stripWidth;
            const int left = static_cast<int>(std::lround(centre - control->width() / 2.0));
            return TSpan{left, left + control->width() - 1};
        };
        if (!LogAxisButton->isHidden())
            spans.push_back({LogAxisButton->x(), LogAxisButton->geometry().right()});
        for (const QWidget* control : tracked_) {
            if (control->isHidden())
                continue;
            TSpan span = placed(control);
            // A caption spans its value's room as well.
            if (control == XCaption)
                span.Right += xValueOffset_ + reserve;
            else if (control == YCaption)
                span.Right += yValueOffset_ + reserve;
            else if (control == ZCaption)
                span.Right += zValueOffset_ + zReserve;
            spans.push_back(span);
        }
        std::sort(spans.begin(), spans.end(), [](const TSpan& a, const TSpan& b) { return a.Left < b.Left; });
        for (std::size_t i = 1; i < spans.size(); ++i)
            if (spans[i].Left <= spans[i - 1].Right + ValueGap)
                return false;
        return spans.empty() || spans.back().Right <= stripWidth - 1 - ValueGap;
    };
    // Proportional places only drift apart as the strip widens: the first width that fails,
    // coming down from a generous one, is one below the minimum.
    int stripWidth = std::max(width(), 4 * anchors_.ReferenceWidth());
    while (stripWidth > 1 && fits(stripWidth - 1))
        --stripWidth;
    return stripWidth;
}

void TReadoutStrip::resizeEvent(QResizeEvent* event)
{
    TPanel::resizeEvent(event);
    anchors_.Apply();
    PlaceValues();
}
