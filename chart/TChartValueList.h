#pragma once

#include <QString>

#include <vector>

// Sort order kept by a value list when points are added.
enum TChartListOrder { loNone, loAscending, loDescending };

// The values of one coordinate of a series (64-bit floats). Each value is read
// multiplied by Multiplier. The minimum and maximum of the finite values are
// cached and recomputed on the first read after a change; NaN and infinite
// values never count for them.
class TChartValueList {
public:
    explicit TChartValueList(QString name, TChartListOrder order);

    const QString& Name() const { return name_; }
    TChartListOrder Order() const { return order_; }
    void SetOrder(TChartListOrder order) { order_ = order; }
    double Multiplier() const { return multiplier_; }
    void SetMultiplier(double multiplier);
    bool DateTime() const { return dateTime_; }
    void SetDateTime(bool dateTime) { dateTime_ = dateTime; }

    int Count() const { return static_cast<int>(values_.size()); }
    // Value i times Multiplier; throws EChartError "List index out of bounds (i)"
    // when i < 0 or i >= Count().
    double Value(int i) const;
    double operator[](int i) const { return Value(i); }
    // Unchecked read for drawing loops: i must be in 0..Count()-1.
    double ValueAt(int i) const { return values_[static_cast<std::size_t>(i)] * multiplier_; }

    // Smallest and largest finite value (times Multiplier); 0 when there is none.
    double MinValue() const;
    double MaxValue() const;
    // True when at least one value is finite.
    bool HasFiniteValues() const;

    // The position at which `value` goes so that the list keeps its Order: at
    // the end when the list is empty or the value does not break the order,
    // otherwise just after the last value that it may follow (equal values
    // stay in the order they were added).
    int InsertPosition(double value) const;
    void Insert(int index, double value);
    void Clear();
    void Reserve(int count) { values_.reserve(static_cast<std::size_t>(count)); }

private:
    void Recalc() const;

    QString name_;
    TChartListOrder order_;
    double multiplier_ = 1.0;
    bool dateTime_ = false;
    std::vector<double> values_;

    mutable bool statsValid_ = true;
    mutable bool hasFinite_ = false;
    mutable double min_ = 0.0;
    mutable double max_ = 0.0;
};
