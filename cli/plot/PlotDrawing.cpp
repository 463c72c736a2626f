#include "cli/plot/PlotDrawing.h"

#include "cli/CommandLine.h"
#include "cli/CompareCommand.h"
#include "cli/ExitStatus.h"
#include "cli/RecordingOperands.h"
#include "cli/SpectrumOperands.h"
#include "cli/TOutputStream.h"
#include "cli/ToolMessages.h"
#include "core/files/FileReplacement.h"

#include "chart/EChartError.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "plot/ChartPicture.h"
#include "plot/SpectrogramChart.h"
#include "plot/SpectrumChart.h"
#include "plot/TOverlayLegend.h"
#include "plot/TSpectrumHeatmap.h"

#include <QApplication>
#include <QBuffer>
#include <QPainter>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

namespace {

constexpr int DefaultWidth = 630;
constexpr int SingleChartHeight = 360;
constexpr int StackedChartHeight = 180;
constexpr int FramesHeight = 420;

// The series colours of the comparison views, in the order of their charts.
const std::array<QColor, 6> PlotColours{QColor(255, 0, 0),  QColor(0, 128, 0), QColor(0, 0, 255),
                                        QColor(128, 0, 64), QColor(0, 0, 0),   QColor(128, 64, 0)};

// The title of an overlay, whose files the colour key names.
const QString OverlayTitle = QStringLiteral("О Б Щ И Й   С П Е К Т Р");

QString SpectrumTitle(const std::string& name)
{
    return QStringLiteral("С П Е К Т Р  ") + QString::fromStdString(name);
}

// One chart per file unless overlaid; the overlay names its files in a colour key.
std::vector<std::unique_ptr<TChart>> BuildCharts(const std::vector<std::string>& names,
                                                 const std::vector<TSpectrum>& spectra, bool overlay)
{
    std::vector<std::unique_ptr<TChart>> charts;
    std::vector<TLegendEntry> legend;
    for (std::size_t k = 0; k < spectra.size(); ++k) {
        if (!overlay || charts.empty()) {
            charts.emplace_back(MakeChart(nullptr));
        }
        TChart& chart = *charts.back();
        const QColor colour = PlotColours[k % PlotColours.size()];
        PlotSpectrum(spectra[k], *MakeSeries(&chart, colour));
        if (overlay) {
            legend.push_back({colour, QString::fromStdString(names[k])});
        } else {
            chart.Title()->SetText(SpectrumTitle(names[k]));
        }
        chart.BottomAxis()->Title()->SetCaption(QStringLiteral("Гц"));
    }
    if (overlay && !charts.empty()) {
        charts.front()->Title()->SetText(OverlayTitle);
        ShowLegend(*charts.front(), TOverlayLegend(std::move(legend)));
    }
    return charts;
}

// The charts from top to bottom, each at its own size.
void PaintCharts(QPainter& painter, const std::vector<std::unique_ptr<TChart>>& charts)
{
    int top = 0;
    for (const auto& chart : charts) {
        painter.save();
        painter.translate(0, top);
        chart->PaintTo(painter);
        painter.restore();
        top += chart->height();
    }
}

// The charts from top to bottom, each at its own size, on white.
QImage PaintStacked(const std::vector<std::unique_ptr<TChart>>& charts, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintCharts(painter, charts);
    return image;
}

// The charts share the height, from the top; the last one takes what integer division leaves.
void StackCharts(std::vector<std::unique_ptr<TChart>>& charts, int width, int height)
{
    const int count = static_cast<int>(charts.size());
    int top = 0;
    for (int i = 0; i < count; ++i) {
        const int chartHeight = i + 1 < count ? height / count : height - top;
        charts[static_cast<std::size_t>(i)]->resize(width, chartHeight);
        top += chartHeight;
    }
}

// What plot draws, sized and ready to paint: charts from top to bottom, or a heatmap.
struct TPlotPicture {
    QSize Size;
    std::vector<std::unique_ptr<TChart>> Charts;
    std::optional<TSpectrumHeatmap> Heatmap;

    // Paints the picture from the painter's origin, on white.
    void Paint(QPainter& painter) const
    {
        if (Heatmap) {
            Heatmap->Paint(painter, Size);
            return;
        }
        painter.fillRect(QRect(QPoint(0, 0), Size), Qt::white);
        PaintCharts(painter, Charts);
    }
};

TPlotPicture SpectraPicture(const std::vector<std::string>& names, const std::vector<TSpectrum>& spectra,
                            const TPlotArguments& arguments)
{
    int width = arguments.Width;
    int height = arguments.Height;
    if (width == 0) {
        const bool oneChart = arguments.Overlay || spectra.size() == 1;
        width = DefaultWidth;
        height = oneChart ? SingleChartHeight
                          : std::min<int>(MaxPictureSide, StackedChartHeight * static_cast<int>(spectra.size()));
    }
    TPlotPicture picture{QSize(width, height), BuildCharts(names, spectra, arguments.Overlay), std::nullopt};
    if (arguments.Logarithmic) {
        for (auto& chart : picture.Charts) {
            chart->LeftAxis()->SetLogarithmic(true);
        }
    }
    StackCharts(picture.Charts, width, height);
    return picture;
}

TPlotPicture HeatmapPicture(const std::vector<std::string>& names, const std::vector<TSpectrum>& spectra,
                            const TPlotArguments& arguments)
{
    std::vector<QString> rowNames;
    std::vector<TBandValues> bands;
    for (std::size_t k = 0; k < spectra.size(); ++k) {
        rowNames.push_back(QString::fromStdString(names[k]));
        bands.push_back(spectra[k].Values);
    }
    const QSize size = arguments.Width != 0
                           ? QSize(arguments.Width, arguments.Height)
                           : TSpectrumHeatmap::DefaultSize(static_cast<int>(spectra.size()), MaxPictureSide);
    return {size, {}, TSpectrumHeatmap(std::move(rowNames), std::move(bands), arguments.Logarithmic)};
}

TPlotPicture FramesPicture(const std::string& name, const TFramedRecording& recording, const TPlotArguments& arguments)
{
    const int width = arguments.Width != 0 ? arguments.Width : DefaultWidth;
    const int height = arguments.Width != 0 ? arguments.Height : FramesHeight;
    const QString title = QString::fromStdString(name);
    TPlotPicture picture{QSize(width, height), {}, std::nullopt};
    picture.Charts.emplace_back(MakeWaveformChart(nullptr, recording.Recording, title));
    picture.Charts.emplace_back(MakeSpectrogramChart(nullptr, recording.Frames, title));
    LayOutTimeCharts(*picture.Charts[0], *picture.Charts[1], picture.Size);
    return picture;
}

QByteArray EncodePng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The file a refused logarithmic axis is about: the first with a negative value.
std::optional<std::size_t> FirstWithNegativeValue(const std::vector<TSpectrum>& spectra)
{
    for (std::size_t k = 0; k < spectra.size(); ++k) {
        const auto& values = spectra[k].Values;
        if (std::any_of(values.begin(), values.end(), [](single v) { return v < 0; })) {
            return k;
        }
    }
    return std::nullopt;
}

// Orders names and spectra most different from reference first by key, as
// compare --sort does.
void SortMostDifferentFirst(std::vector<std::string>& names, std::vector<TSpectrum>& spectra,
                            const TBandLevels& reference, TCompareSort key)
{
    std::vector<double> ranks;
    for (const TSpectrum& spectrum : spectra) {
        ranks.push_back(DifferenceRank(CompareBand(spectrum.Values, reference), key));
    }
    std::vector<std::string> sortedNames;
    std::vector<TSpectrum> sortedSpectra;
    for (const std::size_t k : MostDifferentFirst(ranks)) {
        sortedNames.push_back(std::move(names[k]));
        sortedSpectra.push_back(spectra[k]);
    }
    names = std::move(sortedNames);
    spectra = std::move(sortedSpectra);
}

} // namespace

std::unique_ptr<QApplication> MakeApplicationIfNone()
{
    if (QCoreApplication::instance() != nullptr) {
        return nullptr;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own messages (a plugin it cannot load, say) on standard error as the helper's, also
    // where Qt would send them to the debugger instead (Windows without a console).
    qputenv("QT_FORCE_STDERR_LOGGING", "1");
    // Outside a desktop session Qt notes that it picks its own runtime folder, and on Windows that
    // the offscreen platform finds no font folder (the helper draws with the fonts it carries);
    // neither is a concern of someone drawing spectra, so only those notes are dropped.
    static const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) &&
                !message.startsWith(QLatin1String("QFontDatabase: Cannot find font directory"))) {
                previous(type, context, message);
            }
        });
    static int argc = 1;
    static char name[] = "tulvo-plot";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

QImage DrawSpectra(const std::vector<std::string>& names, const std::vector<TSpectrum>& spectra,
                   const TPlotArguments& arguments)
{
    const TPlotPicture picture = SpectraPicture(names, spectra, arguments);
    return PaintStacked(picture.Charts, picture.Size.width(), picture.Size.height());
}

QImage DrawHeatmap(const std::vector<std::string>& names, const std::vector<TSpectrum>& spectra,
                   const TPlotArguments& arguments)
{
    const TPlotPicture picture = HeatmapPicture(names, spectra, arguments);
    return picture.Heatmap->Draw(picture.Size);
}

QImage DrawFrames(const std::string& name, const TFramedRecording& recording, const TPlotArguments& arguments)
{
    const TPlotPicture picture = FramesPicture(name, recording, arguments);
    return PaintStacked(picture.Charts, picture.Size.width(), picture.Size.height());
}

namespace {

// An output whose name ends in ".pdf" (in any case) is written as PDF.
bool IsPdfOutput(const std::string& output)
{
    constexpr std::string_view suffix = ".pdf";
    return output.size() > suffix.size() &&
           std::equal(
               suffix.begin(), suffix.end(), output.end() - static_cast<std::ptrdiff_t>(suffix.size()),
               [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b); });
}

QByteArray DrawPdf(const std::vector<std::string>& names, const std::vector<TSpectrum>& spectra,
                   const TFramedRecording* recording, const TPlotArguments& arguments)
{
    const TPlotPicture picture = recording           ? FramesPicture(names.front(), *recording, arguments)
                                 : arguments.Heatmap ? HeatmapPicture(names, spectra, arguments)
                                                     : SpectraPicture(names, spectra, arguments);
    const QString title = QString::fromStdString(names.front()) + (names.size() > 1 ? QStringLiteral(" …") : QString());
    return PdfDocument(picture.Size, title, [&picture](QPainter& painter) { picture.Paint(painter); });
}

// Reads the files to draw: plot --frames's recording into recording, or else the spectrum
// files into names and spectra in the order they are drawn. Reports a file that cannot be read
// and returns false.
bool ReadPlotFiles(const std::vector<std::string>& files, const TPlotArguments& arguments, TToolContext& context,
                   std::optional<TFramedRecording>& recording, std::vector<std::string>& names,
                   std::vector<TSpectrum>& spectra)
{
    for (const auto& file : files) {
        const std::string name = file == "-" ? StandardInputName : file;
        try {
            if (arguments.Frames) {
                recording = ReadFramedOperand(file, context);
            } else {
                spectra.push_back(ReadSpectrumOperand(file, context));
            }
        } catch (const EInOutError& e) {
            WriteToErr(context, ErrorLine(name, e));
            return false;
        } catch (const EMathError& e) {
            WriteToErr(context, arguments.Frames ? AnalysisErrorLine(name, e) : ErrorLine(name, e.what()));
            return false;
        }
        names.push_back(name);
    }
    if (arguments.Sort) {
        const auto reference = ReadReference(arguments.References, context);
        if (!reference) {
            return false;
        }
        SortMostDifferentFirst(names, spectra, *reference, *arguments.Sort);
    }
    return true;
}

} // namespace

int WriteToolOutput(std::string_view bytes, const std::string& output, TToolContext& context)
{
    try {
        if (output == "-") {
            TOutputStream out(context.Out, "standard output");
            out.WriteWhole(bytes);
        } else {
            ReplaceFile(output, bytes);
        }
    } catch (const EInOutError& e) {
        WriteToErr(context, ErrorLine(output, e));
        return ExitFailure;
    }
    return ExitOk;
}

int RunPlotDrawing(const TPlotArguments& arguments, TToolContext& context)
{
    const std::vector<std::string> files = PlotFiles(arguments, context);
    std::optional<TFramedRecording> recording;
    std::vector<std::string> names;
    std::vector<TSpectrum> spectra;
    if (!ReadPlotFiles(files, arguments, context, recording, names, spectra)) {
        return ExitFailure;
    }

    const auto application = MakeApplicationIfNone();
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        WriteToErr(context, std::string(ToolName) + ": drawing needs a GUI application\n");
        return ExitFailure;
    }
    QByteArray bytes;
    try {
        if (IsPdfOutput(arguments.Output)) {
            bytes = DrawPdf(names, spectra, recording ? &*recording : nullptr, arguments);
        } else {
            bytes = EncodePng(recording           ? DrawFrames(names.front(), *recording, arguments)
                              : arguments.Heatmap ? DrawHeatmap(names, spectra, arguments)
                                                  : DrawSpectra(names, spectra, arguments));
        }
    } catch (const EChartError& e) {
        const auto refused = FirstWithNegativeValue(spectra);
        WriteToErr(context, ErrorLine(refused ? names[*refused] : arguments.Output, e.what()));
        return ExitFailure;
    }
    return WriteToolOutput(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                           arguments.Output, context);
}

int RunPlotHelper(const std::vector<std::string>& words, TToolContext& context)
{
    TCommand drawing = *FindCommand("plot");
    drawing.Setup = SetupCommand<TPlotArguments, DeclarePlotOptions, RunPlotDrawing>;
    return RunCommand(drawing, words, context);
}
