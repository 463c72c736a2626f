#pragma once

#include "tests/app/GuiTestSupport.h"
#include "tests/app/TScriptedDialogs.h"

#include "app/TTulvoForms.h"
#include "app/uTulvo.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <vector>

// Fixtures of the view tests: the program's windows with scripted dialogs, spectrum files of
// known content, and the mouse gestures of the charts.
namespace viewtest {

using namespace guitest;

struct TViews
{
    TViews() : spectra(MakeSpectra(folder, 7)) {}

    // Shows a comparison window (not modally) with `files` picked in `dialog`.
    template <typename TWindow>
    void Show(TWindow& window, TOpenDialog& dialog, const QStringList& files)
    {
        dialog.Files = files;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("window not exposed");
    }

    TScriptedDialogs dialogs;
    TTulvoForms forms{dialogs};
    TfmTulvo& fm = *forms.fmTulvo;
    TFolder folder;
    QStringList spectra;   // spm0.spm ... spm6.spm
};

// The y values of a series.
inline std::vector<double> YValues(const TChartSeries& series)
{
    std::vector<double> values;
    for (int i = 0; i < series.Count(); ++i)
        values.push_back(series.YValues().Value(i));
    return values;
}

// The title the views give a chart that shows `path`, as the chart reads it back.
inline QString SpectrumTitle(const QString& path)
{
    return QStringLiteral("С П Е К Т Р  ") + path + QLatin1Char('\n');
}

// A left-button drag over a chart from `from` to `to` (a zoom when it goes right and down).
inline void Drag(TChart& chart, QPoint from, QPoint to)
{
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, chart.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, to);
}

// Zooms into the middle of a chart's plot area.
inline void ZoomIn(TChart& chart)
{
    const QRect plot = chart.PlotRect();
    Drag(chart, plot.topLeft() + QPoint(plot.width() / 4, plot.height() / 4),
         plot.topLeft() + QPoint(plot.width() * 3 / 4, plot.height() * 3 / 4));
}

} // namespace viewtest
