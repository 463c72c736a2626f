#include "views/u6SPM.h"

#include "ui/TPanel.h"
#include "app/uTulvo.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "plot/SpectrumChart.h"

#include <QPushButton>

#include <algorithm>

namespace {

const TStripDesign Strip{632,
                         QRect(16, 22, 75, 25),
                         QRect(135, 24, 27, 17),
                         QPoint(167, 26),
                         QRect(263, 24, 27, 17),
                         QPoint(295, 24),
                         QRect(382, 21, 75, 28),
                         QRect(386, 22, 75, 25),
                         QRect(515, 20, 75, 25)};

// File k of a show: its series in its own chart and its overlay series in Chart1 (the first
// spectrum is drawn by Series1 itself), with the colours of both.
struct TSpectrumSlot
{
    int Own;
    int Overlay;
    QColor OwnColour;
    QColor OverlayColour;
};

const TSpectrumSlot Slots[6] = {
    {1, 1, QColor(255, 0, 0), QColor(255, 0, 0)},
    {2, 4, QColor(0, 128, 0), QColor(0, 128, 0)},
    {3, 5, QColor(0, 0, 160), QColor(0, 0, 255)},
    {6, 9, QColor(128, 0, 64), QColor(128, 0, 64)},
    {7, 10, QColor(0, 0, 0), QColor(0, 0, 0)},
    {8, 11, QColor(128, 64, 0), QColor(128, 64, 0)},
};

} // namespace

Tfm6SPM::Tfm6SPM(TfmTulvo& main)
    : TfmComparison(main, main.odSPM6, QStringLiteral("Спектры"), Strip)
{
    setObjectName(QStringLiteral("fm6SPM"));
    pa1 = new TPanel(this);
    pa1->setGeometry(0, 0, 315, 360);
    pa3 = new TPanel(this);
    pa3->setGeometry(317, 0, 315, 361);
    Chart1 = MakeChart(pa1);
    Chart2 = MakeChart(pa1);
    Chart3 = MakeChart(pa1);
    Chart4 = MakeChart(pa3);
    Chart5 = MakeChart(pa3);
    Chart6 = MakeChart(pa3);
    for (TChart* chart : {Chart1, Chart4})
        chart->setGeometry(1, 1, 313, 119);
    Chart3->setGeometry(1, 241, 313, 118);
    Chart6->setGeometry(1, 242, 313, 118);

    TChart* const owners[6] = {Chart1, Chart2, Chart3, Chart4, Chart5, Chart6};
    for (int k = 0; k < 6; ++k) {
        const TSpectrumSlot& slot = Slots[k];
        Series[slot.Own] = MakeSeries(owners[k], slot.OwnColour);
        if (slot.Overlay != slot.Own)
            Series[slot.Overlay] = MakeSeries(Chart1, slot.OverlayColour);
        ConnectReadout(owners[k], Series[slot.Own]);
    }
    // The columns only place their charts; the window's FormResize sets the heights.
    pa1->OnResize = [this] { AlignCharts(); };
    pa3->OnResize = [this] { AlignCharts(); };
    pa2->raise();
    resize(632, 433);
}

void Tfm6SPM::AlignCharts()
{
    AlignColumn(*pa1, Chart1, Chart2, Chart3);
    AlignColumn(*pa3, Chart4, Chart5, Chart6);
}

void Tfm6SPM::SetColumnWidths(int left, int right)
{
    pa1->setGeometry(0, 0, left, height() - 73);
    // The right column is aligned to the right edge and reaches down to the strip.
    pa3->setGeometry(width() - right, 0, right, height() - 72);
}

void Tfm6SPM::SetRowHeights()
{
    const int left = pa1->height() / Main.ChartRows - 1;
    const int right = pa3->height() / Main.ChartRows - 1;
    Chart1->resize(Chart1->width(), std::max(0, left));
    Chart3->resize(Chart3->width(), std::max(0, left));
    Chart4->resize(Chart4->width(), std::max(0, right));
    Chart6->resize(Chart6->width(), std::max(0, right));
    AlignCharts();
}

void Tfm6SPM::LayoutForm()
{
    SetColumnWidths(pa1->width(), pa3->width());
    PlaceStrip(width(), height());
    FormResize();
}

void Tfm6SPM::FormResize()
{
    if (pa3->isVisibleTo(this))
        SetColumnWidths(OuterWidth() / 2 - 4, OuterWidth() / 2 - 4);
    else
        SetColumnWidths(CommonWidth(), pa3->width());
    SetRowHeights();
}

void Tfm6SPM::FormShow()
{
    Main.ChartRows = 3;
    SetColumnWidths(OuterWidth() / 2 - 4, OuterWidth() / 2 - 4);
    for (TChart* chart : {Chart2, Chart3, Chart4, Chart5, Chart6})
        chart->show();
    pa3->show();
    ShowSplitButtons(true);
    for (int s = 1; s <= 11; ++s)
        Series[s]->Clear();
    // A chart that gets no file in this show has no title, and the split layout holds even
    // when the first file cannot be read.
    for (TChart* chart : Charts())
        chart->Title()->SetText(QString());
    SetRowHeights();
    bbLogAxis->show();
    SetLogAxisCaption();

    const int count = PickedFiles(6);
    const std::vector<TChart*> charts = Charts();
    for (int k = 0; k < count; ++k)
        LoadSpectrum(PickedFile(k), charts[k], Series[Slots[k].Own], pa1->height() / 3 - 1);
}

void Tfm6SPM::bbSClick()
{
    for (TChart* chart : {Chart2, Chart3, Chart4, Chart5, Chart6})
        chart->hide();
    pa3->hide();
    SetColumnWidths(CommonWidth(), pa3->width());
    Main.ChartRows = 1;
    Main.SavedTitle = Chart1->Title()->Text();
    Chart1->Title()->SetText(QStringLiteral("О Б Щ И Й   С П Е К Т Р"));
    SetChartHeight(Chart1, pa1->height() / Main.ChartRows - 1);
    for (int k = 1; k < std::min<int>(Main.FileCount, 6); ++k) {
        Series[Slots[k].Overlay]->Clear();
        CopyOverlay(*Series[Slots[k].Own], *Series[Slots[k].Overlay]);
    }
    ShowSplitButtons(false);
}

void Tfm6SPM::bbBackClick()
{
    for (int k = 1; k < 6; ++k)
        Series[Slots[k].Overlay]->Clear();
    Chart1->Title()->SetText(Main.SavedTitle);
    for (TChart* chart : {Chart2, Chart3, Chart4, Chart5, Chart6})
        chart->show();
    pa3->show();
    Main.ChartRows = 3;
    SetColumnWidths(OuterWidth() / 2 - 4, OuterWidth() / 2 - 4);
    SetRowHeights();
    ShowSplitButtons(true);
}
