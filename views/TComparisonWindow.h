#pragma once

#include "views/TComparisonContext.h"
#include "views/TComparisonLayout.h"

#include "plot/TOverlayLegend.h"

#include <QDialog>
#include <QString>

#include <string>
#include <vector>

class QPushButton;
class TChart;
class TChartCommands;
class TChartSeries;
struct TChartPicture;
class TFastLineSeries;
class TMaskBandCommands;
class TReadoutStrip;
class TRowsPanel;

// A modal window that compares spectrum files: one chart per file in the columns and rows of
// its layout, and a strip at the bottom with the linear/logarithmic toggle, the X/Y read-out
// and the buttons "Совместить" (overlay), "Разбить" (split) and "&Close". The two-, three- and
// six-spectrum windows are this class with different layouts (TComparisonLayout).
//
// Each show starts split: every chart shown and empty, then the first ChartCount() picked files
// loaded into the charts in order, each titled "С П Е К Т Р  " and its path. A file that cannot
// be read stops the loading there (the error box shows it); the charts after it stay empty.
// "Совместить" hides every chart but the first, stretches it over the window, titles it with the
// layout's overlay title and copies the other loaded spectra into it; "Разбить" takes the copies
// away and brings the charts and the first title back. While overlaid, the first chart shows a
// colour key of the loaded files (TOverlayLegend), each file's full path in a tooltip over its
// row. Ctrl+S, Ctrl+C and a right click on a chart save or copy the chart area as a picture, or
// save the loaded spectra as a table (TChartCommands). The read-out is emptied by every show, overlay, split and change
// of scale. The window is created once and keeps its size, its place (centred on the first show only) and each chart's
// left-axis scale and zoom between shows. Every way of closing it ends in `finished`. The charts' context menu also
// shows a mask's band behind the curves of every chart, "Показать допуск…" until "Скрыть допуск" (TMaskBandCommands).
class TComparisonWindow : public QDialog {
    Q_OBJECT

public:
    TComparisonWindow(TComparisonLayout layout, TComparisonContext context);
    ~TComparisonWindow() override;

    const TComparisonLayout& Layout() const { return layout_; }

    int ChartCount() const { return static_cast<int>(charts_.size()); }
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    // Chart k (0 to ChartCount() - 1), column by column, top down.
    TChart* Chart(int k) const { return charts_.at(k); }
    // The column panel c, holding charts c * RowsPerColumn and the ones after it.
    TRowsPanel* Column(int c) const { return columns_.at(c); }
    // The spectrum of file k in chart k.
    TFastLineSeries* OwnSeries(int k) const { return ownSeries_.at(k); }
    // The copy of file k's spectrum in the first chart while overlaid (k from 1; for k = 0
    // it is the first chart's own series).
    TFastLineSeries* OverlaySeries(int k) const { return overlaySeries_.at(k); }

    TReadoutStrip* ReadoutStrip() const { return strip_; }
    QPushButton* OverlayButton() const { return overlayButton_; }
    QPushButton* SplitButton() const { return splitButton_; }
    QPushButton* CloseButton() const { return closeButton_; }
    // The colour key of the first chart: one entry per loaded file while overlaid, none
    // while split.
    const TOverlayLegend& Legend() const { return legend_; }
    // Save and copy of what the charts show.
    TChartCommands& Commands() const { return *commands_; }
    // A mask shown against every chart.
    TMaskBandCommands& MaskBand() const { return *maskBand_; }

    // The charts shown now, each at its place in the smallest rectangle that holds them all.
    TChartPicture Picture() const;
    // The spectra loaded in this show, in the form of tulvo-cli show, headed by their paths.
    std::string Table() const;

    // "Совместить": all loaded spectra in the first chart.
    void Overlay();
    // "Разбить": back to one chart per spectrum.
    void Split();
    // Switches the left axes of all charts, hidden and empty ones too, in chart order; the
    // toggle's caption follows the first chart. Stops at a chart whose axis cannot become
    // logarithmic, with that chart's error.
    void ToggleLogAxis();

    // Every way of closing ("&Close", the frame, Escape) ends here: the window hides, its modal
    // run ends and `finished` is emitted.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateButtons();
    void CreateCharts();
    // Every show: the split state, then the picked files.
    void StartShow();
    // Reads file k at `path` and shows it in chart k.
    void LoadSpectrum(int k, const QString& path);
    // Places the visible columns for the window's size and state and lays out their rows.
    void LayoutCharts();
    // Lays out the charts and the strip for a new size of the window.
    void LayoutWindow();
    void AlignColumns();
    void ShowSplitButtons(bool split);
    // The smallest window that keeps the read-out whole beside either button.
    void SetMinimumSize();
    void SetLogAxisCaption();
    void UpdateReadout(const TChartSeries& series);

    TComparisonLayout layout_;
    TComparisonContext context_;
    TReadoutStrip* strip_;
    QPushButton* overlayButton_ = nullptr;
    QPushButton* splitButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    std::vector<TRowsPanel*> columns_;
    std::vector<TChart*> charts_;
    std::vector<TFastLineSeries*> ownSeries_;
    std::vector<TFastLineSeries*> overlaySeries_;
    bool overlaid_ = false;
    // Files of this show, at most ChartCount(): the ones that the overlay copies.
    int fileCount_ = 0;
    // The first chart's title while overlaid, given back by Split.
    QString savedTitle_;
    TOverlayLegend legend_;
    // The files loaded in this show and their spectra, in chart order (the table's columns).
    std::vector<std::string> loadedPaths_;
    std::vector<TSpectrum> loadedSpectra_;
    TChartCommands* commands_ = nullptr;
    TMaskBandCommands* maskBand_ = nullptr;
};
