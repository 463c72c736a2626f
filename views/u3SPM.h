#pragma once

#include "views/TfmComparison.h"

class TFastLineSeries;

// The three-spectrum window fm3SPM, "Три спектра": three spectrum files one above the other,
// overlaid in the top chart by "Совместить" and separated again by "Разбить".
class Tfm3SPM : public TfmComparison
{
    Q_OBJECT

public:
    explicit Tfm3SPM(TfmTulvo& main);

    TPanel* pa1 = nullptr;
    TChart* Chart1 = nullptr;
    TChart* Chart2 = nullptr;
    TChart* Chart3 = nullptr;
    TFastLineSeries* Series1 = nullptr;   // first spectrum, red
    TFastLineSeries* Series2 = nullptr;   // second spectrum, green
    TFastLineSeries* Series3 = nullptr;   // third spectrum, dark blue
    TFastLineSeries* Series4 = nullptr;   // overlay copy of the second, green
    TFastLineSeries* Series5 = nullptr;   // overlay copy of the third, pure blue

    void FormShow() override;
    void bbSClick() override;
    void bbBackClick() override;
    void pa1Resize();
    std::vector<TChart*> Charts() const override { return {Chart1, Chart2, Chart3}; }

protected:
    void AlignCharts() override;
    void LayoutForm() override;

private:
    void SetSplitHeights();
};
