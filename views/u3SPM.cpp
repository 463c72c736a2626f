#include "views/u3SPM.h"

#include "ui/TPanel.h"
#include "app/uTulvo.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "plot/SpectrumChart.h"

#include <QPushButton>

#include <algorithm>

namespace {

const TStripDesign Strip{631,
                         QRect(16, 22, 75, 25),
                         QRect(135, 24, 27, 17),
                         QPoint(167, 26),
                         QRect(262, 24, 27, 17),
                         QPoint(294, 24),
                         QRect(381, 21, 75, 28),
                         QRect(385, 24, 75, 25),
                         QRect(515, 20, 75, 25)};

} // namespace

Tfm3SPM::Tfm3SPM(TfmTulvo& main)
    : TfmComparison(main, main.odSPM3, QStringLiteral("Три спектра"), Strip)
{
    setObjectName(QStringLiteral("fm3SPM"));
    pa1 = new TPanel(this);
    pa1->setGeometry(0, 0, 632, 360);
    Chart1 = MakeChart(pa1);
    Chart2 = MakeChart(pa1);
    Chart3 = MakeChart(pa1);
    Chart1->setGeometry(1, 1, 630, 119);
    Chart3->setGeometry(1, 240, 630, 119);
    for (TChart* chart : {Chart1, Chart2, Chart3})
        chart->hide();
    Series1 = MakeSeries(Chart1, Qt::red);
    Series4 = MakeSeries(Chart1, QColor(0, 128, 0));
    Series5 = MakeSeries(Chart1, QColor(0, 0, 255));
    Series2 = MakeSeries(Chart2, QColor(0, 128, 0));
    Series3 = MakeSeries(Chart3, QColor(0, 0, 160));
    ConnectReadout(Chart1, Series1);
    ConnectReadout(Chart2, Series2);
    ConnectReadout(Chart3, Series3);
    pa1->OnResize = Main.Boundary().Guard(this, [this] { pa1Resize(); });
    pa2->raise();
    resize(632, 433);
}

void Tfm3SPM::LayoutForm()
{
    pa1->setGeometry(0, 0, width(), height() - 73);
    PlaceStrip(width() - 1, height());
}

void Tfm3SPM::AlignCharts()
{
    AlignColumn(*pa1, Chart1, Chart2, Chart3);
}

void Tfm3SPM::SetSplitHeights()
{
    const int height = pa1->height() / Main.ChartRows - 1;
    Chart1->resize(Chart1->width(), std::max(0, height));
    SetChartHeight(Chart3, height);
}

void Tfm3SPM::pa1Resize()
{
    SetSplitHeights();
}

void Tfm3SPM::FormShow()
{
    Main.ChartRows = 3;
    for (TChart* chart : {Chart1, Chart2, Chart3}) {
        chart->show();
        // A chart that gets no file in this show has no title.
        chart->Title()->SetText(QString());
    }
    SetSplitHeights();
    for (TFastLineSeries* series : {Series1, Series2, Series3, Series4, Series5})
        series->Clear();
    ShowSplitButtons(true);
    bbLogAxis->show();
    SetLogAxisCaption();

    const int count = PickedFiles(3);
    TChart* const charts[] = {Chart1, Chart2, Chart3};
    TFastLineSeries* const series[] = {Series1, Series2, Series3};
    for (int k = 0; k < count; ++k)
        LoadSpectrum(PickedFile(k), charts[k], series[k], pa1->height() / 3 - 1);
}

void Tfm3SPM::bbSClick()
{
    Chart2->hide();
    Chart3->hide();
    Main.ChartRows = 1;
    Main.SavedTitle = Chart1->Title()->Text();
    Chart1->Title()->SetText(QStringLiteral("С П Е К Т Р"));
    SetChartHeight(Chart1, pa1->height() / Main.ChartRows - 1);
    Series4->Clear();
    Series5->Clear();
    if (Main.FileCount >= 2)
        CopyOverlay(*Series2, *Series4);
    if (Main.FileCount == 3)
        CopyOverlay(*Series3, *Series5);
    ShowSplitButtons(false);
}

void Tfm3SPM::bbBackClick()
{
    Series4->Clear();
    Series5->Clear();
    Chart1->Title()->SetText(Main.SavedTitle);
    Chart2->show();
    Chart3->show();
    Main.ChartRows = 3;
    SetSplitHeights();
    ShowSplitButtons(true);
}
