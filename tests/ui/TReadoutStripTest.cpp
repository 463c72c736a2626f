// The read-out strip: its controls at their designed places, the values it shows, and the
// proportional places it keeps when it changes size, with and without the vertical centres.
#include "ui/TReadoutStrip.h"
#include "ui/ReadoutFormat.h"
#include "ui/WindowStyle.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

TReadoutStripDesign Design(bool vertical)
{
    return {QSize(632, 61),         vertical,       QRect(32, 16, 75, 25), QRect(165, 23, 27, 17), QPoint(199, 25),
            QRect(292, 23, 27, 17), QPoint(324, 23)};
}

double CentreX(const QWidget& widget, int width) { return (widget.x() + widget.width() / 2.0) / width; }

double CentreY(const QWidget& widget, int height) { return (widget.y() + widget.height() / 2.0) / height; }

} // namespace

class TReadoutStripTest : public QObject {
    Q_OBJECT

private slots:
    void designPlacesAndTexts();
    void showValuesGrowsFromTheLeftEdge();
    void resizeKeepsCentres_data();
    void resizeKeepsCentres();
};

void TReadoutStripTest::designPlacesAndTexts()
{
    QWidget window;
    TReadoutStrip strip(&window, Design(true));
    QCOMPARE(strip.LogAxisButton->geometry(), QRect(32, 16, 75, 25));
    QVERIFY(strip.LogAxisButton->text().isEmpty());
    QCOMPARE(strip.XCaption->geometry(), QRect(165, 23, 27, 17));
    QCOMPARE(strip.XCaption->text(), QStringLiteral("X = "));
    QCOMPARE(strip.YCaption->text(), QStringLiteral("Y = "));
    QCOMPARE(strip.XValue->pos(), QPoint(199, 25));
    QCOMPARE(strip.YValue->pos(), QPoint(324, 23));
    QCOMPARE(strip.XValue->text(), QStringLiteral("laX"));
    QCOMPARE(strip.YValue->text(), QStringLiteral("laY"));
    QVERIFY(strip.XValue->font().bold() && strip.XCaption->font().bold());
    QCOMPARE(strip.XCaption->frameShadow(), QFrame::Sunken);
}

void TReadoutStripTest::showValuesGrowsFromTheLeftEdge()
{
    QWidget window;
    TReadoutStrip strip(&window, Design(true));
    strip.resize(632, 61);
    strip.ShowValues(4537.6, 0.000123456789);
    QCOMPARE(strip.XValue->text(), ReadoutXText(4537.6));
    QCOMPARE(strip.YValue->text(), ReadoutYText(0.000123456789));
    QCOMPARE(strip.XValue->pos(), QPoint(199, 25));
    QCOMPARE(strip.YValue->pos(), QPoint(324, 23));
    QCOMPARE(strip.XValue->size(), strip.XValue->sizeHint());
}

// clang-format off
void TReadoutStripTest::resizeKeepsCentres_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::newRow("horizontal_centres") << false;
    QTest::newRow("horizontal_and_vertical_centres") << true;
}
// clang-format on

void TReadoutStripTest::resizeKeepsCentres()
{
    QFETCH(bool, vertical);
    QWidget window;
    window.resize(1200, 200);
    TReadoutStrip strip(&window, Design(vertical));
    QPushButton* added = MakeButton(&strip, QStringLiteral("added"), QRect(500, 20, 75, 25));
    strip.Track(added);
    strip.setGeometry(0, 0, 632, 61);
    window.show();
    // A value shown first: its new width counts from then on.
    strip.ShowValues(123456.0, 1.5);
    const double valueX = CentreX(*strip.XValue, 632);
    const double valueY = CentreY(*strip.XValue, 61);
    const double captionX = CentreX(*strip.YCaption, 632);
    const double addedX = CentreX(*added, 632);
    const QRect toggle = strip.LogAxisButton->geometry();

    strip.resize(980, 90);
    QVERIFY(qAbs(CentreX(*strip.XValue, 980) - valueX) * 980 <= 1.0);
    QVERIFY(qAbs(CentreX(*strip.YCaption, 980) - captionX) * 980 <= 1.0);
    QVERIFY(qAbs(CentreX(*added, 980) - addedX) * 980 <= 1.0);
    if (vertical)
        QVERIFY(qAbs(CentreY(*strip.XValue, 90) - valueY) * 90 <= 1.0);
    else
        QCOMPARE(strip.XValue->y(), 25);
    QCOMPARE(strip.LogAxisButton->geometry(), toggle);
}

QTEST_MAIN(TReadoutStripTest)
#include "TReadoutStripTest.moc"
