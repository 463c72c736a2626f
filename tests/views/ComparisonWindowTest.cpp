// The comparison windows, each test run over the two-, three- and six-spectrum layouts: the
// places of columns, charts and strip at the design size, after resizing, overlaid and split
// again; the files a show loads and the overlay of them; unreadable files; closing; what
// persists between shows; the linear/logarithmic toggle over every chart; the read-out, its
// room beside the neighbouring controls and its emptying; the overlay's colour key.
#include "tests/support/MouseGestures.h"
#include "tests/support/TScriptedDialogs.h"
#include "tests/support/WidgetFixtures.h"

#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "core/analysis/SpmFile.h"
#include "ui/ReadoutFormat.h"
#include "ui/TErrorBoundary.h"
#include "ui/TReadoutStrip.h"
#include "ui/TRowsPanel.h"
#include "views/TComparisonWindow.h"

#include <QHelpEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

using namespace testsupport;

namespace {

// The texts each window shows of its own: the one table of them. Every window also has the
// buttons "Совместить", "Разбить" and "&Close" and the toggle "Логарифм." / "Линейный".
struct TWindowTexts {
    const char* Kind;
    TComparisonLayout (*Layout)();
    const char* Caption;
    const char* OverlayTitle;
};

const TWindowTexts Windows[] = {
    {"two", TwoSpectraLayout, "Два спектра", "С П Е К Т Р"},
    {"three", ThreeSpectraLayout, "Три спектра", "С П Е К Т Р"},
    {"six", SixSpectraLayout, "Спектры", "О Б Щ И Й   С П Е К Т Р"},
};

const TWindowTexts& TextsOf(const QString& kind)
{
    for (const TWindowTexts& texts : Windows)
        if (kind == QLatin1String(texts.Kind))
            return texts;
    qFatal("unknown window");
}

// The colours of file k's spectrum in its own chart and in the overlay, for every window.
const QColor OwnColours[6] = {QColor(255, 0, 0),  QColor(0, 128, 0), QColor(0, 0, 160),
                              QColor(128, 0, 64), QColor(0, 0, 0),   QColor(128, 64, 0)};
const QColor OverlayColours[6] = {QColor(255, 0, 0),  QColor(0, 128, 0), QColor(0, 0, 255),
                                  QColor(128, 0, 64), QColor(0, 0, 0),   QColor(128, 64, 0)};

const QString Logarithmic = QStringLiteral("Логарифм.");
const QString Linear = QStringLiteral("Линейный");
const QString NotFound = QStringLiteral("File not found.");

// The title a chart that shows `path` reads back.
QString SpectrumTitle(const QString& path) { return QStringLiteral("С П Е К Т Р  ") + path + QLatin1Char('\n'); }

// One comparison window of the given kind, its dialog's files set by the test, its errors
// recorded by scripted dialogs; seven spectrum files ready (spm0.spm to spm6.spm).
struct TWindowFixture {
    explicit TWindowFixture(const QString& kind, TSpectrumReader reader = ReadSpectrum)
        : Texts(TextsOf(kind)), Window(Texts.Layout(), TComparisonContext{Boundary, Picked, std::move(reader)})
    {}

    // Shows the window (not modally) with `files` picked.
    bool Show(const QStringList& files)
    {
        Picked = files;
        Window.show();
        return QTest::qWaitForWindowExposed(&Window);
    }
    // Shows the window with the first ChartCount() spectrum files.
    bool ShowAll() { return Show(Spectra.mid(0, Window.ChartCount())); }

    void Resize(QSize size)
    {
        Window.resize(size);
        QTRY_COMPARE(Window.size(), size);
    }

    const TWindowTexts& Texts;
    TScriptedDialogs Dialogs;
    TErrorBoundary Boundary{Dialogs};
    QStringList Picked;
    TFixtureFolder Folder;
    QStringList Spectra = WriteSpectra(Folder, 7);
    TComparisonWindow Window;
};

std::vector<double> YValues(const TChartSeries& series)
{
    std::vector<double> values;
    for (int i = 0; i < series.Count(); ++i)
        values.push_back(series.YValues().Value(i));
    return values;
}

// The places of the columns and charts; a hidden one is an empty rectangle.
QList<QRect> ColumnRects(const TComparisonWindow& window)
{
    QList<QRect> rects;
    for (int c = 0; c < window.ColumnCount(); ++c)
        rects << (window.Column(c)->isVisible() ? window.Column(c)->geometry() : QRect());
    return rects;
}

QList<QRect> ChartRects(const TComparisonWindow& window)
{
    QList<QRect> rects;
    for (int k = 0; k < window.ChartCount(); ++k)
        rects << (window.Chart(k)->isVisible() ? window.Chart(k)->geometry() : QRect());
    return rects;
}

} // namespace

class TComparisonWindowTest : public QObject {
    Q_OBJECT

private slots:
    void designAndTexts_data();
    void designAndTexts();
    void layoutTable_data();
    void layoutTable();
    void loadsPickedFiles_data();
    void loadsPickedFiles();
    void unreadableFileStopsLoading_data();
    void unreadableFileStopsLoading();
    void readsThroughItsContext_data();
    void readsThroughItsContext();
    void everyWayOfClosingFinishes_data();
    void everyWayOfClosingFinishes();
    void showingAgainStartsSplitAndKeepsScales_data();
    void showingAgainStartsSplitAndKeepsScales();
    void toggleSwitchesEveryChart_data();
    void toggleSwitchesEveryChart();
    void toggleStopsAtChartWithNegativeValues_data();
    void toggleStopsAtChartWithNegativeValues();
    void readoutThroughTheChartsOwnSeries_data();
    void readoutThroughTheChartsOwnSeries();
    void readoutFitsBesideItsNeighbours_data();
    void readoutFitsBesideItsNeighbours();
    void readoutEmptiedWhenTheViewChanges_data();
    void readoutEmptiedWhenTheViewChanges();
    void legendNamesTheOverlaidFiles_data();
    void legendNamesTheOverlaidFiles();
};

namespace {

// A row for each window, named after it.
void AddWindowRows()
{
    QTest::addColumn<QString>("kind");
    for (const TWindowTexts& texts : Windows)
        QTest::newRow(texts.Kind) << QString::fromLatin1(texts.Kind);
}

// One row per window and value of a second column, named "<kind>_<value>".
void AddWindowRows(const char* column, std::initializer_list<const char*> values)
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>(column);
    for (const TWindowTexts& texts : Windows)
        for (const char* value : values)
            QTest::newRow(qPrintable(QStringLiteral("%1_%2").arg(QLatin1String(texts.Kind), QLatin1String(value))))
                << QString::fromLatin1(texts.Kind) << QString::fromLatin1(value);
}

} // namespace

// clang-format off
void TComparisonWindowTest::designAndTexts_data()
{
    AddWindowRows();
}
// clang-format on

void TComparisonWindowTest::designAndTexts()
{
    QFETCH(QString, kind);
    TWindowFixture f(kind);
    TComparisonWindow& w = f.Window;
    QVERIFY(f.ShowAll());
    QCOMPARE(w.windowTitle(), QString::fromUtf8(f.Texts.Caption));
    QCOMPARE(w.size(), QSize(632, 433));
    QVERIFY(w.isModal());
    QVERIFY(f.Dialogs.Shown.empty());
    for (int k = 0; k < w.ChartCount(); ++k) {
        TChart& chart = *w.Chart(k);
        QCOMPARE(chart.Title()->Text(), SpectrumTitle(f.Spectra[k]));
        QCOMPARE(chart.BottomAxis()->Title()->Caption(), QStringLiteral("Гц"));
        QCOMPARE(w.OwnSeries(k)->Count(), SpectrumLines);
        QCOMPARE(w.OwnSeries(k)->SeriesColor(), OwnColours[k]);
        QCOMPARE(w.OverlaySeries(k)->SeriesColor(), OverlayColours[k]);
        QCOMPARE(w.OverlaySeries(k)->ParentChart(), w.Chart(0));
    }
    QCOMPARE(w.ReadoutStrip()->LogAxisButton->text(), Logarithmic);
    QCOMPARE(w.ReadoutStrip()->XCaption->text(), QStringLiteral("X = "));
    QCOMPARE(w.ReadoutStrip()->YCaption->text(), QStringLiteral("Y = "));
    // Nothing is read out before the mouse is over a chart.
    QVERIFY(w.ReadoutStrip()->XValue->text().isEmpty());
    QVERIFY(w.ReadoutStrip()->YValue->text().isEmpty());
    QCOMPARE(w.OverlayButton()->text(), QStringLiteral("Совместить"));
    QCOMPARE(w.SplitButton()->text(), QStringLiteral("Разбить"));
    QCOMPARE(w.CloseButton()->text(), QStringLiteral("&Close"));
    QVERIFY(!w.CloseButton()->icon().isNull());
    QVERIFY(w.OverlayButton()->isVisible() && !w.SplitButton()->isVisible());

    w.OverlayButton()->click();
    QCOMPARE(w.Chart(0)->Title()->Text(), QString::fromUtf8(f.Texts.OverlayTitle) + QLatin1Char('\n'));
    QVERIFY(!w.OverlayButton()->isVisible() && w.SplitButton()->isVisible());
}

// clang-format off
void TComparisonWindowTest::layoutTable_data()
{
    QTest::addColumn<QString>("kind");
    // shown: at `size`; resized: shown, then resized; overlaid: shown, overlaid, resized;
    // split: overlaid and resized, then split; shown_again: resized, closed and shown again.
    QTest::addColumn<QString>("step");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<QRect>>("columns");
    QTest::addColumn<QList<QRect>>("charts");
    QTest::addColumn<QRect>("strip");
    const QRect hidden;

    QTest::newRow("two_design") << "two" << "shown" << QSize(632, 433) << QList<QRect>{{0, 0, 632, 360}}
                                << QList<QRect>{{1, 1, 630, 179}, {1, 180, 630, 179}} << QRect(0, 361, 632, 72);
    QTest::newRow("two_700x533") << "two" << "resized" << QSize(700, 533) << QList<QRect>{{0, 0, 700, 460}}
                                 << QList<QRect>{{1, 1, 698, 229}, {1, 230, 698, 229}} << QRect(0, 461, 700, 72);
    QTest::newRow("two_overlaid_design") << "two" << "overlaid" << QSize(632, 433) << QList<QRect>{{0, 0, 632, 360}}
                                         << QList<QRect>{{1, 1, 630, 359}, hidden} << QRect(0, 361, 632, 72);
    QTest::newRow("two_overlaid_650x500") << "two" << "overlaid" << QSize(650, 500) << QList<QRect>{{0, 0, 650, 427}}
                                          << QList<QRect>{{1, 1, 648, 426}, hidden} << QRect(0, 428, 650, 72);
    QTest::newRow("two_split_650x500") << "two" << "split" << QSize(650, 500) << QList<QRect>{{0, 0, 650, 427}}
                                       << QList<QRect>{{1, 1, 648, 212}, {1, 213, 648, 213}} << QRect(0, 428, 650, 72);

    // The three-spectrum strip stops one pixel short of the right edge.
    QTest::newRow("three_design") << "three" << "shown" << QSize(632, 433) << QList<QRect>{{0, 0, 632, 360}}
                                  << QList<QRect>{{1, 1, 630, 119}, {1, 120, 630, 120}, {1, 240, 630, 119}}
                                  << QRect(0, 361, 631, 72);
    QTest::newRow("three_700x600") << "three" << "resized" << QSize(700, 600) << QList<QRect>{{0, 0, 700, 527}}
                                   << QList<QRect>{{1, 1, 698, 174}, {1, 175, 698, 177}, {1, 352, 698, 174}}
                                   << QRect(0, 528, 699, 72);
    QTest::newRow("three_overlaid_640x450") << "three" << "overlaid" << QSize(640, 450)
                                            << QList<QRect>{{0, 0, 640, 377}}
                                            << QList<QRect>{{1, 1, 638, 376}, hidden, hidden}
                                            << QRect(0, 378, 639, 72);
    QTest::newRow("three_split_640x450") << "three" << "split" << QSize(640, 450) << QList<QRect>{{0, 0, 640, 377}}
                                         << QList<QRect>{{1, 1, 638, 124}, {1, 125, 638, 127}, {1, 252, 638, 124}}
                                         << QRect(0, 378, 639, 72);

    // Two columns of (W + 8) div 2 - 4; the right one reaches down to the strip, one pixel
    // further than the left.
    QTest::newRow("six_design") << "six" << "shown" << QSize(632, 433)
                                << QList<QRect>{{0, 0, 316, 360}, {316, 0, 316, 361}}
                                << QList<QRect>{{1, 1, 314, 119}, {1, 120, 314, 120}, {1, 240, 314, 119},
                                                {1, 1, 314, 119}, {1, 120, 314, 121}, {1, 241, 314, 119}}
                                << QRect(0, 361, 632, 72);
    QTest::newRow("six_odd_width_gap") << "six" << "resized" << QSize(633, 433)
                                       << QList<QRect>{{0, 0, 316, 360}, {317, 0, 316, 361}}
                                       << QList<QRect>{{1, 1, 314, 119}, {1, 120, 314, 120}, {1, 240, 314, 119},
                                                       {1, 1, 314, 119}, {1, 120, 314, 121}, {1, 241, 314, 119}}
                                       << QRect(0, 361, 633, 72);
    QTest::newRow("six_even_width") << "six" << "resized" << QSize(634, 433)
                                    << QList<QRect>{{0, 0, 317, 360}, {317, 0, 317, 361}}
                                    << QList<QRect>{{1, 1, 315, 119}, {1, 120, 315, 120}, {1, 240, 315, 119},
                                                    {1, 1, 315, 119}, {1, 120, 315, 121}, {1, 241, 315, 119}}
                                    << QRect(0, 361, 634, 72);
    // The common spectrum spans the whole client width, not the outer width.
    QTest::newRow("six_overlaid_design") << "six" << "overlaid" << QSize(632, 433)
                                         << QList<QRect>{{0, 0, 632, 360}, hidden}
                                         << QList<QRect>{{1, 1, 630, 359}, hidden, hidden, hidden, hidden, hidden}
                                         << QRect(0, 361, 632, 72);
    QTest::newRow("six_overlaid_800x500") << "six" << "overlaid" << QSize(800, 500)
                                          << QList<QRect>{{0, 0, 800, 427}, hidden}
                                          << QList<QRect>{{1, 1, 798, 426}, hidden, hidden, hidden, hidden, hidden}
                                          << QRect(0, 428, 800, 72);
    QTest::newRow("six_split_800x500") << "six" << "split" << QSize(800, 500)
                                       << QList<QRect>{{0, 0, 400, 427}, {400, 0, 400, 428}}
                                       << QList<QRect>{{1, 1, 398, 141}, {1, 142, 398, 143}, {1, 285, 398, 141},
                                                       {1, 1, 398, 141}, {1, 142, 398, 144}, {1, 286, 398, 141}}
                                       << QRect(0, 428, 800, 72);
    // At a height where the right column's rows are one pixel higher than the left's...
    QTest::newRow("six_resized_632x435") << "six" << "resized" << QSize(632, 435)
                                         << QList<QRect>{{0, 0, 316, 362}, {316, 0, 316, 363}}
                                         << QList<QRect>{{1, 1, 314, 119}, {1, 120, 314, 122}, {1, 242, 314, 119},
                                                         {1, 1, 314, 120}, {1, 121, 314, 121}, {1, 242, 314, 120}}
                                         << QRect(0, 363, 632, 72);
    // ...a show loads the right column's outer charts at the left column's row height.
    QTest::newRow("six_shown_again_632x435") << "six" << "shown_again" << QSize(632, 435)
                                             << QList<QRect>{{0, 0, 316, 362}, {316, 0, 316, 363}}
                                             << QList<QRect>{{1, 1, 314, 119}, {1, 120, 314, 122}, {1, 242, 314, 119},
                                                             {1, 1, 314, 119}, {1, 120, 314, 123}, {1, 243, 314, 119}}
                                             << QRect(0, 363, 632, 72);
    QTest::newRow("two_shown_again_700x533") << "two" << "shown_again" << QSize(700, 533)
                                             << QList<QRect>{{0, 0, 700, 460}}
                                             << QList<QRect>{{1, 1, 698, 229}, {1, 230, 698, 229}}
                                             << QRect(0, 461, 700, 72);
}
// clang-format on

void TComparisonWindowTest::layoutTable()
{
    QFETCH(QString, kind);
    QFETCH(QString, step);
    QFETCH(QSize, size);
    QFETCH(QList<QRect>, columns);
    QFETCH(QList<QRect>, charts);
    QFETCH(QRect, strip);
    TWindowFixture f(kind);
    TComparisonWindow& w = f.Window;
    QVERIFY(f.ShowAll());
    if (step == QLatin1String("overlaid") || step == QLatin1String("split"))
        w.OverlayButton()->click();
    f.Resize(size);
    if (step == QLatin1String("split"))
        w.SplitButton()->click();
    if (step == QLatin1String("shown_again")) {
        w.CloseButton()->click();
        QVERIFY(f.ShowAll());
        QCOMPARE(w.size(), size);
    }
    QCOMPARE(ColumnRects(w), columns);
    QCOMPARE(ChartRects(w), charts);
    QCOMPARE(w.ReadoutStrip()->geometry(), strip);
    QVERIFY(f.Dialogs.Shown.empty());
}

// clang-format off
void TComparisonWindowTest::loadsPickedFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("picked");   // files picked; those past the window's charts are never read
    QTest::addColumn<int>("shown");
    QTest::newRow("two_one") << "two" << 1 << 1;
    QTest::newRow("two_two") << "two" << 2 << 2;
    QTest::newRow("two_four") << "two" << 4 << 2;
    QTest::newRow("three_one") << "three" << 1 << 1;
    QTest::newRow("three_two") << "three" << 2 << 2;
    QTest::newRow("three_four") << "three" << 4 << 3;
    QTest::newRow("six_one") << "six" << 1 << 1;
    QTest::newRow("six_four") << "six" << 4 << 4;
    QTest::newRow("six_seven") << "six" << 7 << 6;
}
// clang-format on

void TComparisonWindowTest::loadsPickedFiles()
{
    QFETCH(QString, kind);
    QFETCH(int, picked);
    QFETCH(int, shown);
    TWindowFixture f(kind);
    TComparisonWindow& w = f.Window;
    QStringList files = f.Spectra.mid(0, shown);
    while (files.size() < picked)
        files << f.Folder.File(QStringLiteral("never-read.spm"));
    QVERIFY(f.Show(files));
    QVERIFY(f.Dialogs.Shown.empty());
    for (int k = 0; k < w.ChartCount(); ++k) {
        QVERIFY(w.Chart(k)->isVisible());
        QCOMPARE(w.OwnSeries(k)->Count(), k < shown ? SpectrumLines : 0);
        // A chart without a file shows no title.
        QCOMPARE(w.Chart(k)->Title()->Text(), k < shown ? SpectrumTitle(f.Spectra[k]) : QString());
    }

    // The overlay draws every loaded spectrum in the first chart, alone in the window.
    w.OverlayButton()->click();
    QCOMPARE(w.Chart(0)->Title()->Text(), QString::fromUtf8(f.Texts.OverlayTitle) + QLatin1Char('\n'));
    QCOMPARE(YValues(*w.OverlaySeries(0)), YValues(*w.OwnSeries(0)));
    for (int k = 1; k < w.ChartCount(); ++k) {
        QCOMPARE(YValues(*w.OverlaySeries(k)), YValues(*w.OwnSeries(k)));
        QCOMPARE(w.OverlaySeries(k)->Count(), k < shown ? SpectrumLines : 0);
        QVERIFY(!w.Chart(k)->isVisible());
    }
    for (int c = 1; c < w.ColumnCount(); ++c)
        QVERIFY(!w.Column(c)->isVisible());

    // Split: the copies go, the charts and the first title come back.
    w.SplitButton()->click();
    QCOMPARE(w.Chart(0)->Title()->Text(), SpectrumTitle(f.Spectra[0]));
    for (int k = 1; k < w.ChartCount(); ++k) {
        QCOMPARE(w.OverlaySeries(k)->Count(), 0);
        QCOMPARE(w.OwnSeries(k)->Count(), k < shown ? SpectrumLines : 0);
        QVERIFY(w.Chart(k)->isVisible());
    }
    QVERIFY(w.OverlayButton()->isVisible() && !w.SplitButton()->isVisible());

    // A second overlay copies again.
    w.OverlayButton()->click();
    QCOMPARE(w.OverlaySeries(1)->Count(), shown > 1 ? SpectrumLines : 0);
}

// clang-format off
void TComparisonWindowTest::unreadableFileStopsLoading_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("missing");   // the file that cannot be read; the files after it exist
    QTest::newRow("two_second") << "two" << 1;
    QTest::newRow("three_second") << "three" << 1;
    QTest::newRow("six_fourth") << "six" << 3;
}
// clang-format on

void TComparisonWindowTest::unreadableFileStopsLoading()
{
    QFETCH(QString, kind);
    QFETCH(int, missing);
    TWindowFixture f(kind);
    TComparisonWindow& w = f.Window;
    // The toggle's caption follows the first chart's scale, also when the loading stops.
    QVERIFY(f.ShowAll());
    w.ReadoutStrip()->LogAxisButton->click();
    w.CloseButton()->click();

    QStringList files = f.Spectra.mid(0, w.ChartCount());
    const QString missingPath = f.Folder.File(QStringLiteral("missing.spm"));
    files[missing] = missingPath;
    QVERIFY(f.Show(files));
    QVERIFY(w.isVisible());
    QCOMPARE(f.Dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(f.Dialogs.Shown.front().Text, NotFound);
    QCOMPARE(w.ReadoutStrip()->LogAxisButton->text(), Linear);
    for (int k = 0; k < w.ChartCount(); ++k) {
        QVERIFY(w.Chart(k)->isVisible());
        QCOMPARE(w.OwnSeries(k)->Count(), k < missing ? SpectrumLines : 0);
        QCOMPARE(w.Chart(k)->Title()->HasText(), k < missing);
    }

    // The overlay copies what the spectra's series hold: nothing from the missing file on,
    // and no error.
    w.OverlayButton()->click();
    for (int k = 1; k < w.ChartCount(); ++k)
        QCOMPARE(w.OverlaySeries(k)->Count(), k < missing ? SpectrumLines : 0);
    QCOMPARE(f.Dialogs.Shown.size(), std::size_t{1});

    // Even when the first file fails, the window comes up split, its first chart empty.
    w.CloseButton()->click();
    const QList<QRect> design = ChartRects(w);
    QVERIFY(f.Show({missingPath}));
    QCOMPARE(f.Dialogs.Shown.size(), std::size_t{2});
    for (int k = 0; k < w.ChartCount(); ++k)
        QVERIFY(w.Chart(k)->isVisible());
    QCOMPARE(w.Chart(0)->height(), TRowsPanel::RowHeight(w.Column(0)->height(), w.Layout().RowsPerColumn));
    QCOMPARE(w.OwnSeries(0)->Count(), 0);
    QVERIFY(!w.Chart(0)->Title()->HasText());
    QVERIFY(w.OverlayButton()->isVisible() && !w.SplitButton()->isVisible());
}

// clang-format off
void TComparisonWindowTest::readsThroughItsContext_data()
{
    AddWindowRows();
}
// clang-format on

void TComparisonWindowTest::readsThroughItsContext()
{
    QFETCH(QString, kind);
    QStringList read;
    TWindowFixture f(kind, [&read](const std::string& path) {
        read << QString::fromStdString(path);
        TSpectrum spectrum;
        spectrum.Values.fill(0.25f);
        return spectrum;
    });
    TComparisonWindow& w = f.Window;
    QStringList picked;
    for (int k = 0; k < 7; ++k)
        picked << QStringLiteral("/nowhere/file%1.spm").arg(k);
    QVERIFY(f.Show(picked));
    // Each show reads the first ChartCount() picked files once, in order, and nothing else.
    QCOMPARE(read, picked.mid(0, w.ChartCount()));
    QCOMPARE(YValues(*w.OwnSeries(w.ChartCount() - 1)), std::vector<double>(SpectrumLines, 0.25));
    w.OverlayButton()->click();
    w.SplitButton()->click();
    QCOMPARE(read.size(), w.ChartCount());
    w.CloseButton()->click();
    QVERIFY(f.Show(picked.mid(1, 1)));
    QCOMPARE(read.size(), w.ChartCount() + 1);
    QCOMPARE(read.back(), picked[1]);
}

// clang-format off
void TComparisonWindowTest::everyWayOfClosingFinishes_data()
{
    AddWindowRows("way", {"close_button", "frame", "escape"});
}
// clang-format on

void TComparisonWindowTest::everyWayOfClosingFinishes()
{
    QFETCH(QString, kind);
    QFETCH(QString, way);
    TWindowFixture f(kind);
    TComparisonWindow& w = f.Window;
    f.Picked = f.Spectra.mid(0, 2);
    QSignalSpy finished(&w, &QDialog::finished);
    bool shownModally = false;
    QTimer::singleShot(0, &w, [&] {
        shownModally = w.isVisible() && w.isModal();
        if (way == QLatin1String("close_button"))
            w.CloseButton()->click();
        else if (way == QLatin1String("frame"))
            w.close();
        else
            QTest::keyClick(&w, Qt::Key_Escape);
    });
    w.exec(); // returns when the window closes
    QVERIFY(shownModally);
    QVERIFY(!w.isVisible());
    QCOMPARE(finished.size(), 1);
    QVERIFY(f.Dialogs.Shown.empty());
}

// clang-format off
void TComparisonWindowTest::showingAgainStartsSplitAndKeepsScales_data()
{
    AddWindowRows();
}
// clang-format on

void TComparisonWindowTest::showingAgainStartsSplitAndKeepsScales()
{
    QFETCH(QString, kind);
    TWindowFixture f(kind);
    TComparisonWindow& w = f.Window;
    const int last = w.ChartCount() - 1;
    QVERIFY(f.ShowAll());
    w.move(40, 30);
    f.Resize(QSize(700, 500));
    TChart& lastChart = *w.Chart(last);
    ZoomIn(lastChart);
    const double low = lastChart.LeftAxis()->Minimum();
    w.ReadoutStrip()->LogAxisButton->click(); // every chart logarithmic, the last one unzoomed
    ZoomIn(lastChart);
    w.OverlayButton()->click();
    const QRect geometry = w.geometry();
    w.CloseButton()->click();

    // Fewer files than charts: split, with nothing left of the old overlay or the old spectra.
    QVERIFY(f.Show(f.Spectra.mid(1, last)));
    for (int k = 0; k < w.ChartCount(); ++k) {
        QVERIFY(w.Chart(k)->isVisible());
        QCOMPARE(w.OwnSeries(k)->Count(), k < last ? SpectrumLines : 0);
        if (k > 0)
            QCOMPARE(w.OverlaySeries(k)->Count(), 0);
    }
    for (int c = 0; c < w.ColumnCount(); ++c)
        QVERIFY(w.Column(c)->isVisible());
    QCOMPARE(w.Column(0)->width(), w.ColumnCount() == 1 ? 700 : 350);
    QVERIFY(w.OverlayButton()->isVisible() && !w.SplitButton()->isVisible());
    QCOMPARE(w.Chart(0)->Title()->Text(), SpectrumTitle(f.Spectra[1]));
    QCOMPARE(w.Chart(0)->height(), TRowsPanel::RowHeight(427, w.Layout().RowsPerColumn));
    // Size, place, scales and zoom as they were left.
    QCOMPARE(w.geometry(), geometry);
    for (int k = 0; k < w.ChartCount(); ++k)
        QVERIFY(w.Chart(k)->LeftAxis()->Logarithmic());
    QCOMPARE(w.ReadoutStrip()->LogAxisButton->text(), Linear);
    QVERIFY(!lastChart.LeftAxis()->Automatic());
    QVERIFY(lastChart.LeftAxis()->Minimum() != low);
}

// clang-format off
void TComparisonWindowTest::toggleSwitchesEveryChart_data()
{
    AddWindowRows();
}
// clang-format on

void TComparisonWindowTest::toggleSwitchesEveryChart()
{
    QFETCH(QString, kind);
    TWindowFixture f(kind);
    TComparisonWindow& w = f.Window;
    // One file: the other charts are empty, and hidden by the overlay.
    QVERIFY(f.Show(f.Spectra.mid(0, 1)));
    w.OverlayButton()->click();
    w.ReadoutStrip()->LogAxisButton->click();
    for (int k = 0; k < w.ChartCount(); ++k)
        QVERIFY(w.Chart(k)->LeftAxis()->Logarithmic());
    QCOMPARE(w.ReadoutStrip()->LogAxisButton->text(), Linear);
    w.ReadoutStrip()->LogAxisButton->click();
    for (int k = 0; k < w.ChartCount(); ++k)
        QVERIFY(!w.Chart(k)->LeftAxis()->Logarithmic());
    QCOMPARE(w.ReadoutStrip()->LogAxisButton->text(), Logarithmic);
    QVERIFY(f.Dialogs.Shown.empty());
}

// clang-format off
void TComparisonWindowTest::toggleStopsAtChartWithNegativeValues_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("negative");   // the chart whose spectrum has a negative value
    QTest::newRow("two_first") << "two" << 0;
    QTest::newRow("two_second") << "two" << 1;
    QTest::newRow("three_middle") << "three" << 1;
    QTest::newRow("six_fourth") << "six" << 3;
    QTest::newRow("six_last") << "six" << 5;
}
// clang-format on

void TComparisonWindowTest::toggleStopsAtChartWithNegativeValues()
{
    QFETCH(QString, kind);
    QFETCH(int, negative);
    TWindowFixture f(kind);
    TComparisonWindow& w = f.Window;
    const int last = w.ChartCount() - 1;
    TSpectrumCodes codes = PeakCodes(120);
    codes[5] = -40;
    QStringList files = f.Spectra.mid(0, w.ChartCount());
    files[negative] = f.Folder.File(QStringLiteral("negative.spm"));
    WriteSpectrum(files[negative], 0.001L, codes);
    QVERIFY(f.Show(files));
    ZoomIn(*w.Chart(last));

    w.ReadoutStrip()->LogAxisButton->click();
    QCOMPARE(f.Dialogs.Shown.size(), std::size_t{1});
    QCOMPARE(f.Dialogs.Shown.front().Text, QStringLiteral("Logarithmic Axis Min and Max values should be >= 0."));
    // The switch stops at the failing chart: the charts after it are neither switched nor
    // unzoomed; the failing one was unzoomed before it failed.
    for (int k = 0; k < w.ChartCount(); ++k)
        QCOMPARE(w.Chart(k)->LeftAxis()->Logarithmic(), k < negative);
    QCOMPARE(w.Chart(last)->LeftAxis()->Automatic(), negative == last);
    QCOMPARE(w.ReadoutStrip()->LogAxisButton->text(), negative == 0 ? Logarithmic : Linear);
}

// clang-format off
void TComparisonWindowTest::readoutThroughTheChartsOwnSeries_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("overlaid");
    for (const TWindowTexts& texts : Windows) {
        QTest::newRow(texts.Kind) << QString::fromLatin1(texts.Kind) << false;
        QTest::newRow(qPrintable(QStringLiteral("%1_overlaid").arg(QLatin1String(texts.Kind))))
            << QString::fromLatin1(texts.Kind) << true;
    }
}
// clang-format on

void TComparisonWindowTest::readoutThroughTheChartsOwnSeries()
{
    QFETCH(QString, kind);
    QFETCH(bool, overlaid);
    TWindowFixture f(kind);
    TComparisonWindow& w = f.Window;
    QVERIFY(f.ShowAll());
    if (overlaid)
        w.OverlayButton()->click();
    TChart& chart = *w.Chart(overlaid ? 0 : w.ChartCount() - 1);
    const QRect plot = chart.PlotRect();
    const QPoint at = plot.topLeft() + QPoint(plot.width() / 2, plot.height() / 4);
    if (!MoveMouse(chart, at))
        QSKIP("the platform does not move the pointer");
    // Whole hertz, and the value with seven decimals, of the point under the mouse.
    const TReadoutStrip& strip = *w.ReadoutStrip();
    QTRY_COMPARE(strip.XValue->text(), ReadoutXText(chart.BottomAxis()->PixelToValue(at.x())));
    QCOMPARE(strip.YValue->text(), ReadoutYText(chart.LeftAxis()->PixelToValue(at.y())));
    // A value grows from its left edge as the design placed it.
    QCOMPARE(strip.XValue->x(), w.Layout().Strip.XValue.x());
}

// clang-format off
void TComparisonWindowTest::readoutFitsBesideItsNeighbours_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("smallest"); // at the window's minimum size, else at the design size
    QTest::addColumn<bool>("overlaid"); // "Разбить" shown in place of "Совместить"
    for (const TWindowTexts& texts : Windows)
        for (const bool smallest : {false, true})
            for (const bool overlaid : {false, true})
                QTest::newRow(qPrintable(QLatin1String(texts.Kind) + (smallest ? "_smallest" : "_design") +
                                         (overlaid ? "_overlaid" : "")))
                    << QString::fromLatin1(texts.Kind) << smallest << overlaid;
}
// clang-format on

void TComparisonWindowTest::readoutFitsBesideItsNeighbours()
{
    QFETCH(QString, kind);
    QFETCH(bool, smallest);
    QFETCH(bool, overlaid);
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    TWindowFixture f(kind);
    TComparisonWindow& w = f.Window;
    QVERIFY(f.ShowAll());
    if (overlaid)
        w.OverlayButton()->click();
    if (smallest) {
        QVERIFY(w.minimumWidth() > 300 && w.minimumWidth() < 632);
        f.Resize(w.minimumSize());
    }
    TReadoutStrip& strip = *w.ReadoutStrip();
    // Values of the spectra and the waveform, and the widest of any kind.
    for (const auto& [x, y] : {std::pair{9975.0, 10185.1667}, std::pair{1000.0, 0.000123456789},
                               std::pair{319.98, -32768.0}, std::pair{1.2345678e12, -9.87654321e300}}) {
        strip.ShowValues(x, y);
        QCOMPARE(ReadoutFault(strip, x, y), QString());
    }
    // At the design size a large value loses only the zeros that pad its decimals.
    strip.ShowValues(9975.0, 10185.1667);
    if (!smallest)
        QCOMPARE(strip.YValue->text(), QStringLiteral("10185.1667"));
    QLocale::setDefault(saved);
}

// clang-format off
void TComparisonWindowTest::readoutEmptiedWhenTheViewChanges_data()
{
    AddWindowRows("change", {"overlay", "split", "toggle", "show_again"});
}
// clang-format on

void TComparisonWindowTest::readoutEmptiedWhenTheViewChanges()
{
    QFETCH(QString, kind);
    QFETCH(QString, change);
    TWindowFixture f(kind);
    TComparisonWindow& w = f.Window;
    QVERIFY(f.ShowAll());
    if (change == QLatin1String("split"))
        w.OverlayButton()->click();
    TReadoutStrip& strip = *w.ReadoutStrip();
    strip.ShowValues(5205.0, 0.25);
    QVERIFY(!strip.XValue->text().isEmpty() && !strip.YValue->text().isEmpty());
    if (change == QLatin1String("overlay"))
        w.OverlayButton()->click();
    else if (change == QLatin1String("split"))
        w.SplitButton()->click();
    else if (change == QLatin1String("toggle"))
        strip.LogAxisButton->click();
    else {
        w.CloseButton()->click();
        QVERIFY(f.ShowAll());
    }
    QCOMPARE(strip.XValue->text(), QString());
    QCOMPARE(strip.YValue->text(), QString());
    QVERIFY(f.Dialogs.Shown.empty());
}

// clang-format off
void TComparisonWindowTest::legendNamesTheOverlaidFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("picked");
    QTest::addColumn<int>("unreadable"); // the file that cannot be read, or -1
    QTest::addColumn<int>("entries");
    QTest::newRow("two") << "two" << 2 << -1 << 2;
    QTest::newRow("two_one_file") << "two" << 1 << -1 << 1;
    QTest::newRow("three") << "three" << 3 << -1 << 3;
    QTest::newRow("three_second_unreadable") << "three" << 3 << 1 << 1;
    QTest::newRow("six") << "six" << 6 << -1 << 6;
    QTest::newRow("six_of_four") << "six" << 4 << -1 << 4;
    QTest::newRow("six_fifth_unreadable") << "six" << 6 << 4 << 4;
}
// clang-format on

void TComparisonWindowTest::legendNamesTheOverlaidFiles()
{
    QFETCH(QString, kind);
    QFETCH(int, picked);
    QFETCH(int, unreadable);
    QFETCH(int, entries);
    TWindowFixture f(kind);
    TComparisonWindow& w = f.Window;
    QStringList files = f.Spectra.mid(0, picked);
    if (unreadable >= 0)
        files[unreadable] = f.Folder.File(QStringLiteral("missing.spm"));
    QVERIFY(f.Show(files));
    QVERIFY(w.Legend().Empty());
    w.OverlayButton()->click();

    const std::vector<TLegendEntry> legend = w.Legend().Entries();
    QCOMPARE(static_cast<int>(legend.size()), entries);
    TChart& chart = *w.Chart(0);
    const QImage image = chart.grab().toImage();
    const QFontMetrics metrics(chart.font());
    const QRect frame = w.Legend().Frame(chart.PlotRect(), metrics);
    QVERIFY(chart.PlotRect().contains(frame));
    QCOMPARE(frame.right(), chart.PlotRect().right() - TOverlayLegend::Inset);
    for (int k = 0; k < entries; ++k) {
        QCOMPARE(legend[k].Path, files[k]);
        QCOMPARE(legend[k].Colour, OverlayColours[k]);
        // The row's line is drawn in the curve's colour.
        const QRect row = w.Legend().Row(k, chart.PlotRect(), metrics);
        const QPoint line(row.left() + TOverlayLegend::LineLength / 2, row.top() + row.height() / 2);
        QCOMPARE(image.pixelColor(line), OverlayColours[k]);
        // Over the row, a tooltip names the file in full.
        QHelpEvent help(QEvent::ToolTip, row.center(), chart.mapToGlobal(row.center()));
        QCoreApplication::sendEvent(&chart, &help);
        QTRY_COMPARE(QToolTip::text(), files[k]);
    }
    // The title stays the designed one.
    QCOMPARE(chart.Title()->Text(), QString::fromUtf8(f.Texts.OverlayTitle) + QLatin1Char('\n'));

    w.SplitButton()->click();
    QVERIFY(w.Legend().Empty());
}

QTEST_MAIN(TComparisonWindowTest)
#include "ComparisonWindowTest.moc"
