// The icon built into the windowed program, the window icon where the desktop's icon theme has
// none: it is in the program's resources, and Qt's SVG plugins draw it sharp at any size.

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QtTest>

class IconTest : public QObject {
    Q_OBJECT

private slots:
    void drawsAtEverySize_data();
    void drawsAtEverySize();
};

// clang-format off
void IconTest::drawsAtEverySize_data()
{
    QTest::addColumn<int>("side");
    QTest::newRow("menu 16") << 16;
    QTest::newRow("panel 32") << 32;
    QTest::newRow("launcher 48") << 48;
    QTest::newRow("large 256") << 256;
    QTest::newRow("beyond the drawing's 128") << 512;
}
// clang-format on

// At each size the icon comes out exactly that large (a bitmap would stop at its own size), with
// clear corners outside the rounded frame and the red spectrum line inside it.
void IconTest::drawsAtEverySize()
{
    QFETCH(int, side);
    const QIcon icon(QStringLiteral(":/icons/org.tulvo.tulvo.svg"));
    QVERIFY(!icon.isNull());
    const QImage image = icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(side, side));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(side - 1, side - 1)), 0);
    int red = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            red += c.alpha() > 128 && c.red() > c.green() + 60 && c.red() > c.blue() + 60;
        }
    }
    QVERIFY2(red >= side / 4, qPrintable(QStringLiteral("%1 red pixels").arg(red)));
}

QTEST_MAIN(IconTest)
#include "IconTest.moc"
