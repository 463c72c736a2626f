#pragma once

#include "views/TfmComparison.h"

#include <array>

class TFastLineSeries;

// The six-spectrum window fm6SPM, "Спектры": up to six spectrum files in two columns of three
// charts. "Совместить" shows the common spectrum, all loaded spectra in the first chart
// stretched over the whole window; "Разбить" returns to the six charts.
class Tfm6SPM : public TfmComparison
{
    Q_OBJECT

public:
    explicit Tfm6SPM(TfmTulvo& main);

    TPanel* pa1 = nullptr;   // left column: Chart1, Chart2, Chart3
    TPanel* pa3 = nullptr;   // right column: Chart4, Chart5, Chart6
    TChart* Chart1 = nullptr;
    TChart* Chart2 = nullptr;
    TChart* Chart3 = nullptr;
    TChart* Chart4 = nullptr;
    TChart* Chart5 = nullptr;
    TChart* Chart6 = nullptr;
    // Series1..Series11 at index 1..11 (index 0 unused): the spectra in their own charts
    // (1, 2, 3, 6, 7, 8) and the overlay copies in Chart1 (4, 5, 9, 10, 11).
    std::array<TFastLineSeries*, 12> Series{};

    void FormShow() override;
    void FormResize();
    void bbSClick() override;
    void bbBackClick() override;
    std::vector<TChart*> Charts() const override { return {Chart1, Chart2, Chart3, Chart4, Chart5, Chart6}; }

    // The window's outer width W: its client width plus 8 pixels of frame. Two columns of
    // W div 2 - 4 fill the client area exactly when W is even.
    int OuterWidth() const { return width() + 8; }
    // Width of the left column while it holds the common spectrum: the whole client area. (The
    // outer width would reach 8 pixels past the window's edge and cut off the right end of the
    // chart, its last axis label, and the centre of its title.)
    int CommonWidth() const { return width(); }

protected:
    void AlignCharts() override;
    void LayoutForm() override;

private:
    void SetColumnWidths(int left, int right);
    void SetRowHeights();
};
