#include "views/TSpectrogramView.h"

#include "chart/TBottomAxisLink.h"
#include "chart/TChart.h"
#include "chart/TColourGridSeries.h"
#include "core/analysis/SpectrumTables.h"
#include "core/analysis/TRecordingFrames.h"
#include "core/base/TulvoErrors.h"
#include "plot/SpectrogramChart.h"
#include "ui/LocalPath.h"
#include "ui/TErrorBoundary.h"
#include "ui/TReadoutStrip.h"
#include "views/TChartCommands.h"

#include <QHideEvent>
#include <QPushButton>
#include <QShowEvent>

#include <array>
#include <exception>
#include <optional>

TSpectrogramView::TSpectrogramView(QWidget* parent, const TErrorBoundary& boundary, TReadoutStrip& strip,
                                   TChartCommands& commands)
    : QWidget(parent), boundary_(boundary), strip_(strip), commands_(commands)
{
    setObjectName(QStringLiteral("SpectrogramView"));
    hide();
}

TSpectrogramView::~TSpectrogramView() = default;

void TSpectrogramView::ShowRecording(const QString& path)
{
    const std::string local = LocalPath(path);
    TFramedRecording framed;
    try {
        framed = AnalyseFramedRecording(local);
    } catch (const std::exception&) {
        // The read names the file already; the analysis of its samples does not.
        RethrowNamingFile(std::current_exception(), local);
    }

    // Charts built anew for each recording, exactly as the picture of tulvo-cli plot --frames.
    delete link_;
    delete waveform_;
    delete spectrogram_;
    waveform_ = MakeWaveformChart(this, framed.Recording, path);
    spectrogram_ = MakeSpectrogramChart(this, framed.Frames, path);
    curve_ = waveform_->Series(0);
    grid_ = dynamic_cast<TColourGridSeries*>(spectrogram_->Series(0));
    const std::array<TChart*, 2> charts{waveform_, spectrogram_};
    link_ = new TBottomAxisLink(charts, this);
    connect(waveform_, &TChart::mouseMoved, this,
            [this](Qt::KeyboardModifiers, QPoint position) { boundary_.Run(this, [&] { ReadWaveform(position); }); });
    connect(spectrogram_, &TChart::mouseMoved, this, [this](Qt::KeyboardModifiers, QPoint position) {
        boundary_.Run(this, [&] { ReadSpectrogram(position); });
    });
    for (TChart* chart : charts) {
        commands_.Attach(*chart);
        chart->show();
    }
    frames_ = framed.Frames;
    LayOut();

    show();
    strip_.show();
    strip_.LogAxisButton->hide();
    strip_.ShowZ(true);
    strip_.Clear();
}

TChartPicture TSpectrogramView::Picture() const
{
    return {size(), {{waveform_, waveform_->pos()}, {spectrogram_, spectrogram_->pos()}}};
}

std::string TSpectrogramView::Table() const
{
    std::string table = FramesTableHeader();
    for (int line = 0; line < SpectrumLines; ++line)
        table += FramesTableRow(frames_, line);
    return table;
}

QString TSpectrogramView::Title() const { return spectrogram_->Title()->Text().trimmed(); }

void TSpectrogramView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void TSpectrogramView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        strip_.ShowZ(true);
}

void TSpectrogramView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        strip_.ShowZ(false);
}

void TSpectrogramView::LayOut()
{
    if (waveform_ != nullptr)
        LayOutTimeCharts(*waveform_, *spectrogram_, size());
}

void TSpectrogramView::ReadWaveform(QPoint position)
{
    double x = 0.0;
    double y = 0.0;
    curve_->PixelToValues(position.x(), position.y(), x, y);
    strip_.ShowValues(x, y);
}

void TSpectrogramView::ReadSpectrogram(QPoint position)
{
    double x = 0.0;
    double y = 0.0;
    grid_->PixelToValues(position.x(), position.y(), x, y);
    // Only a cell that shows has a level to read: not one zoomed or panned out of the plot area.
    std::optional<double> levelDb;
    if (spectrogram_->PlotRect().contains(position))
        if (const std::optional<TGridCell> cell = grid_->CellAt(x, y))
            levelDb = LevelDb(grid_->Value(cell->Column, cell->Row));
    strip_.ShowGridValues(x, y, levelDb);
}
