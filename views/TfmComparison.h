#pragma once

#include "ui/TCentreAnchors.h"

#include <QDialog>
#include <QPoint>
#include <QRect>

#include <vector>

class QLabel;
class QPushButton;
class TChart;
class TChartSeries;
class TPanel;
class TfmTulvo;
struct TOpenDialog;

// Places of the bottom strip's controls in one comparison window's design; they differ by a
// pixel or two between the windows.
struct TStripDesign
{
    int Width;            // design width of the strip
    QRect LogAxis;        // bbLogAxis
    QRect StaticText1;    // "X = "
    QPoint LaX;
    QRect StaticText2;    // "Y = "
    QPoint LaY;
    QRect S;              // bbS "Совместить"
    QRect Back;           // bbBack "Разбить"
    QRect Close;          // BitBtn1 "&Close"
};

// What the two-, three- and six-spectrum windows share: a modal window of 632 x 433 client
// pixels created once at start-up; the bottom strip pa2 with the linear/logarithmic toggle,
// the X/Y read-out, "Совместить", "Разбить" and "&Close"; the loading of one spectrum file into
// a chart; and the hand-over back to the main window when the window closes. The window is
// centred on its first show and later found where, and as large as, it was left; its charts
// keep their left-axis scale and zoom between shows.
class TfmComparison : public QDialog
{
    Q_OBJECT

public:
    // Reads its files from `source`, a dialog of `main`; `caption` is the window's title and
    // `strip` the places of the bottom strip's controls.
    TfmComparison(TfmTulvo& main, TOpenDialog& source, const QString& caption, const TStripDesign& strip);
    ~TfmComparison() override;

    TfmTulvo& Main;

    TPanel* pa2 = nullptr;
    QPushButton* bbLogAxis = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* laX = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* laY = nullptr;
    QPushButton* bbS = nullptr;
    QPushButton* bbBack = nullptr;
    QPushButton* BitBtn1 = nullptr;

    // Runs before the window becomes visible, every time it is shown: the split state, then
    // the picked files.
    virtual void FormShow() = 0;
    // "Совместить": all loaded spectra in the first chart.
    virtual void bbSClick() = 0;
    // "Разбить": back to one chart per spectrum.
    virtual void bbBackClick() = 0;
    // Switches the left axes of all charts, hidden and empty ones too, in chart order; the
    // caption follows the first chart. Stops at a chart that cannot become logarithmic.
    void bbLogAxisClick();
    // "&Close": closes the window, which makes the main window visible again.
    void BitBtn1Click();
    // The read-out of a chart through its own spectrum series.
    void ChartMouseMove(const TChartSeries& series);

    // The charts in the toggle's order.
    virtual std::vector<TChart*> Charts() const = 0;

    // Every way of closing ("&Close", the frame, Escape) ends here: the window hides, its modal
    // run ends, and the main window becomes visible again.
    void done(int result) override;

protected:
    // The number of files to show, at most `limit`, stored in FileCount.
    int PickedFiles(int limit) const;
    // The path of picked file k.
    QString PickedFile(int k) const;
    // Reads the spectrum file `path` and shows it in `chart` (made visible, `height` pixels
    // high, titled after the file) through `series`.
    void LoadSpectrum(const QString& path, TChart* chart, TChartSeries* series, int height);
    // Sets the height of an aligned chart and places the charts again.
    void SetChartHeight(TChart* chart, int height);
    // Places the charts of the window in their panels for their current heights.
    virtual void AlignCharts() = 0;
    // Places the panels for the window's client size (runs on every resize).
    virtual void LayoutForm() = 0;
    // Shows "Совместить" in the split state, "Разбить" in the overlaid one.
    void ShowSplitButtons(bool split);
    // Sets the toggle's caption from the left axis of the first chart.
    void SetLogAxisCaption();
    // A chart raising the read-out of `series` on mouse moves.
    void ConnectReadout(TChart* chart, const TChartSeries* series);
    // The strip for a client area of `width` x `height`: 72 pixels high at the bottom.
    void PlaceStrip(int width, int clientHeight);

    // Places the visible ones of up to three charts in a panel with a one-pixel bevel: `top`
    // along its top edge, `bottom` along its bottom edge, each with its own height, and
    // `middle` in the space between them.
    static void AlignColumn(QWidget& panel, QWidget* top, QWidget* middle, QWidget* bottom);

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TOpenDialog& source_;
    TCentreAnchors anchors_;
};
