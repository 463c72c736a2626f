// The read-out strip: its controls at their designed places, the values it shows and the
// shorter forms it falls back on, and the proportional places it keeps when it changes size,
// with and without the vertical centres.
#include "ui/TReadoutStrip.h"
#include "ui/ReadoutFormat.h"
#include "ui/WindowStyle.h"

#include "tests/support/WidgetFixtures.h"

#include <QLabel>
#include <QLocale>
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
    void valueTakesTheLongestFormThatFits_data();
    void valueTakesTheLongestFormThatFits();
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
    QVERIFY(strip.XValue->text().isEmpty());
    QVERIFY(strip.YValue->text().isEmpty());
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
    const int valueOffset = strip.XValue->x() - strip.XCaption->geometry().right();
    const double valueY = CentreY(*strip.XValue, 61);
    const double captionX = CentreX(*strip.YCaption, 632);
    const double addedX = CentreX(*added, 632);
    const QRect toggle = strip.LogAxisButton->geometry();

    strip.resize(980, 90);
    // A value follows its caption at its designed distance.
    QCOMPARE(strip.XValue->x() - strip.XCaption->geometry().right(), valueOffset);
    QVERIFY(qAbs(CentreX(*strip.YCaption, 980) - captionX) * 980 <= 1.0);
    QVERIFY(qAbs(CentreX(*added, 980) - addedX) * 980 <= 1.0);
    if (vertical)
        QVERIFY(qAbs(CentreY(*strip.XValue, 90) - valueY) * 90 <= 1.0);
    else
        QCOMPARE(strip.XValue->y(), 25);
    QCOMPARE(strip.LogAxisButton->geometry(), toggle);
}

// clang-format off
void TReadoutStripTest::valueTakesTheLongestFormThatFits_data()
{
    QTest::addColumn<int>("neighbour"); // left edge of a button after the Y value
    QTest::addColumn<double>("y");
    QTest::newRow("wide_room") << 560 << 10185.1667;
    QTest::newRow("large_value_room_81") << 410 << 10185.1667;
    QTest::newRow("large_value_room_61") << 390 << 10185.1667;
    QTest::newRow("large_value_room_43") << 372 << 10185.1667;
    QTest::newRow("small_value_room_61") << 390 << 0.000123456789;
    QTest::newRow("negative_sample_room_43") << 372 << -32768.0;
    QTest::newRow("beyond_nine_digits_room_63") << 392 << 1.23456789e12;
}
// clang-format on

void TReadoutStripTest::valueTakesTheLongestFormThatFits()
{
    QFETCH(int, neighbour);
    QFETCH(double, y);
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    QWidget window;
    TReadoutStrip strip(&window, Design(true));
    QPushButton* next = MakeButton(&strip, QStringLiteral("next"), QRect(neighbour, 20, 75, 25));
    strip.Track(next);
    strip.resize(632, 61);
    strip.ShowValues(4537.6, y);

    QCOMPARE(testsupport::ReadoutFault(strip, 4537.6, y), QString());
    QVERIFY(strip.YValue->geometry().right() <= next->x() - 1 - TReadoutStrip::ValueGap);
    // Every longer form would have run under the button.
    const QStringList forms = ReadoutYForms(y);
    const qsizetype shown = forms.indexOf(strip.YValue->text());
    QLabel probe;
    probe.setFont(strip.YValue->font());
    for (qsizetype k = 0; k < shown; ++k) {
        probe.setText(forms[k]);
        QVERIFY2(strip.YValue->x() + probe.sizeHint().width() - 1 > next->x() - 1 - TReadoutStrip::ValueGap,
                 qPrintable(forms[k]));
    }
    QLocale::setDefault(saved);
}

QTEST_MAIN(TReadoutStripTest)
#include "TReadoutStripTest.moc"
