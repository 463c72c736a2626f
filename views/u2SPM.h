#pragma once

#include "views/TfmComparison.h"

class TFastLineSeries;

// The two-spectrum window fm2SPM, "Два спектра": two spectrum files one above the other,
// overlaid in the upper chart by "Совместить" and separated again by "Разбить".
class Tfm2SPM : public TfmComparison
{
    Q_OBJECT

public:
    explicit Tfm2SPM(TfmTulvo& main);

    TPanel* pa1 = nullptr;
    TChart* Chart1 = nullptr;
    TChart* Chart2 = nullptr;
    TFastLineSeries* Series1 = nullptr;   // first spectrum, red
    TFastLineSeries* Series2 = nullptr;   // second spectrum, green
    TFastLineSeries* Series3 = nullptr;   // overlay copy of the second spectrum in Chart1, green

    void FormShow() override;
    void bbSClick() override;
    void bbBackClick() override;
    void pa1Resize();
    std::vector<TChart*> Charts() const override { return {Chart1, Chart2}; }

protected:
    void AlignCharts() override;
    void LayoutForm() override;
};
