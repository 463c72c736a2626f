#include "views/TMaskBandCommands.h"

#include "chart/TBandSeries.h"
#include "chart/TChart.h"
#include "core/qc/MaskFile.h"
#include "plot/MaskChart.h"
#include "ui/IDialogs.h"
#include "ui/LocalPath.h"
#include "ui/TErrorBoundary.h"
#include "views/TChartCommands.h"

#include <QAction>
#include <QMenu>

#include <utility>

TMaskBandCommands::TMaskBandCommands(QWidget& window, const TErrorBoundary& boundary, TChartCommands& commands,
                                     TMaskBandSource source)
    : QObject(&window),
      MaskDialog(QStringLiteral("ShowMaskDialog"), QStringLiteral("Допуск"), QStringLiteral("*.csv"), false),
      ShowAction(new QAction(QStringLiteral("Показать допуск…"), &window)),
      HideAction(new QAction(QStringLiteral("Скрыть допуск"), &window)), window_(window), boundary_(boundary),
      source_(std::move(source))
{
    commands.Menu->addSeparator();
    commands.Menu->addAction(ShowAction);
    commands.Menu->addAction(HideAction);
    HideAction->setVisible(false);
    connect(commands.Menu, &QMenu::aboutToShow, this, [this] { OfferActions(); });
    connect(ShowAction, &QAction::triggered, this, boundary_.Guard(&window_, [this] { ShowMask(); }));
    connect(HideAction, &QAction::triggered, this, boundary_.Guard(&window_, [this] { HideMask(); }));
}

bool TMaskBandCommands::ShowsSpectra() const { return !source_.ShowsSpectra || source_.ShowsSpectra(); }

void TMaskBandCommands::OfferActions()
{
    ShowAction->setVisible(ShowsSpectra());
    HideAction->setVisible(ShowsSpectra() && mask_.has_value());
}

TBandSeries* TMaskBandCommands::Band(int k) const
{
    return bands_.empty() ? nullptr : bands_.at(static_cast<std::size_t>(k));
}

void TMaskBandCommands::ShowMask()
{
    if (!boundary_.Dialogs().Execute(MaskDialog, &window_))
        return;
    TToleranceMask mask = ReadMaskFile(LocalPath(MaskDialog.FileName));
    if (bands_.empty())
        for (TChart* chart : source_.Charts)
            bands_.push_back(MakeMaskBand(*chart));
    for (TBandSeries* band : bands_)
        PlotMaskBand(mask, *band);
    mask_ = std::move(mask);
    maskPath_ = MaskDialog.FileName;
    Update();
}

void TMaskBandCommands::HideMask()
{
    // The series go with the mask: a chart without a mask is as it was before one was shown.
    for (TBandSeries* band : bands_)
        delete band;
    bands_.clear();
    mask_.reset();
    maskPath_.clear();
    HideAction->setVisible(false);
}

void TMaskBandCommands::Update()
{
    const bool shown = ShowsSpectra();
    for (TBandSeries* band : bands_)
        band->SetActive(shown);
}
