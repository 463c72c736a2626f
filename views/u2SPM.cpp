#include "views/u2SPM.h"

#include "ui/TPanel.h"
#include "app/uTulvo.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "plot/SpectrumChart.h"

#include <QPushButton>

namespace {

const TStripDesign Strip{632,
                         QRect(16, 22, 75, 25),
                         QRect(135, 24, 27, 17),
                         QPoint(167, 26),
                         QRect(262, 24, 27, 17),
                         QPoint(294, 24),
                         QRect(382, 21, 75, 28),
                         QRect(386, 24, 75, 25),
                         QRect(516, 20, 75, 25)};

} // namespace

Tfm2SPM::Tfm2SPM(TfmTulvo& main)
    : TfmComparison(main, main.odSPM2, QStringLiteral("Два спектра"), Strip)
{
    setObjectName(QStringLiteral("fm2SPM"));
    pa1 = new TPanel(this);
    pa1->setGeometry(0, 0, 632, 360);
    Chart1 = MakeChart(pa1);
    Chart1->setGeometry(1, 1, 630, 179);
    Chart2 = MakeChart(pa1);
    Series1 = MakeSeries(Chart1, Qt::red);
    Series3 = MakeSeries(Chart1, QColor(0, 128, 0));
    Series2 = MakeSeries(Chart2, QColor(0, 128, 0));
    ConnectReadout(Chart1, Series1);
    ConnectReadout(Chart2, Series2);
    pa1->OnResize = Main.Boundary().Guard(this, [this] { pa1Resize(); });
    pa2->raise();
    resize(632, 433);
}

void Tfm2SPM::LayoutForm()
{
    pa1->setGeometry(0, 0, width(), height() - 73);
    PlaceStrip(width(), height());
}

void Tfm2SPM::AlignCharts()
{
    AlignColumn(*pa1, Chart1, Chart2, nullptr);
}

void Tfm2SPM::pa1Resize()
{
    SetChartHeight(Chart1, pa1->height() / Main.ChartRows - 1);
}

void Tfm2SPM::FormShow()
{
    Main.ChartRows = 2;
    Chart2->show();
    ShowSplitButtons(true);
    Series1->Clear();
    Series2->Clear();
    Series3->Clear();
    // A chart that gets no file in this show has no title, and the split layout holds even
    // when the first file cannot be read.
    Chart1->Title()->SetText(QString());
    Chart2->Title()->SetText(QString());
    SetChartHeight(Chart1, pa1->height() / 2 - 1);
    // The toggle is captioned before any file is read, so that it is right even when a file
    // cannot be read.
    bbLogAxis->show();
    SetLogAxisCaption();

    const int count = PickedFiles(2);
    TChart* const charts[] = {Chart1, Chart2};
    TFastLineSeries* const series[] = {Series1, Series2};
    for (int k = 0; k < count; ++k)
        LoadSpectrum(PickedFile(k), charts[k], series[k], pa1->height() / 2 - 1);
}

void Tfm2SPM::bbSClick()
{
    Chart2->hide();
    Main.ChartRows = 1;
    Main.SavedTitle = Chart1->Title()->Text();
    Chart1->Title()->SetText(QStringLiteral("С П Е К Т Р"));
    SetChartHeight(Chart1, pa1->height() / Main.ChartRows - 1);
    Series3->Clear();
    if (Main.FileCount == 2)
        CopyOverlay(*Series2, *Series3);
    ShowSplitButtons(false);
}

void Tfm2SPM::bbBackClick()
{
    Chart1->Title()->SetText(Main.SavedTitle);
    Chart2->show();
    Main.ChartRows = 2;
    SetChartHeight(Chart1, pa1->height() / Main.ChartRows - 1);
    Series3->Clear();
    ShowSplitButtons(true);
}
