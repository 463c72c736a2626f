#pragma once

// The mouse gestures of the widget tests, sent to a widget without a display.

#include <QPoint>
#include <Qt>

class QWidget;
class TChart;

namespace testsupport {

// A drag with `button` (the left one unless told) over `widget` from `from` to `to` (widget
// pixels): a press, one move with the button held, a release. Over a chart, a left drag to the
// lower right zooms in and a right drag pans.
void Drag(QWidget& widget, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton);

// Zooms into the middle of a chart's plot area: a drag from a quarter to three quarters of it.
void ZoomIn(TChart& chart);

// Puts the pointer over `at` (widget pixels) and sends the widget the move; false when the
// platform does not move the pointer (the test should then be skipped).
bool MoveMouse(QWidget& widget, QPoint at);

} // namespace testsupport
