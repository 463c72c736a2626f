// The rows rule of the windows' chart panels: one row is the panel height div rows - 1, the
// top and bottom widgets are one row high, the middle one takes what is left; hidden widgets
// take no space; a resize lays the rows out again.
#include "ui/TRowsPanel.h"

#include <QTest>

namespace {

// A panel of the given size with up to three stacked widgets (top, middle, bottom).
struct TStack {
    TStack(QSize size, bool withBottom)
    {
        panel.resize(size);
        top = new QWidget(&panel);
        middle = new QWidget(&panel);
        bottom = withBottom ? new QWidget(&panel) : nullptr;
        panel.Stack(top, middle, bottom);
        window.resize(800, 600);
        window.show();
    }
    QList<QRect> Rects() const
    {
        QList<QRect> rects;
        for (QWidget* widget : {top, middle, bottom})
            if (widget)
                rects << (widget->isVisibleTo(&panel) ? widget->geometry() : QRect());
        return rects;
    }

    QWidget window;
    TRowsPanel panel{&window};
    QWidget* top;
    QWidget* middle;
    QWidget* bottom;
};

} // namespace

class TRowsPanelTest : public QObject {
    Q_OBJECT

private slots:
    void rowHeight_data();
    void rowHeight();
    void rows_data();
    void rows();
    void resizeLaysRowsOutAgain();
    void alignKeepsHeightsOfItsOwn();
};

// clang-format off
void TRowsPanelTest::rowHeight_data()
{
    QTest::addColumn<int>("panelHeight");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("rowHeight");
    QTest::newRow("360_one") << 360 << 1 << 359;
    QTest::newRow("360_two") << 360 << 2 << 179;
    QTest::newRow("360_three") << 360 << 3 << 119;
    QTest::newRow("361_three") << 361 << 3 << 119;
    QTest::newRow("363_three") << 363 << 3 << 120;
    QTest::newRow("427_two") << 427 << 2 << 212;
    QTest::newRow("2_three_not_below_zero") << 2 << 3 << 0;
    QTest::newRow("0_one_not_below_zero") << 0 << 1 << 0;
}
// clang-format on

void TRowsPanelTest::rowHeight()
{
    QFETCH(int, panelHeight);
    QFETCH(int, rows);
    QFETCH(int, rowHeight);
    QCOMPARE(TRowsPanel::RowHeight(panelHeight, rows), rowHeight);
}

// clang-format off
void TRowsPanelTest::rows_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("withBottom");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("hidden");   // widgets hidden before the layout: t, m, b
    QTest::addColumn<QList<QRect>>("rects");
    QTest::newRow("three_rows") << QSize(632, 360) << true << 3 << QString()
                                << QList<QRect>{{1, 1, 630, 119}, {1, 120, 630, 120}, {1, 240, 630, 119}};
    QTest::newRow("three_rows_left_over_in_middle") << QSize(316, 361) << true << 3 << QString()
                                                    << QList<QRect>{{1, 1, 314, 119}, {1, 120, 314, 121}, {1, 241, 314, 119}};
    QTest::newRow("two_rows_no_bottom") << QSize(632, 360) << false << 2 << QString()
                                        << QList<QRect>{{1, 1, 630, 179}, {1, 180, 630, 179}};
    QTest::newRow("one_row_others_hidden") << QSize(632, 360) << true << 1 << QStringLiteral("mb")
                                           << QList<QRect>{{1, 1, 630, 359}, {}, {}};
    QTest::newRow("hidden_top_gives_middle_its_place") << QSize(100, 90) << true << 3 << QStringLiteral("t")
                                                       << QList<QRect>{{}, {1, 1, 98, 59}, {1, 60, 98, 29}};
    QTest::newRow("too_small_for_rows") << QSize(50, 4) << true << 3 << QString()
                                        << QList<QRect>{{1, 1, 48, 0}, {1, 1, 48, 2}, {1, 3, 48, 0}};
}
// clang-format on

void TRowsPanelTest::rows()
{
    QFETCH(QSize, size);
    QFETCH(bool, withBottom);
    QFETCH(int, rows);
    QFETCH(QString, hidden);
    QFETCH(QList<QRect>, rects);
    TStack stack(size, withBottom);
    if (hidden.contains(QLatin1Char('t')))
        stack.top->hide();
    if (hidden.contains(QLatin1Char('m')))
        stack.middle->hide();
    if (hidden.contains(QLatin1Char('b')) && stack.bottom)
        stack.bottom->hide();
    stack.panel.SetRows(rows);
    QCOMPARE(stack.panel.Rows(), rows);
    QCOMPARE(stack.Rects(), rects);
}

void TRowsPanelTest::resizeLaysRowsOutAgain()
{
    TStack stack(QSize(632, 360), true);
    stack.panel.SetRows(3);
    stack.panel.resize(700, 527);
    QCOMPARE(stack.Rects(), (QList<QRect>{{1, 1, 698, 174}, {1, 175, 698, 177}, {1, 352, 698, 174}}));
    // A widget shown again is placed by the next layout, at the rows' height.
    stack.middle->hide();
    stack.bottom->hide();
    stack.panel.SetRows(1);
    stack.middle->show();
    stack.bottom->show();
    stack.panel.SetRows(3);
    QCOMPARE(stack.Rects(), (QList<QRect>{{1, 1, 698, 174}, {1, 175, 698, 177}, {1, 352, 698, 174}}));
}

void TRowsPanelTest::alignKeepsHeightsOfItsOwn()
{
    TStack stack(QSize(632, 360), true);
    stack.panel.SetRows(3);
    stack.bottom->resize(stack.bottom->width(), 100);
    stack.panel.Align();
    QCOMPARE(stack.Rects(), (QList<QRect>{{1, 1, 630, 119}, {1, 120, 630, 139}, {1, 259, 630, 100}}));
    stack.panel.ApplyRows();
    QCOMPARE(stack.bottom->geometry(), QRect(1, 240, 630, 119));
}

QTEST_MAIN(TRowsPanelTest)
#include "TRowsPanelTest.moc"
