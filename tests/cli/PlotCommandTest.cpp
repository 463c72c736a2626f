// The plot command of tulvo-cli: pictures of spectrum files drawn offscreen
// by its helper's code, in-process.

#include "chart/TChart.h"
#include "cli/plot/PlotDrawing.h"
#include "core/analysis/SpmFile.h"
#include "core/files/FileHandles.h"
#include "plot/SpectrogramChart.h"
#include "plot/TSpectrumHeatmap.h"
#include "plot/Viridis.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ReferenceRecordings.h"
#include "tests/support/SpectrumFixtures.h"
#include "tests/support/TTempFolder.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {
// Writes a spectrum file of `scale` and `codes`, repeated to fill the 361 lines.
std::string WriteSpm(const QTemporaryDir& dir, const QString& name, extended scale,
                     const std::vector<std::int16_t>& codes)
{
    testsupport::TSpectrumCodes lines{};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i] = codes[i % codes.size()];
    }
    const std::string path = dir.filePath(name).toStdString();
    testsupport::WriteSpectrumFixture(path, scale, lines);
    return path;
}

// A peak whose place depends on `shift`, on a floor of small values.
std::vector<std::int16_t> PeakCodes(int shift)
{
    std::vector<std::int16_t> codes(SpectrumLines, 200);
    for (int i = -10; i <= 10; ++i) {
        codes[static_cast<std::size_t>(60 + 50 * shift + i)] = static_cast<std::int16_t>(10000 - 900 * std::abs(i));
    }
    codes[5] = 0; // a zero line, drawn at half the fill value
    return codes;
}

std::set<QRgb> Colours(const QImage& image, const QRect& area)
{
    std::set<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            colours.insert(image.pixel(x, y) | 0xff000000u);
        }
    }
    return colours;
}

// What a plot run wrote on stderr.
std::string PlotErrors;

// Runs plot over words as tulvo-plot does; its stderr goes to PlotErrors.
int RunPlotCommand(const std::vector<std::string>& words)
{
    const testsupport::TTempFolder folder;
    const std::string err = folder.File("stderr");
    TToolContext context;
    context.Err = CreateOrTruncate(err);
    const int status = RunPlotHelper(words, context);
    Platform::CloseFileQuietly(context.Err);
    const auto bytes = testsupport::ReadBytes(err);
    PlotErrors.assign(bytes.begin(), bytes.end());
    return status;
}

// Codes of 200 with 10000 at each of peakLines and `second` at line 100
// (when not 0).
std::vector<std::int16_t> LineCodes(std::initializer_list<int> peakLines, std::int16_t second = 0)
{
    std::vector<std::int16_t> codes(SpectrumLines, 200);
    if (second != 0) {
        codes[100] = second;
    }
    for (const int line : peakLines) {
        codes[static_cast<std::size_t>(line)] = 10000;
    }
    return codes;
}

// For each row of a heatmap drawn from files (logarithmic or not): the band
// line under the first of its brightest pixels (the highest viridis entry),
// taken along the middle pixel row of each row.
std::vector<int> BrightestLines(const QImage& image, const std::vector<std::string>& files, bool logarithmic = false)
{
    std::vector<QString> names;
    std::vector<TBandValues> bands;
    for (const auto& file : files) {
        names.push_back(QString::fromStdString(file));
        bands.push_back(ReadSpectrum(file).Values);
    }
    const THeatmapLayout layout = TSpectrumHeatmap(names, bands, logarithmic).Layout(image.size());
    std::map<QRgb, int> entries;
    for (int i = 0; i < 256; ++i) {
        entries[ViridisColour(i)] = i;
    }
    std::vector<int> lines;
    const int rows = static_cast<int>(files.size());
    for (int k = 0; k < rows; ++k) {
        const int y = layout.Cells.top() + (2 * k + 1) * layout.Cells.height() / (2 * rows);
        int brightest = -1;
        int line = -1;
        for (int x = layout.Cells.left(); x <= layout.Cells.right(); ++x) {
            const int entry = entries.at(image.pixel(x, y));
            if (entry > brightest) {
                brightest = entry;
                line = static_cast<int>(std::lround((layout.Frequency.PixelToValue(x) - BandStartHz) / BandStepHz));
            }
        }
        lines.push_back(line);
    }
    return lines;
}

// The top row of the first line two pixels thick and at least 16 long, in `colour`, in the
// upper right quarter of `image`, or -1: what a colour key draws and a curve does not.
int KeyLineRow(const QImage& image, QRgb colour)
{
    const auto run = [&](int x, int y) {
        int length = 0;
        while (x + length < image.width() && (image.pixel(x + length, y) | 0xff000000u) == colour &&
               (image.pixel(x + length, y + 1) | 0xff000000u) == colour)
            ++length;
        return length;
    };
    for (int y = 0; y + 1 < image.height() / 2; ++y)
        for (int x = image.width() / 2; x < image.width(); ++x)
            if (run(x, y) >= 16)
                return y;
    return -1;
}

const QRgb Red = qRgb(255, 0, 0);
const QRgb Green = qRgb(0, 128, 0);
const QRgb Blue = qRgb(0, 0, 255);
} // namespace

class PlotCommandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(FDir.isValid()); }
    void stackedChartsFillTheRequestedSize();
    void overlayShowsEveryColour();
    void logarithmicAxis();
    void negativeCodesRefuseLogarithmic();
    void unreadableFileIsNamed();
    void heatmapSizes();
    void heatmapRowsAreBrightestAtTheirPeaks();
    void heatmapSortedMostDifferentFirst();
    void framesPictureShowsTheBurst();
    void pdfWhenTheOutputEndsInPdf_data();
    void pdfWhenTheOutputEndsInPdf();
    void helpNeedsNoFiles();
    void usageErrors_data();
    void usageErrors();

private:
    QTemporaryDir FDir;
};

void PlotCommandTest::stackedChartsFillTheRequestedSize()
{
    const std::string a = WriteSpm(FDir, QStringLiteral("a.spm"), 1e-6L, PeakCodes(0));
    const std::string b = WriteSpm(FDir, QStringLiteral("b.spm"), 2e-6L, PeakCodes(2));
    const QString out = FDir.filePath(QStringLiteral("stacked.png"));
    QCOMPARE(RunPlotCommand({a, b, "-o", out.toStdString(), "--size", "500x401"}), 0);
    const QImage image(out);
    QCOMPARE(image.size(), QSize(500, 401));
    // First chart red in the upper half, second green in the lower half.
    const auto upper = Colours(image, QRect(0, 0, 500, 200));
    const auto lower = Colours(image, QRect(0, 200, 500, 201));
    QVERIFY(upper.count(Red) == 1 && upper.count(Green) == 0);
    QVERIFY(lower.count(Green) == 1 && lower.count(Red) == 0);
}

void PlotCommandTest::overlayShowsEveryColour()
{
    std::vector<std::string> args;
    for (int k = 0; k < 3; ++k) {
        args.push_back(WriteSpm(FDir, QStringLiteral("o%1.spm").arg(k), 1e-5L, PeakCodes(k)));
    }
    const QString out = FDir.filePath(QStringLiteral("overlay.png"));
    args.insert(args.end(), {"--overlay", "-o", out.toStdString()});
    QCOMPARE(RunPlotCommand(args), 0);
    const QImage image(out);
    QCOMPARE(image.size(), QSize(630, 360));
    const auto colours = Colours(image, image.rect());
    QVERIFY(colours.count(Red) == 1);
    QVERIFY(colours.count(Green) == 1);
    QVERIFY(colours.count(Blue) == 1);
    // The colour key in the upper right corner: a short thick line of each curve's colour, in
    // the files' order from the top.
    int previous = -1;
    for (const QRgb colour : {Red, Green, Blue}) {
        const int row = KeyLineRow(image, colour);
        QVERIFY2(row > previous, qPrintable(QString::number(colour, 16)));
        previous = row;
    }
}

void PlotCommandTest::logarithmicAxis()
{
    const std::string zeros = WriteSpm(FDir, QStringLiteral("zeros.spm"), 1e-3L, {0});
    const std::string peak = WriteSpm(FDir, QStringLiteral("peak.spm"), 1e-6L, PeakCodes(1));
    const QString out = FDir.filePath(QStringLiteral("log.png"));
    QCOMPARE(RunPlotCommand({"--log", zeros, peak, "-o", out.toStdString()}), 0);
    const QImage image(out);
    QCOMPARE(image.size(), QSize(630, 360));
    QVERIFY(Colours(image, image.rect()).count(Green) == 1);
}

void PlotCommandTest::negativeCodesRefuseLogarithmic()
{
    std::vector<std::int16_t> codes = PeakCodes(0);
    codes[7] = -30;
    const std::string path = WriteSpm(FDir, QStringLiteral("negative.spm"), 1e-6L, codes);
    const std::string peak = WriteSpm(FDir, QStringLiteral("positive.spm"), 1e-6L, PeakCodes(1));
    const QString out = FDir.filePath(QStringLiteral("negative.png"));
    // The refusal names the file with the negative value, also among others.
    QCOMPARE(RunPlotCommand({peak, path, "--log", "--overlay", "-o", out.toStdString()}), 1);
    QCOMPARE(PlotErrors, "tulvo-cli: " + path + ": Logarithmic Axis Min and Max values should be >= 0\n");
    QVERIFY(!QFile::exists(out));
    // Linear, the same file plots.
    QCOMPARE(RunPlotCommand({path, "-o", out.toStdString()}), 0);
}

void PlotCommandTest::unreadableFileIsNamed()
{
    const QString out = FDir.filePath(QStringLiteral("missing.png"));
    const std::string missing = FDir.filePath(QStringLiteral("missing.spm")).toStdString();
    QCOMPARE(RunPlotCommand({missing, "-o", out.toStdString()}), 1);
    QCOMPARE(PlotErrors, "tulvo-cli: " + missing + ": File not found\n");
    QVERIFY(!QFile::exists(out));
}

void PlotCommandTest::heatmapSizes()
{
    std::vector<std::string> files;
    for (int k = 0; k < 3; ++k) {
        files.push_back(WriteSpm(FDir, QStringLiteral("s%1.spm").arg(k), 1e-6L, LineCodes({40 * k})));
    }
    const QString out = FDir.filePath(QStringLiteral("sizes.png"));
    std::vector<std::string> args = files;
    args.insert(args.end(), {"--heatmap", "-o", out.toStdString()});
    QCOMPARE(RunPlotCommand(args), 0);
    // By default rows of 16 pixels, but cells at least 240 high; rows that
    // high have their names beside them.
    QImage image(out);
    QCOMPARE(image.width(), 630);
    THeatmapLayout layout = TSpectrumHeatmap({"a", "b", "c"}, std::vector<TBandValues>(3), false).Layout(image.size());
    QCOMPARE(layout.Cells.height(), 240);
    QVERIFY(!layout.Names.isEmpty());

    args.insert(args.end(), {"--size", "500x201"});
    QCOMPARE(RunPlotCommand(args), 0);
    QCOMPARE(QImage(out).size(), QSize(500, 201));

    // 600 rows: one pixel each, too low for names.
    std::vector<std::string> names(600, "n.spm");
    std::vector<TSpectrum> spectra(600);
    image = DrawHeatmap(names, spectra, TPlotArguments{});
    layout = TSpectrumHeatmap(std::vector<QString>(600), std::vector<TBandValues>(600), false).Layout(image.size());
    QCOMPARE(image.width(), 630);
    QCOMPARE(layout.Cells.height(), 600);
    QVERIFY(layout.Names.isEmpty());
}

void PlotCommandTest::heatmapRowsAreBrightestAtTheirPeaks()
{
    // Peaks on neighbouring lines (150, 151) must stay apart; the last file's
    // values are a tenth of the others' (the scale is shared, its peak is still
    // its row's brightest).
    const std::vector<std::string> files = {WriteSpm(FDir, QStringLiteral("p30.spm"), 1e-6L, LineCodes({30})),
                                            WriteSpm(FDir, QStringLiteral("p150.spm"), 1e-6L, LineCodes({150})),
                                            WriteSpm(FDir, QStringLiteral("p151.spm"), 1e-6L, LineCodes({151})),
                                            WriteSpm(FDir, QStringLiteral("p360.spm"), 1e-7L, LineCodes({360}))};
    for (const bool logarithmic : {false, true}) {
        const QString out = FDir.filePath(QStringLiteral("peaks.png"));
        std::vector<std::string> args = files;
        args.insert(args.end(), {"--heatmap", "-o", out.toStdString(), "--size", "800x300"});
        if (logarithmic) {
            args.push_back("--log");
        }
        QCOMPARE(RunPlotCommand(args), 0);
        QCOMPARE(BrightestLines(QImage(out), files, logarithmic), (std::vector<int>{30, 150, 151, 360}));
    }
}

void PlotCommandTest::heatmapSortedMostDifferentFirst()
{
    // Against the reference (line 100 high): b moves the peak to line 250
    // (distance sqrt(2 * 16.99^2 / 361) = 1.26 dB), a adds one at line 30 and
    // halves line 100 (0.91 dB), c is the reference itself (0 dB).
    const std::string reference = WriteSpm(FDir, QStringLiteral("ref.spm"), 1e-6L, LineCodes({100}));
    const std::string a = WriteSpm(FDir, QStringLiteral("a.spm"), 1e-6L, LineCodes({30}, 5000));
    const std::string b = WriteSpm(FDir, QStringLiteral("b.spm"), 1e-6L, LineCodes({250}));
    const std::string c = WriteSpm(FDir, QStringLiteral("c.spm"), 1e-6L, LineCodes({100}));
    const QString out = FDir.filePath(QStringLiteral("sorted.png"));
    QCOMPARE(RunPlotCommand({"--heatmap", a, c, b, "--sort", "distance", "--reference", reference, "-o",
                             out.toStdString(), "--size", "800x300"}),
             0);
    QCOMPARE(BrightestLines(QImage(out), {b, a, c}), (std::vector<int>{250, 30, 100}));

    // An unreadable reference draws nothing.
    const std::string missing = FDir.filePath(QStringLiteral("nothing.spm")).toStdString();
    const QString none = FDir.filePath(QStringLiteral("none.png"));
    QCOMPARE(RunPlotCommand({"--heatmap", a, "--sort=distance", "--reference", missing, "-o", none.toStdString()}), 1);
    QCOMPARE(PlotErrors, "tulvo-cli: " + missing + ": File not found\n");
    QVERIFY(!QFile::exists(none));
}

void PlotCommandTest::framesPictureShowsTheBurst()
{
    const std::string burst = FDir.filePath(QStringLiteral("burst.wav")).toStdString();
    testsupport::WriteRecording(burst, testsupport::BurstInNoiseSamples());
    const QString out = FDir.filePath(QStringLiteral("frames.png"));
    QCOMPARE(RunPlotCommand({"--frames", burst, "-o", out.toStdString()}), 0);
    QCOMPARE(PlotErrors, std::string());
    const QImage image(out);
    QCOMPARE(image.size(), QSize(630, 420));

    // The charts as the picture lays them out: the waveform (red) in the upper third, the
    // spectrogram below, their time axes on the same pixel columns.
    const TFramedRecording framed = AnalyseFramedRecording(burst);
    const std::unique_ptr<TChart> waveform(MakeWaveformChart(nullptr, framed.Recording, {}));
    const std::unique_ptr<TChart> spectrogram(MakeSpectrogramChart(nullptr, framed.Frames, {}));
    waveform->resize(630, 140);
    spectrogram->resize(630, 280);
    const std::array<TChart*, 2> charts{waveform.get(), spectrogram.get()};
    AlignPlotAreas(charts);
    const TAxisMap time = spectrogram->BottomAxis()->Map();
    QCOMPARE(waveform->BottomAxis()->Map().Start, time.Start);
    QCOMPARE(waveform->BottomAxis()->Map().End, time.End);
    QVERIFY(Colours(image, QRect(0, 0, 630, 140)).count(Red) == 1);

    // Every pixel in the top colour lies at the burst: the frame from 180 ms, drawn from 190
    // to 210 ms, at 6000 Hz.
    const QRect plot = spectrogram->PlotRect().translated(0, 140);
    int brightest = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y) {
        for (int x = plot.left(); x <= plot.right(); ++x) {
            if ((image.pixel(x, y) | 0xff000000u) == ViridisColour(255)) {
                ++brightest;
                const double ms = time.PixelToValue(x);
                const double hz = spectrogram->LeftAxis()->PixelToValue(y - 140);
                QVERIFY2(ms >= 189 && ms <= 211 && std::abs(hz - 6000) <= 100,
                         qPrintable(QStringLiteral("%1 ms, %2 Hz").arg(ms).arg(hz)));
            }
        }
    }
    QVERIFY(brightest > 0);
    // The colour bar right of the plot area runs through the map from its top to its bottom.
    const QRect bar = spectrogram->ColourBar()->BarRect().translated(0, 140);
    QVERIFY(bar.left() > plot.right());
    QCOMPARE(image.pixel(bar.center().x(), bar.top()) | 0xff000000u, ViridisColour(255));
    QCOMPARE(image.pixel(bar.center().x(), bar.bottom()) | 0xff000000u, ViridisColour(0));
}

void PlotCommandTest::pdfWhenTheOutputEndsInPdf_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("raster"); // the heatmap's cells are one image; the charts are all lines
    QTest::newRow("stacked") << QString() << false;
    QTest::newRow("heatmap") << QStringLiteral("--heatmap") << true;
}

// The same painting as vectors: a PDF page of the picture's size (whole points, 3/4 of a
// pixel each) whatever the name's case, its text in an embedded font.
void PlotCommandTest::pdfWhenTheOutputEndsInPdf()
{
    QFETCH(QString, option);
    QFETCH(bool, raster);
    std::vector<std::string> args{WriteSpm(FDir, QStringLiteral("p1.spm"), 1e-6L, PeakCodes(0)),
                                  WriteSpm(FDir, QStringLiteral("p2.spm"), 1e-6L, PeakCodes(1))};
    const QString out = FDir.filePath(QStringLiteral("picture-%1.PDF").arg(QTest::currentDataTag()));
    args.insert(args.end(), {"-o", out.toStdString(), "--size", "400x300"});
    if (!option.isEmpty()) {
        args.push_back(option.toStdString());
    }
    QCOMPARE(RunPlotCommand(args), 0);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(pdf.contains("/MediaBox [0 0 300.000000 225.000000]"));
    QVERIFY(pdf.contains("/FontFile2"));
    QCOMPARE(pdf.contains("/Subtype /Image"), raster);
}

void PlotCommandTest::helpNeedsNoFiles()
{
    QCOMPARE(RunPlotCommand({"--help"}), 0);
    QCOMPARE(RunPlotCommand({"a.spm", "-h"}), 0);
    QCOMPARE(PlotErrors, std::string());
}

// clang-format off
void PlotCommandTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("no_output") << QStringList{"a.spm"};
    QTest::newRow("no_file") << QStringList{"-o", "x.png"};
    QTest::newRow("o_without_name") << QStringList{"a.spm", "-o"};
    QTest::newRow("bad_size") << QStringList{"a.spm", "-o", "x.png", "--size", "640-480"};
    QTest::newRow("zero_size") << QStringList{"a.spm", "-o", "x.png", "--size", "0x480"};
    QTest::newRow("huge_size") << QStringList{"a.spm", "-o", "x.png", "--size", "20000x480"};
    QTest::newRow("unknown_option") << QStringList{"a.spm", "-o", "x.png", "--colour"};
    QTest::newRow("heatmap_overlay") << QStringList{"--heatmap", "--overlay", "a.spm", "-o", "x.png"};
    QTest::newRow("sort_without_reference") << QStringList{"--heatmap", "--sort", "distance", "a.spm", "-o", "x.png"};
    QTest::newRow("frames_two_recordings") << QStringList{"--frames", "a.wav", "b.wav", "-o", "x.png"};
    QTest::newRow("frames_spectrum_file") << QStringList{"--frames", "a.spm", "-o", "x.png"};
    QTest::newRow("frames_standard_input") << QStringList{"--frames", "-", "-o", "x.png"};
    QTest::newRow("frames_heatmap") << QStringList{"--frames", "--heatmap", "a.wav", "-o", "x.png"};
    QTest::newRow("frames_log") << QStringList{"--frames", "--log", "a.wav", "-o", "x.png"};
}
// clang-format on

void PlotCommandTest::usageErrors()
{
    QFETCH(QStringList, args);
    std::vector<std::string> words;
    for (const QString& arg : args) {
        words.push_back(arg.toStdString());
    }
    QCOMPARE(RunPlotCommand(words), 2);
    QVERIFY(PlotErrors.find("Try 'tulvo-cli plot --help'") != std::string::npos);
    QVERIFY(!QFile::exists(QStringLiteral("x.png")));
}

QTEST_MAIN(PlotCommandTest)
#include "PlotCommandTest.moc"
