#pragma once

#include "core/spc/ControlChart.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The rules that read a pattern in a control chart's points, run over every point.
//
// Western Electric                            Nelson
//   1  a point beyond a limit                   1  a point beyond a limit
//   2  two of three beyond two thirds           2  nine in a row on one side of the centre
//   3  four of five beyond one third            3  six in a row, each of the last five above (or each
//   4  eight in a row on one side                  below) the one before it; an equal one ends it
//                                               4  fourteen in a row, each of the last thirteen moving
//                                                  the other way from the one before it; an equal one
//                                                  ends it
//                                               5  two of three beyond two thirds
//                                               6  four of five beyond one third
//                                               7  fifteen in a row within one third
//                                               8  eight in a row none within one third, with points on
//                                                  both sides
// and R, for either set: a range (moving range) below its lower or above its upper limit.
//
// "Beyond" is strictly beyond: a value exactly on a limit or a zone boundary is not beyond it (and
// so "within one third" holds the boundary). A value exactly on the centre is on neither side: it
// ends a run on one side and starts none. A k-of-m rule signals at point i when at least k of
// points i-m+1 ... i (those of them that exist) lie beyond its zone on one side and point i is one
// of them; a run rule signals at every point that ends a qualifying run, so a run of ten on one
// side signals Western Electric 4 at its 8th, 9th and 10th points.
//
// Rules that need a zone or a limit (Western Electric 1-3, Nelson 1 and 5-8, R) apply only when the
// limits are set; those on the sides of the centre (Western Electric 4, Nelson 2) whenever there is
// a centre; Nelson 3 and 4 always.

// Which rules run.
enum class TRuleSet {
    None,
    WesternElectric,
    Nelson,
};

// The signals at one point: bit k - 1 set when rule k of the set fires, RangeSignal when R does.
using TSignals = std::uint16_t;
inline constexpr TSignals RangeSignal = 0x8000;

// The bit of rule k (1 to 8) of a set.
constexpr TSignals RuleSignal(int rule) { return static_cast<TSignals>(1u << (rule - 1)); }

// The signals at each of points' points against limits (one per point, in order). TRuleSet::None
// gives no signal, R included.
std::vector<TSignals> ChartSignals(const TChartPoints& points, const TControlLimits& limits, TRuleSet rules);

// The rules of signals in rule order, separated by spaces, R last ("1 5 R"); empty for none.
std::string SignalsText(TSignals signals);

// The points of range (0-based) with a signal, in order: for the warning that a baseline is not in
// control. Raises std::out_of_range when range reaches past signals' end.
std::vector<std::size_t> SignallingPoints(std::span<const TSignals> signals, TPointRange range);
