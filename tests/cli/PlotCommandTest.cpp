// The plot command of tulvo-cli: pictures of spectrum files drawn offscreen
// by its helper's code, in-process.

#include "cli/plot/PlotDrawing.h"
#include "core/SpmFile.h"
#include "tests/support/FileBytes.h"
#include "tests/support/SpectrumFixtures.h"
#include "tests/support/TTempFolder.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
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
  context.Err = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int status = RunPlotHelper(words, context);
  ::close(context.Err);
  const auto bytes = testsupport::ReadBytes(err);
  PlotErrors.assign(bytes.begin(), bytes.end());
  return status;
}

const QRgb Red = qRgb(255, 0, 0);
const QRgb Green = qRgb(0, 128, 0);
const QRgb Blue = qRgb(0, 0, 255);
} // namespace

class PlotCommandTest : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase() { QVERIFY(FDir.isValid()); }
  void stackedChartsFillTheRequestedSize();
  void overlayShowsEveryColour();
  void logarithmicAxis();
  void negativeCodesRefuseLogarithmic();
  void unreadableFileIsNamed();
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

void PlotCommandTest::helpNeedsNoFiles()
{
  QCOMPARE(RunPlotCommand({"--help"}), 0);
  QCOMPARE(RunPlotCommand({"a.spm", "-h"}), 0);
  QCOMPARE(PlotErrors, std::string());
}

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
}

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
