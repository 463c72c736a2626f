// The spectrogram view of the main window: its charts zoomed and panned together, the read-out of
// three values, and the picture and table it keeps.
#include "tests/support/MouseGestures.h"
#include "tests/support/ReferenceRecordings.h"
#include "tests/support/TProgram.h"
#include "tests/support/WidgetFixtures.h"

#include "chart/TChart.h"
#include "core/analysis/TRecordingFrames.h"
#include "plot/SpectrogramChart.h"
#include "plot/Viridis.h"
#include "ui/LocalPath.h"
#include "ui/ReadoutFormat.h"
#include "ui/TReadoutStrip.h"
#include "views/TChartCommands.h"
#include "views/TSpectrogramView.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QProcess>
#include <QTest>

#include <cmath>

using namespace testsupport;

namespace {

// The main window showing the spectrogram view of a recording with a 6000 Hz burst at 200 ms.
struct TShownSpectrogram : TProgram {
    TShownSpectrogram()
    {
        WriteWave(Path, BurstInNoiseSamples());
        Dialogs.Pick({Path});
        Main.SpectrogramAction->trigger();
    }
    TChart& Chart(bool waveform) const
    {
        return waveform ? *Main.Spectrogram->WaveformChart() : *Main.Spectrogram->SpectrogramChart();
    }

    TFixtureFolder Folder;
    QString Path = Folder.File(QStringLiteral("burst.wav"));
};

} // namespace

class TSpectrogramViewTest : public QObject {
    Q_OBJECT

private slots:
    void coupledZoomAndPan_data();
    void coupledZoomAndPan();
    void readoutAtKnownPixels_data();
    void readoutAtKnownPixels();
    void pictureShowsTheBurstAndTableIsShowFrames();
};

// clang-format off
void TSpectrogramViewTest::coupledZoomAndPan_data()
{
    QTest::addColumn<bool>("onWaveform"); // the chart dragged on: the waveform's or the spectrogram's
    QTest::addColumn<QString>("gesture"); // zoom, pan, or the drag that undoes a zoom of the other chart
    for (const bool onWaveform : {true, false})
        for (const char* gesture : {"zoom", "pan", "undo"})
            QTest::addRow("%s_%s", onWaveform ? "waveform" : "spectrogram", gesture) << onWaveform << gesture;
}
// clang-format on

void TSpectrogramViewTest::coupledZoomAndPan()
{
    QFETCH(bool, onWaveform);
    QFETCH(QString, gesture);
    const TShownSpectrogram shown;
    TChart& dragged = shown.Chart(onWaveform);
    TChart& other = shown.Chart(!onWaveform);
    const double otherSpan = other.LeftAxis()->WorkingRange();
    const QRect plot = dragged.PlotRect();
    const QPoint from = plot.topLeft() + QPoint(plot.width() / 4, plot.height() / 4);
    const QPoint to = plot.topLeft() + QPoint(plot.width() * 3 / 4, plot.height() * 3 / 4);
    // Both charts' times afterwards: the dragged pixels mapped back, the span moved by the drag, or
    // the whole span again.
    double lo = dragged.BottomAxis()->PixelToValue(from.x());
    double hi = dragged.BottomAxis()->PixelToValue(to.x());
    if (gesture == QLatin1String("zoom")) {
        Drag(dragged, from, to);
    } else if (gesture == QLatin1String("pan")) {
        Drag(dragged, from, to, Qt::RightButton);
        hi = RecordingSpanMs + lo - hi;
        lo = hi - RecordingSpanMs;
    } else {
        ZoomIn(other);
        Drag(dragged, to, from);
        lo = 0;
        hi = RecordingSpanMs;
    }
    for (TChart* linked : {&dragged, &other}) {
        QCOMPARE(linked->BottomAxis()->WorkingMinimum(), lo);
        QCOMPARE(linked->BottomAxis()->WorkingMaximum(), hi);
        QCOMPARE(linked->Zoomed(), gesture == QLatin1String("zoom"));
        QCOMPARE(linked->BottomAxis()->Map().Start, dragged.BottomAxis()->Map().Start);
    }
    // The other chart's values keep their span.
    QCOMPARE(other.LeftAxis()->WorkingRange(), otherSpan);
}

// clang-format off
void TSpectrogramViewTest::readoutAtKnownPixels_data()
{
    QTest::addColumn<bool>("onWaveform");
    QTest::addColumn<double>("ms");
    QTest::addColumn<double>("value"); // Hz, or the waveform's counts
    QTest::addColumn<bool>("level");   // over a frame, whose level is read out
    QTest::addColumn<bool>("narrow");  // the window at its smallest width
    QTest::newRow("burst") << false << 200.0 << 6000.0 << true << false;
    QTest::newRow("steady_narrow") << false << 61.0 << 2000.0 << true << true;
    QTest::newRow("before_the_first_frame") << false << 5.0 << 5000.0 << false << false;
    QTest::newRow("waveform") << true << 100.0 << 0.0 << false << false;
}
// clang-format on

// Over the spectrogram: time, frequency and the level in dB of the frame drawn there (frame k
// from 20 k + 10 to 20 k + 30 ms, line i around 1000 + 25 i Hz); over the waveform time and value.
void TSpectrogramViewTest::readoutAtKnownPixels()
{
    QFETCH(bool, onWaveform);
    QFETCH(double, ms);
    QFETCH(double, value);
    QFETCH(bool, level);
    QFETCH(bool, narrow);
    TShownSpectrogram shown;
    const TReadoutStrip& strip = *shown.Main.ReadoutStrip;
    if (narrow) {
        shown.Main.resize(1, shown.Main.height());
        QTRY_COMPARE(strip.width(), strip.minimumWidth());
    }
    TChart& chart = shown.Chart(onWaveform);
    const QPoint at(chart.BottomAxis()->ValueToPixel(ms), chart.LeftAxis()->ValueToPixel(value));
    QMouseEvent move(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    const double x = chart.BottomAxis()->PixelToValue(at.x());
    const double y = chart.LeftAxis()->PixelToValue(at.y());
    const TRecordingFrames frames = AnalyseFramedRecording(LocalPath(shown.Path)).Frames;
    const auto cell = [](double v) { return static_cast<std::size_t>(std::floor(v)); };
    const QString db =
        level ? ReadoutZForms(LevelDb(frames.Values.at(cell((x - 10) / 20)).at(cell((y - 1000) / 25 + 0.5)))).first()
              : QString();
    QCOMPARE(QStringList({strip.XValue->text(), strip.YValue->text(), strip.ZValue->text()}),
             QStringList({ReadoutXText(x), onWaveform ? ReadoutYText(y) : ReadoutXText(y), db}));
    // Each value ends before the next caption, or the strip's edge, also in the narrowest window.
    QVERIFY(strip.XValue->geometry().right() < strip.YCaption->x() &&
            strip.YValue->geometry().right() < strip.ZCaption->x() && strip.ZValue->geometry().right() < strip.width());
}

// The picture of Ctrl+S holds both charts at the view's size, the brightest colour only at the
// burst; "Сохранить таблицу CSV…" writes what tulvo-cli show --frames prints for the recording.
void TSpectrogramViewTest::pictureShowsTheBurstAndTableIsShowFrames()
{
    TShownSpectrogram shown;
    const TChartCommands& commands = *shown.Main.ChartCommands;
    shown.Dialogs.Save(shown.Folder.File(QStringLiteral("picture.png")));
    commands.SavePictureAction->trigger();
    const QImage picture(shown.Folder.File(QStringLiteral("picture.png")), "PNG");
    QCOMPARE(picture.size(), shown.Main.Spectrogram->size());
    TChart& spectrogram = shown.Chart(false);
    const QRect plot = spectrogram.PlotRect().translated(spectrogram.pos());
    int brightest = 0;
    for (int py = plot.top(); py <= plot.bottom(); ++py)
        for (int px = plot.left(); px <= plot.right(); ++px)
            if ((picture.pixel(px, py) | 0xff000000u) == ViridisColour(255)) {
                ++brightest;
                const double ms = spectrogram.BottomAxis()->PixelToValue(px);
                const double hz = spectrogram.LeftAxis()->PixelToValue(py - spectrogram.y());
                QVERIFY2(ms >= 189 && ms <= 211 && std::abs(hz - 6000) <= 100, qPrintable(QString::number(ms)));
            }
    QVERIFY(brightest > 0);

    shown.Dialogs.Save(shown.Folder.File(QStringLiteral("frames.csv")));
    commands.SaveTableAction->trigger();
    QProcess cli;
    cli.start(QStringLiteral(TULVO_CLI_PATH), {QStringLiteral("show"), QStringLiteral("--frames"), shown.Path});
    QVERIFY(cli.waitForFinished());
    QCOMPARE(ReadAll(shown.Folder.File(QStringLiteral("frames.csv"))), cli.readAllStandardOutput());
    QVERIFY(shown.Dialogs.Shown.empty());
}

QTEST_MAIN(TSpectrogramViewTest)
#include "SpectrogramViewTest.moc"
