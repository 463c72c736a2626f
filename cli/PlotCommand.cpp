#include "cli/PlotCommand.h"

#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "core/SpmFile.h"
#include "plot/SpectrumChart.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <array>
#include <iostream>
#include <memory>

namespace
{
constexpr int DefaultWidth = 630;
constexpr int SingleChartHeight = 360;
constexpr int StackedChartHeight = 180;
constexpr int MaxPictureSide = 10000;
constexpr int UsageStatus = 2;
constexpr int WriteFailedStatus = 1;

const char* const Usage = "usage: tulvo-cli plot FILE.spm... -o OUT.png [--log] [--overlay] [--size WxH]";

// The series colours of the comparison views, in the order of their charts.
const std::array<QColor, 6> PlotColours{QColor(255, 0, 0), QColor(0, 128, 0),  QColor(0, 0, 255),
                                        QColor(128, 0, 64), QColor(0, 0, 0),   QColor(128, 64, 0)};

struct TPlotOptions
{
  std::vector<std::string> Files;
  std::string Output;
  bool Logarithmic = false;
  bool Overlay = false;
  bool Help = false;
  int Width = 0;
  int Height = 0;
};

int UsageError(const std::string& message)
{
  std::cerr << "tulvo-cli plot: " << message << '\n' << Usage << '\n';
  return UsageStatus;
}

bool ParseSize(const std::string& text, int& width, int& height)
{
  static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
  const auto match = pattern.match(QString::fromStdString(text));
  if (!match.hasMatch()) {
    return false;
  }
  width = match.captured(1).toInt();
  height = match.captured(2).toInt();
  return width >= 1 && height >= 1 && width <= MaxPictureSide && height <= MaxPictureSide;
}

// Fills options from the words after "plot"; returns an error text or "".
std::string ParseArgs(const std::vector<std::string>& args, TPlotOptions& options)
{
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-o") {
      if (i + 1 >= args.size()) {
        return "-o needs a file name";
      }
      options.Output = args[++i];
    } else if (arg == "--log") {
      options.Logarithmic = true;
    } else if (arg == "--overlay") {
      options.Overlay = true;
    } else if (arg == "--size") {
      if (i + 1 >= args.size() || !ParseSize(args[i + 1], options.Width, options.Height)) {
        return "--size needs WxH, each from 1 to 10000 pixels";
      }
      ++i;
    } else if (arg == "--help" || arg == "-h") {
      options.Help = true;
      return {};
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "unknown option " + arg;
    } else {
      options.Files.push_back(arg);
    }
  }
  if (options.Files.empty()) {
    return "no spectrum file given";
  }
  if (options.Output.empty()) {
    return "no output file given (-o OUT.png)";
  }
  if (options.Width == 0) {
    const bool oneChart = options.Overlay || options.Files.size() == 1;
    options.Width = DefaultWidth;
    options.Height = oneChart ? SingleChartHeight
                              : std::min<int>(MaxPictureSide, StackedChartHeight * static_cast<int>(options.Files.size()));
  }
  return {};
}

QString SpectrumTitle(const std::string& path)
{
  return QStringLiteral("С П Е К Т Р  ") + QString::fromStdString(path);
}

// Builds the charts, reading every file; one chart per file unless overlaid.
std::vector<std::unique_ptr<TChart>> BuildCharts(const TPlotOptions& options)
{
  std::vector<std::unique_ptr<TChart>> charts;
  QString overlayTitle;
  for (std::size_t k = 0; k < options.Files.size(); ++k) {
    const TSpectrum spectrum = ReadSpectrum(options.Files[k]);
    if (!options.Overlay || charts.empty()) {
      charts.emplace_back(MakeChart(nullptr));
    }
    TChart& chart = *charts.back();
    PlotSpectrum(spectrum, *MakeSeries(&chart, PlotColours[k % PlotColours.size()]));
    if (options.Overlay) {
      overlayTitle += SpectrumTitle(options.Files[k]) + QLatin1Char('\n');
      chart.Title()->SetText(overlayTitle);
    } else {
      chart.Title()->SetText(SpectrumTitle(options.Files[k]));
    }
    chart.BottomAxis()->Title()->SetCaption(QStringLiteral("Гц"));
  }
  if (options.Logarithmic) {
    for (auto& chart : charts) {
      chart->LeftAxis()->SetLogarithmic(true);
    }
  }
  return charts;
}

QImage RenderCharts(std::vector<std::unique_ptr<TChart>>& charts, int width, int height)
{
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const int count = static_cast<int>(charts.size());
  int top = 0;
  for (int i = 0; i < count; ++i) {
    // The charts share the height; the last one takes what integer division leaves.
    const int chartHeight = i + 1 < count ? height / count : height - top;
    TChart& chart = *charts[static_cast<std::size_t>(i)];
    chart.resize(width, chartHeight);
    painter.save();
    painter.translate(0, top);
    chart.PaintTo(painter);
    painter.restore();
    top += chartHeight;
  }
  return image;
}

int Plot(const TPlotOptions& options)
{
  auto charts = BuildCharts(options);
  const QImage image = RenderCharts(charts, options.Width, options.Height);
  const QString output = QString::fromStdString(options.Output);
  if (!image.save(output, "PNG")) {
    std::cerr << "tulvo-cli plot: cannot write " << options.Output << '\n';
    return WriteFailedStatus;
  }
  return 0;
}
} // namespace

int RunPlotCommand(const std::vector<std::string>& args)
{
  TPlotOptions options;
  const std::string error = ParseArgs(args, options);
  if (!error.empty()) {
    return UsageError(error);
  }
  if (options.Help) {
    std::cout << Usage << "\n\n"
              << "Draws spectrum files into a PNG picture with the program's own chart: one chart per\n"
                 "file, stacked, or with --overlay all curves in one chart, in the colours of the\n"
                 "comparison windows (red, green, blue, purple, black, brown).\n"
                 "  -o OUT.png      the picture to write\n"
                 "  --log           logarithmic value axis\n"
                 "  --overlay       all spectra in one chart\n"
                 "  --size WxH      picture size in pixels (default 630x360, or 180 px per stacked chart)\n";
    return 0;
  }
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
    return Plot(options);
  }
  if (QCoreApplication::instance() != nullptr) {
    std::cerr << "tulvo-cli plot: drawing needs a GUI application\n";
    return WriteFailedStatus;
  }
  // Drawing needs a GUI application; the offscreen platform needs no display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Outside a desktop session Qt notes that it picks its own runtime folder;
  // that is no concern of someone drawing spectra, so only that note is dropped.
  static const QtMessageHandler previous = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) {
          previous(type, context, message);
        }
      });
  static int argc = 1;
  static char name[] = "tulvo-cli";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  return Plot(options);
}
