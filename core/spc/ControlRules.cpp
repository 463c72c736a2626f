#include "core/spc/ControlRules.h"

#include <cstddef>
#include <stdexcept>

namespace {

// Where a point lies: its side of the centre (+1 above, -1 below, 0 on it or without a centre)
// and how many of the boundaries on that side it is strictly beyond (1 one third, 2 two thirds,
// 3 the limit; 0 without limits).
struct TPosition {
    int Side = 0;
    int Beyond = 0;
};

std::vector<TPosition> Positions(std::span<const double> values, const TControlLimits& limits)
{
    std::vector<TPosition> at(values.size());
    if (!limits.Centre) {
        return at;
    }
    const double centre = *limits.Centre;
    const bool zoned = limits.Status == TLimitsStatus::Set;
    const TZoneBoundaries zones = zoned ? ZoneBoundaries(limits) : TZoneBoundaries{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double value = values[i];
        TPosition& position = at[i];
        if (value > centre) {
            position.Side = 1;
            if (zoned) {
                position.Beyond =
                    (value > zones.UpperOneThird) + (value > zones.UpperTwoThirds) + (value > limits.Upper);
            }
        } else if (value < centre) {
            position.Side = -1;
            if (zoned) {
                position.Beyond =
                    (value < zones.LowerOneThird) + (value < zones.LowerTwoThirds) + (value < limits.Lower);
            }
        }
    }
    return at;
}

// A point beyond a limit.
void BeyondLimit(std::span<const TPosition> at, TSignals signal, std::span<TSignals> signals)
{
    for (std::size_t i = 0; i < at.size(); ++i) {
        if (at[i].Beyond >= 3) {
            signals[i] |= signal;
        }
    }
}

// At least k of m consecutive points beyond boundary zone (1 or 2) on one side, the last of them
// among those points: counts per side over a sliding window.
void KOfM(std::span<const TPosition> at, int k, std::size_t m, int zone, TSignals signal, std::span<TSignals> signals)
{
    int counts[2] = {0, 0}; // below, above
    const auto count = [&](const TPosition& position, int change) {
        if (position.Beyond >= zone) {
            counts[position.Side > 0] += change;
        }
    };
    for (std::size_t i = 0; i < at.size(); ++i) {
        count(at[i], 1);
        if (i >= m) {
            count(at[i - m], -1);
        }
        if (at[i].Beyond >= zone && counts[at[i].Side > 0] >= k) {
            signals[i] |= signal;
        }
    }
}

// n or more in a row on one side of the centre.
void RunOnOneSide(std::span<const TPosition> at, int n, TSignals signal, std::span<TSignals> signals)
{
    int run = 0;
    int side = 0;
    for (std::size_t i = 0; i < at.size(); ++i) {
        run = at[i].Side == 0 ? 0 : at[i].Side == side ? run + 1 : 1;
        side = at[i].Side;
        if (run >= n) {
            signals[i] |= signal;
        }
    }
}

// n in a row, each after the first above the one before it, or each below.
void Trend(std::span<const double> values, int n, TSignals signal, std::span<TSignals> signals)
{
    int rises = 0;
    int falls = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        rises = values[i] > values[i - 1] ? rises + 1 : 0;
        falls = values[i] < values[i - 1] ? falls + 1 : 0;
        if (rises >= n - 1 || falls >= n - 1) {
            signals[i] |= signal;
        }
    }
}

// n in a row, each after the second moving the other way from the one before it.
void Alternation(std::span<const double> values, int n, TSignals signal, std::span<TSignals> signals)
{
    int moves = 0;
    int last = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        const int move = (values[i] > values[i - 1]) - (values[i] < values[i - 1]);
        moves = move == 0 ? 0 : move == -last ? moves + 1 : 1;
        last = move;
        if (moves >= n - 1) {
            signals[i] |= signal;
        }
    }
}

// n in a row within one third of the centre, on either side or on it.
void WithinOneThird(std::span<const TPosition> at, int n, TSignals signal, std::span<TSignals> signals)
{
    int run = 0;
    for (std::size_t i = 0; i < at.size(); ++i) {
        run = at[i].Beyond == 0 ? run + 1 : 0;
        if (run >= n) {
            signals[i] |= signal;
        }
    }
}

// n in a row beyond one third of the centre, some above and some below it.
void NoneWithinOneThird(std::span<const TPosition> at, int n, TSignals signal, std::span<TSignals> signals)
{
    int run = 0;
    std::ptrdiff_t lastAbove = -1;
    std::ptrdiff_t lastBelow = -1;
    for (std::size_t i = 0; i < at.size(); ++i) {
        if (at[i].Beyond == 0) {
            run = 0;
            continue;
        }
        ++run;
        const auto index = static_cast<std::ptrdiff_t>(i);
        (at[i].Side > 0 ? lastAbove : lastBelow) = index;
        const std::ptrdiff_t first = index - n + 1;
        if (run >= n && lastAbove >= first && lastBelow >= first) {
            signals[i] |= signal;
        }
    }
}

// A range below its lower or above its upper limit; the first point of individuals has none.
void RangeOutside(const TChartPoints& points, const TControlLimits& limits, std::span<TSignals> signals)
{
    for (std::size_t i = points.SubgroupSize == 1 ? 1 : 0; i < points.Ranges.size(); ++i) {
        const double range = points.Ranges[i];
        if (range < limits.RangeLower || range > limits.RangeUpper) {
            signals[i] |= RangeSignal;
        }
    }
}

} // namespace

std::vector<TSignals> ChartSignals(const TChartPoints& points, const TControlLimits& limits, TRuleSet rules)
{
    std::vector<TSignals> signals(points.Values.size());
    if (rules == TRuleSet::None) {
        return signals;
    }
    const std::vector<TPosition> at = Positions(points.Values, limits);
    const bool zoned = limits.Status == TLimitsStatus::Set;
    const std::span<TSignals> out(signals);
    if (rules == TRuleSet::WesternElectric) {
        if (zoned) {
            BeyondLimit(at, RuleSignal(1), out);
            KOfM(at, 2, 3, 2, RuleSignal(2), out);
            KOfM(at, 4, 5, 1, RuleSignal(3), out);
        }
        RunOnOneSide(at, 8, RuleSignal(4), out);
    } else {
        if (zoned) {
            BeyondLimit(at, RuleSignal(1), out);
            KOfM(at, 2, 3, 2, RuleSignal(5), out);
            KOfM(at, 4, 5, 1, RuleSignal(6), out);
            WithinOneThird(at, 15, RuleSignal(7), out);
            NoneWithinOneThird(at, 8, RuleSignal(8), out);
        }
        RunOnOneSide(at, 9, RuleSignal(2), out);
        Trend(points.Values, 6, RuleSignal(3), out);
        Alternation(points.Values, 14, RuleSignal(4), out);
    }
    if (zoned) {
        RangeOutside(points, limits, out);
    }
    return signals;
}

std::string SignalsText(TSignals signals)
{
    std::string text;
    for (int rule = 1; rule <= 8; ++rule) {
        if ((signals & RuleSignal(rule)) != 0) {
            text += text.empty() ? "" : " ";
            text += static_cast<char>('0' + rule);
        }
    }
    if ((signals & RangeSignal) != 0) {
        text += text.empty() ? "R" : " R";
    }
    return text;
}

std::vector<std::size_t> SignallingPoints(std::span<const TSignals> signals, TPointRange range)
{
    if (range.First > signals.size() || range.Count > signals.size() - range.First) {
        throw std::out_of_range("the range reaches past the chart's last point");
    }
    std::vector<std::size_t> points;
    for (std::size_t i = range.First; i < range.First + range.Count; ++i) {
        if (signals[i] != 0) {
            points.push_back(i);
        }
    }
    return points;
}
