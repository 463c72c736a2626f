#include "chart/TChartValueList.h"

#include "chart/EChartError.h"

#include <cmath>
#include <string>

TChartValueList::TChartValueList(QString name, TChartListOrder order) : name_(std::move(name)), order_(order) {}

void TChartValueList::SetMultiplier(double multiplier)
{
    multiplier_ = multiplier;
    statsValid_ = false;
}

double TChartValueList::Value(int i) const
{
    if (i < 0 || i >= Count()) {
        throw EChartError("List index out of bounds (" + std::to_string(i) + ")");
    }
    return ValueAt(i);
}

double TChartValueList::MinValue() const
{
    Recalc();
    return min_;
}

double TChartValueList::MaxValue() const
{
    Recalc();
    return max_;
}

bool TChartValueList::HasFiniteValues() const
{
    Recalc();
    return hasFinite_;
}

int TChartValueList::InsertPosition(double value) const
{
    const int count = Count();
    if (order_ == loNone || count == 0) {
        return count;
    }
    const auto at = [this](int i) { return values_[static_cast<std::size_t>(i)]; };
    // Scanning from the end makes the usual case, values arriving in order, O(1).
    if (order_ == loAscending) {
        if (!(value < at(count - 1))) {
            return count;
        }
        int i = count - 1;
        while (i >= 0 && value < at(i)) {
            --i;
        }
        return i + 1;
    }
    if (!(value > at(count - 1))) {
        return count;
    }
    int i = count - 1;
    while (i >= 0 && value > at(i)) {
        --i;
    }
    return i + 1;
}

void TChartValueList::Insert(int index, double value)
{
    values_.insert(values_.begin() + index, value);
    statsValid_ = false;
}

void TChartValueList::Clear()
{
    values_.clear();
    statsValid_ = false;
}

void TChartValueList::Recalc() const
{
    if (statsValid_) {
        return;
    }
    hasFinite_ = false;
    double lo = 0.0;
    double hi = 0.0;
    for (double stored : values_) {
        const double v = stored * multiplier_;
        if (!std::isfinite(v)) {
            continue;
        }
        if (!hasFinite_) {
            lo = hi = v;
            hasFinite_ = true;
        } else if (v < lo) {
            lo = v;
        } else if (v > hi) {
            hi = v;
        }
    }
    min_ = lo;
    max_ = hi;
    statsValid_ = true;
}
