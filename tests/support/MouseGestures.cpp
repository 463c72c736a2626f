#include "tests/support/MouseGestures.h"

#include "chart/TChart.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>

namespace testsupport {

void Drag(QWidget& widget, QPoint from, QPoint to, Qt::MouseButton button)
{
    QTest::mousePress(&widget, button, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, widget.mapToGlobal(to), Qt::NoButton, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
    QTest::mouseRelease(&widget, button, Qt::NoModifier, to);
}

void ZoomIn(TChart& chart)
{
    const QRect plot = chart.PlotRect();
    Drag(chart, plot.topLeft() + QPoint(plot.width() / 4, plot.height() / 4),
         plot.topLeft() + QPoint(plot.width() * 3 / 4, plot.height() * 3 / 4));
}

bool MoveMouse(QWidget& widget, QPoint at)
{
    QCursor::setPos(widget.mapToGlobal(at));
    if (widget.mapFromGlobal(QCursor::pos()) != at)
        return false;
    QTest::mouseMove(&widget, at);
    return true;
}

} // namespace testsupport
