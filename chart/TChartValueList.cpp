#include "chart/TChartValueList.h"

#include "chart/EChartError.h"

#include <cmath>
#include <string>

TChartValueList::TChartValueList(QString name, TChartListOrder order) : FName(std::move(name)), FOrder(order) {}

void TChartValueList::SetMultiplier(double multiplier)
{
  FMultiplier = multiplier;
  FStatsValid = false;
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
  return FMin;
}

double TChartValueList::MaxValue() const
{
  Recalc();
  return FMax;
}

bool TChartValueList::HasFiniteValues() const
{
  Recalc();
  return FHasFinite;
}

int TChartValueList::InsertPosition(double value) const
{
  const int count = Count();
  if (FOrder == loNone || count == 0) {
    return count;
  }
  const auto at = [this](int i) { return FValues[static_cast<std::size_t>(i)]; };
  // Scanning from the end makes the usual case, values arriving in order, O(1).
  if (FOrder == loAscending) {
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
  FValues.insert(FValues.begin() + index, value);
  FStatsValid = false;
}

void TChartValueList::Clear()
{
  FValues.clear();
  FStatsValid = false;
}

void TChartValueList::Recalc() const
{
  if (FStatsValid) {
    return;
  }
  FHasFinite = false;
  double lo = 0.0;
  double hi = 0.0;
  for (double stored : FValues) {
    const double v = stored * FMultiplier;
    if (!std::isfinite(v)) {
      continue;
    }
    if (!FHasFinite) {
      lo = hi = v;
      FHasFinite = true;
    } else if (v < lo) {
      lo = v;
    } else if (v > hi) {
      hi = v;
    }
  }
  FMin = lo;
  FMax = hi;
  FStatsValid = true;
}
