// Fuzz target: a chart painted into an image on the offscreen platform, with
// any size, axis settings, label format and points (NaNs, infinities and
// huge values included), as a damaged spectrum file or a zoom may give it.
// Refusals the chart documents (EChartError) are fine; a crash, a hang or
// undefined behaviour is a finding.

#include "TFuzzInput.h"

#include "chart/EChartError.h"
#include "chart/TChart.h"
#include "chart/TChartAxis.h"
#include "chart/TFastLineSeries.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <memory>

namespace {

QApplication& Application()
{
    static int argc = 1;
    static char name[] = "chart-paint-fuzz";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }();
    return *application;
}

void SetUpAxis(TChartAxis& axis, TFuzzInput& input)
{
    axis.SetAutomatic(input.TakeBool());
    axis.SetAutomaticMinimum(input.TakeBool());
    axis.SetAutomaticMaximum(input.TakeBool());
    const double minimum = input.Take<double>();
    axis.SetMinMax(minimum, input.Take<double>());
    axis.SetInverted(input.TakeBool());
    if (input.TakeBool()) {
        axis.SetIncrement(input.Take<double>());
    }
    axis.SetLabelsSeparation(input.TakeInt(0, 200));
    axis.SetRoundFirstLabel(input.TakeBool());
    if (input.TakeBool()) {
        axis.SetLogarithmicBase(input.Take<double>());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Application();
    TFuzzInput input(data, size);
    TChart chart;
    const int width = input.TakeInt(1, 640);
    chart.resize(width, input.TakeInt(1, 480));
    auto* series = new TFastLineSeries(&chart);
    series->SetSeriesColor(Qt::red);
    SetUpAxis(*chart.LeftAxis(), input);
    SetUpAxis(*chart.BottomAxis(), input);
    chart.LeftAxis()->SetAxisValuesFormat(QString::fromUtf8(input.TakeString(24)));
    const int points = input.TakeInt(0, 400);
    for (int i = 0; i < points && input.Remaining() > 0; ++i) {
        const double x = input.Take<double>();
        series->AddPoint(x, input.Take<double>());
    }
    for (TChartAxis* axis : {chart.LeftAxis(), chart.BottomAxis()}) {
        try {
            axis->SetLogarithmic(input.TakeBool());
        } catch (const EChartError&) {
        }
    }
    QImage image(chart.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.PaintTo(painter);
    return 0;
}
