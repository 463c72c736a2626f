#pragma once

#include "core/qc/ToleranceMask.h"
#include "ui/TOpenDialog.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QWidget;
class TBandSeries;
class TChart;
class TChartCommands;
class TErrorBoundary;

// What a window's mask commands work on.
struct TMaskBandSource {
    // Every chart of the window, hidden ones too: each draws the band behind its curves.
    std::vector<TChart*> Charts;
    // Whether the window shows spectra now; the band is drawn, and the commands offered, only
    // then (the main window's chart shows a waveform as well). Empty: always.
    std::function<bool()> ShowsSpectra;
};

// The context-menu commands of a spectrum window that show a tolerance mask against its spectra:
// "Показать допуск…" picks a mask file ("Допуск (*.csv)") and draws its band behind the curves
// of every chart of the window (plot/MaskChart.h), replacing a mask shown before; "Скрыть
// допуск", offered while one is shown, takes it away. The band is a series of each chart, so it
// stays across a change of scale, zoom, panning, overlay and the files shown, and the charts'
// pictures include it. A mask that cannot be read leaves the charts as they were (the error box
// shows why). Both commands join the menu of the window's chart commands after a separator.
class TMaskBandCommands : public QObject {
    Q_OBJECT

public:
    TMaskBandCommands(QWidget& window, const TErrorBoundary& boundary, TChartCommands& commands,
                      TMaskBandSource source);

    // "Показать допуск…": the dialog, then the band of the picked mask.
    void ShowMask();
    // "Скрыть допуск".
    void HideMask();
    // Draws the band or not as the window shows spectra or not; a window whose view changes
    // calls it after the change.
    void Update();

    // The mask shown, and its file; nothing (an empty path) while none is.
    const std::optional<TToleranceMask>& Mask() const { return mask_; }
    const QString& MaskPath() const { return maskPath_; }
    // The band of chart k of the source, null while no mask is shown.
    TBandSeries* Band(int k) const;

    TOpenDialog MaskDialog; // the mask to show: "Допуск (*.csv)"
    QAction* ShowAction;    // "Показать допуск…"
    QAction* HideAction;    // "Скрыть допуск"

private:
    bool ShowsSpectra() const;
    // The actions offered as the menu opens.
    void OfferActions();

    QWidget& window_;
    const TErrorBoundary& boundary_;
    TMaskBandSource source_;
    std::optional<TToleranceMask> mask_;
    QString maskPath_;
    std::vector<TBandSeries*> bands_;
};
