#include "views/TComparisonWindow.h"

#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "plot/ChartTable.h"
#include "plot/SpectrumChart.h"
#include "ui/LocalPath.h"
#include "ui/TErrorBoundary.h"
#include "ui/TReadoutStrip.h"
#include "ui/TRowsPanel.h"
#include "ui/WindowStyle.h"
#include "views/TChartCommands.h"
#include "views/TMaskBandCommands.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QToolTip>

#include <algorithm>
#include <utility>

TComparisonWindow::TComparisonWindow(TComparisonLayout layout, TComparisonContext context)
    : QDialog(nullptr), layout_(std::move(layout)), context_(std::move(context)),
      strip_(new TReadoutStrip(this, layout_.Strip))
{
    setObjectName(layout_.ObjectName);
    setWindowTitle(layout_.Caption);
    setFont(DesignFont());
    setSizeGripEnabled(false);
    // Closing this window hands over to the main window; it never ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);

    CreateButtons();
    CreateCharts();
    commands_ = new TChartCommands(*this, context_.Boundary,
                                   {[this] { return true; }, [this] { return Picture(); }, [this] { return Table(); },
                                    [this] { return charts_.front()->Title()->Text().trimmed(); }});
    for (TChart* chart : charts_)
        commands_->Attach(*chart);
    maskBand_ = new TMaskBandCommands(*this, context_.Boundary, *commands_, {charts_, {}});
    SetMinimumSize();
    strip_->raise();
    resize(TComparisonLayout::ClientSize);
}

TComparisonWindow::~TComparisonWindow() = default;

void TComparisonWindow::CreateButtons()
{
    overlayButton_ = MakeButton(strip_, QStringLiteral("Совместить"), layout_.OverlayButton);
    splitButton_ = MakeButton(strip_, QStringLiteral("Разбить"), layout_.SplitButton);
    splitButton_->hide();
    closeButton_ = MakeButton(strip_, QStringLiteral("&Close"), layout_.CloseButton);
    closeButton_->setIcon(OpenDoorIcon());
    for (QPushButton* button : {overlayButton_, splitButton_, closeButton_})
        strip_->Track(button);

    const TErrorBoundary& boundary = context_.Boundary;
    connect(strip_->LogAxisButton, &QPushButton::clicked, this, boundary.Guard(this, [this] { ToggleLogAxis(); }));
    connect(overlayButton_, &QPushButton::clicked, this, boundary.Guard(this, [this] { Overlay(); }));
    connect(splitButton_, &QPushButton::clicked, this, boundary.Guard(this, [this] { Split(); }));
    connect(closeButton_, &QPushButton::clicked, this, boundary.Guard(this, [this] { close(); }));
}

void TComparisonWindow::CreateCharts()
{
    const int rows = layout_.RowsPerColumn;
    for (int c = 0; c < layout_.Columns; ++c) {
        auto* column = new TRowsPanel(this);
        std::vector<QWidget*> stack;
        for (int row = 0; row < rows; ++row) {
            charts_.push_back(MakeChart(column));
            stack.push_back(charts_.back());
        }
        column->Stack(stack[0], stack[1], rows > 2 ? stack[2] : nullptr);
        columns_.push_back(column);
    }
    charts_.front()->installEventFilter(this);
    // The first chart draws its own spectrum first, then the copies of the others in file order.
    for (int k = 0; k < ChartCount(); ++k) {
        const TSpectrumColours& colours = layout_.Colours.at(k);
        ownSeries_.push_back(MakeSeries(charts_[k], colours.Own));
        overlaySeries_.push_back(k == 0 ? ownSeries_[0] : MakeSeries(charts_[0], colours.Overlay));
        const TChartSeries* own = ownSeries_[k];
        connect(charts_[k], &TChart::mouseMoved, this,
                context_.Boundary.Guard(this, [this, own] { UpdateReadout(*own); }));
    }
}

bool TComparisonWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The key names each file in full in a tooltip over its row.
    if (event->type() == QEvent::ToolTip && watched == charts_.front()) {
        auto* help = static_cast<QHelpEvent*>(event);
        TChart* first = charts_.front();
        const QFontMetrics metrics(first->font());
        const int k = overlaid_ ? legend_.EntryAt(help->pos(), first->PlotRect(), metrics) : -1;
        if (k >= 0)
            QToolTip::showText(help->globalPos(), legend_.Entries()[k].Path, first);
        else
            QToolTip::hideText();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TComparisonWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        context_.Boundary.Run(this, [this] { StartShow(); });
    QDialog::showEvent(event);
}

void TComparisonWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    context_.Boundary.Run(this, [this] { LayoutWindow(); });
}

void TComparisonWindow::done(int result)
{
    // Later shows find the window where it was left instead of centring it again.
    setAttribute(Qt::WA_Moved, true);
    QDialog::done(result);
}

void TComparisonWindow::StartShow()
{
    strip_->Clear();
    overlaid_ = false;
    for (TRowsPanel* column : columns_)
        column->show();
    for (TChart* chart : charts_) {
        chart->show();
        // A chart that gets no file in this show has no title.
        chart->Title()->SetText(QString());
    }
    ShowSplitButtons(true);
    for (int k = 0; k < ChartCount(); ++k) {
        ownSeries_[k]->Clear();
        overlaySeries_[k]->Clear();
    }
    // The split layout and the toggle's caption hold even when the first file cannot be read.
    LayoutCharts();
    SetLogAxisCaption();

    loadedPaths_.clear();
    loadedSpectra_.clear();
    const QStringList& picked = context_.PickedFiles;
    fileCount_ = static_cast<int>(std::min<qsizetype>(picked.size(), ChartCount()));
    for (int k = 0; k < fileCount_; ++k)
        LoadSpectrum(k, picked.at(k));
}

void TComparisonWindow::LoadSpectrum(int k, const QString& path)
{
    const TSpectrum spectrum = context_.ReadSpectrum(LocalPath(path));
    TChart* chart = charts_[k];
    chart->show();
    // A loaded chart takes the row height of the first column. In a second column, which
    // reaches one pixel lower, that is one pixel less than its own row height when its height
    // is a multiple of three, until the charts are laid out again.
    chart->resize(chart->width(), columns_.front()->RowHeight());
    AlignColumns();
    chart->Title()->SetText(QStringLiteral("С П Е К Т Р  ") + path);
    chart->BottomAxis()->Title()->SetCaption(QStringLiteral("Гц"));
    PlotSpectrum(spectrum, *ownSeries_[k]);
    loadedPaths_.push_back(LocalPath(path));
    loadedSpectra_.push_back(spectrum);
}

TChartPicture TComparisonWindow::Picture() const
{
    QRect area;
    for (const TChart* chart : charts_)
        if (chart->isVisibleTo(this))
            area |= QRect(chart->mapTo(this, QPoint(0, 0)), chart->size());
    TChartPicture picture{area.size(), {}};
    for (TChart* chart : charts_)
        if (chart->isVisibleTo(this))
            picture.Charts.push_back({chart, chart->mapTo(this, QPoint(0, 0)) - area.topLeft()});
    return picture;
}

std::string TComparisonWindow::Table() const { return SpectrumTable(loadedPaths_, loadedSpectra_); }

void TComparisonWindow::Overlay()
{
    for (int k = 1; k < ChartCount(); ++k)
        charts_[k]->hide();
    for (int c = 1; c < ColumnCount(); ++c)
        columns_[c]->hide();
    overlaid_ = true;
    TChart* first = charts_.front();
    savedTitle_ = first->Title()->Text();
    first->Title()->SetText(layout_.OverlayTitle);
    strip_->Clear();
    LayoutCharts();
    for (int k = 1; k < ChartCount(); ++k) {
        overlaySeries_[k]->Clear();
        // What the spectrum's own series holds: nothing when its file could not be read.
        if (k < fileCount_)
            CopyOverlay(*ownSeries_[k], *overlaySeries_[k]);
    }
    std::vector<TLegendEntry> entries;
    for (int k = 0; k < fileCount_; ++k)
        if (overlaySeries_[k]->Count() > 0)
            entries.push_back({overlaySeries_[k]->SeriesColor(), context_.PickedFiles.at(k)});
    legend_ = TOverlayLegend(std::move(entries));
    ShowLegend(*first, legend_);
    ShowSplitButtons(false);
}

void TComparisonWindow::Split()
{
    for (int k = 1; k < ChartCount(); ++k)
        overlaySeries_[k]->Clear();
    charts_.front()->Title()->SetText(savedTitle_);
    legend_ = TOverlayLegend();
    ShowLegend(*charts_.front(), legend_);
    for (TChart* chart : charts_)
        chart->show();
    for (TRowsPanel* column : columns_)
        column->show();
    overlaid_ = false;
    strip_->Clear();
    LayoutCharts();
    ShowSplitButtons(true);
}

void TComparisonWindow::ToggleLogAxis()
{
    strip_->Clear();
    for (std::size_t i = 0; i < charts_.size(); ++i) {
        const bool logarithmic = SwitchLogAxis(*charts_[i]);
        if (i == 0)
            strip_->LogAxisButton->setText(LogAxisCaption(logarithmic));
        charts_[i]->Redraw();
    }
}

void TComparisonWindow::LayoutCharts()
{
    for (int c = 0; c < ColumnCount(); ++c)
        if (columns_[c]->isVisibleTo(this))
            columns_[c]->setGeometry(layout_.ColumnRect(c, size(), overlaid_));
    const int rows = overlaid_ ? 1 : layout_.RowsPerColumn;
    for (TRowsPanel* column : columns_)
        column->SetRows(rows);
}

void TComparisonWindow::LayoutWindow()
{
    LayoutCharts();
    strip_->setGeometry(layout_.StripRect(size()));
}

void TComparisonWindow::AlignColumns()
{
    for (TRowsPanel* column : columns_)
        column->Align();
}

void TComparisonWindow::ShowSplitButtons(bool split)
{
    overlayButton_->setVisible(split);
    splitButton_->setVisible(!split);
}

void TComparisonWindow::SetMinimumSize()
{
    // The read-out keeps its room next to either of the buttons that take turns after it.
    int stripWidth = 0;
    for (const bool split : {true, false}) {
        ShowSplitButtons(split);
        stripWidth = std::max(stripWidth, strip_->MinimumWidth());
    }
    setMinimumSize(stripWidth + layout_.StripInset,
                   TComparisonLayout::StripHeight + TComparisonLayout::MinimumChartsHeight);
}

void TComparisonWindow::SetLogAxisCaption()
{
    strip_->LogAxisButton->setText(LogAxisCaption(charts_.front()->LeftAxis()->Logarithmic()));
}

void TComparisonWindow::UpdateReadout(const TChartSeries& series)
{
    double x = 0.0;
    double y = 0.0;
    series.CursorToValues(x, y);
    strip_->ShowValues(x, y);
}
