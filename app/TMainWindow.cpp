#include "app/TMainWindow.h"

#include "app/FileArguments.h"
#include "app/FormatWarning.h"

#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "core/analysis/SpmFile.h"
#include "core/analysis/TSampleBlock.h"
#include "core/batch/BatchRun.h"
#include "plot/ChartPicture.h"
#include "plot/ChartTable.h"
#include "plot/SpectrogramChart.h"
#include "plot/SpectrumChart.h"
#include "ui/IDialogs.h"
#include "ui/LocalPath.h"
#include "ui/TReadoutStrip.h"
#include "ui/TRowsPanel.h"
#include "ui/WindowStyle.h"
#include "views/TChartCommands.h"
#include "views/TMaskBandCommands.h"
#include "views/TMaskCommands.h"
#include "views/TSpectrogramView.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <climits>
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace {

const QString BusyCaption = QStringLiteral("Ж Д И Т Е !");

// The filters of the open-file dialogs.
const QString RecordingFilter = QStringLiteral("Файлы данных");
const QString RecordingPattern = QStringLiteral("*.wav");
const QString SpectrumFilter = QStringLiteral("Файл спектра");
const QString SpectrumPattern = QStringLiteral("*.spm");

// Milliseconds of a steady clock, wrapping at 2^32 like the system's tick counter.
std::uint32_t SteadyTickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

// Takes the batch display away when a run ends in an error, so that neither the busy label
// nor the progress bar stays on screen behind the error box.
class TBatchDisplayReset {
public:
    TBatchDisplayReset(QLabel* busy, QProgressBar* progress)
        : busy_(busy), progress_(progress), exceptions_(std::uncaught_exceptions())
    {}
    ~TBatchDisplayReset()
    {
        if (std::uncaught_exceptions() > exceptions_) {
            progress_->hide();
            progress_->setValue(0);
            busy_->hide();
        }
    }
    TBatchDisplayReset(const TBatchDisplayReset&) = delete;
    TBatchDisplayReset& operator=(const TBatchDisplayReset&) = delete;

private:
    QLabel* busy_;
    QProgressBar* progress_;
    int exceptions_;
};

// The place of the read-out strip's controls, for the strip across a window of 632 pixels; Z
// (the spectrogram view's level) follows Y at the distance Y follows X.
// clang-format off
const TReadoutStripDesign ReadoutDesign{
    QSize(632, 61), true, QRect(32, 16, 75, 25),
    QRect(165, 23, 27, 17), QPoint(199, 25),
    QRect(292, 23, 27, 17), QPoint(324, 23),
    QRect(419, 23, 27, 17), QPoint(451, 23)};
// clang-format on

} // namespace

TMainWindow::TMainWindow(IDialogs& dialogs)
    : RecordingsDialog(QStringLiteral("RecordingsDialog"), RecordingFilter, RecordingPattern, true),
      RecordingDialog(QStringLiteral("RecordingDialog"), RecordingFilter, RecordingPattern, false),
      SpectrogramDialog(QStringLiteral("SpectrogramDialog"), RecordingFilter, RecordingPattern, false),
      SpectrumDialog(QStringLiteral("SpectrumDialog"), SpectrumFilter, SpectrumPattern, true),
      TwoSpectraDialog(QStringLiteral("TwoSpectraDialog"), SpectrumFilter, SpectrumPattern, true),
      ThreeSpectraDialog(QStringLiteral("ThreeSpectraDialog"), SpectrumFilter, SpectrumPattern, true),
      SixSpectraDialog(QStringLiteral("SixSpectraDialog"), SpectrumFilter, SpectrumPattern, true),
      TickCount(SteadyTickCount), boundary_(dialogs)
{
    setObjectName(QStringLiteral("MainWindow"));
    // The title bar stays blank. An empty title would make the platform put the program's
    // name there instead, so the title is a single space.
    setWindowTitle(QStringLiteral(" "));
    setFont(DesignFont());
    resize(632, 433);
    setAcceptDrops(true);
    CreateMenu();
    CreateControls();
}

TMainWindow::~TMainWindow() = default;

void TMainWindow::SetComparisonWindows(QDialog* twoSpectra, QDialog* threeSpectra, QDialog* sixSpectra)
{
    for (QDialog* old : {twoSpectraWindow_, threeSpectraWindow_, sixSpectraWindow_})
        if (old)
            disconnect(old, &QDialog::finished, this, nullptr);
    twoSpectraWindow_ = twoSpectra;
    threeSpectraWindow_ = threeSpectra;
    sixSpectraWindow_ = sixSpectra;
    for (QDialog* window : {twoSpectraWindow_, threeSpectraWindow_, sixSpectraWindow_})
        if (window)
            connect(window, &QDialog::finished, this, [this] { setVisible(true); });
}

void TMainWindow::CreateMenu()
{
    QMenuBar* menu = menuBar();
    menu->setObjectName(QStringLiteral("MainMenu"));
    BatchAction = menu->addAction(QStringLiteral("&Обработка"));
    BatchAction->setStatusTip(QStringLiteral("Обработка исходных файлов WAV"));
    ViewMenu = menu->addMenu(QStringLiteral("&Просмотр"));
    WaveformAction = ViewMenu->addAction(QStringLiteral("&Сигнал"));
    SpectrogramAction = ViewMenu->addAction(QStringLiteral("Спектро&грамма"));
    SpectrumMenu = ViewMenu->addMenu(QStringLiteral("Спектр"));
    OneSpectrumAction = SpectrumMenu->addAction(QStringLiteral("&1 график"));
    TwoSpectraAction = SpectrumMenu->addAction(QStringLiteral("&2 графика"));
    ThreeSpectraAction = SpectrumMenu->addAction(QStringLiteral("&3 графика"));
    SixSpectraAction = SpectrumMenu->addAction(QStringLiteral("&6 графиков"));
    MaskMenu = menu->addMenu(QStringLiteral("&Допуск"));
    CreateMaskAction = MaskMenu->addAction(QStringLiteral("&Создать допуск…"));
    CheckMaskAction = MaskMenu->addAction(QStringLiteral("&Проверить по допуску…"));
    ExitAction = menu->addAction(QStringLiteral("В&ыход"));
    ExitAction->setStatusTip(QStringLiteral("Завершение работы программы"));

    connect(BatchAction, &QAction::triggered, this, boundary_.Guard(this, [this] { RunBatch(); }));
    connect(WaveformAction, &QAction::triggered, this, boundary_.Guard(this, [this] { ShowWaveform(); }));
    connect(SpectrogramAction, &QAction::triggered, this, boundary_.Guard(this, [this] { ShowSpectrogram(); }));
    connect(OneSpectrumAction, &QAction::triggered, this, boundary_.Guard(this, [this] { ShowSpectrum(); }));
    connect(TwoSpectraAction, &QAction::triggered, this, boundary_.Guard(this, [this] { CompareSpectra(2); }));
    connect(ThreeSpectraAction, &QAction::triggered, this, boundary_.Guard(this, [this] { CompareSpectra(3); }));
    connect(SixSpectraAction, &QAction::triggered, this, boundary_.Guard(this, [this] { CompareSpectra(6); }));
    connect(CreateMaskAction, &QAction::triggered, this, boundary_.Guard(this, [this] { MaskCommands->CreateMask(); }));
    connect(CheckMaskAction, &QAction::triggered, this, boundary_.Guard(this, [this] { MaskCommands->CheckUnits(); }));
    connect(ExitAction, &QAction::triggered, this, boundary_.Guard(this, [this] { close(); }));
}

void TMainWindow::CreateControls()
{
    auto* client = new QWidget(this);
    setCentralWidget(client);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    TopRule = new QFrame(client);
    TopRule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    TopRule->setFixedHeight(2);
    ChartPanel = new TRowsPanel(client);
    column->addWidget(TopRule);
    column->addWidget(ChartPanel, 1);
    CreateReadoutStrip(client);
    column->addWidget(ReadoutStrip);

    Chart = MakeChart(ChartPanel);
    Chart->setGeometry(1, 1, 630, 127);
    Chart->hide();
    Series = MakeSeries(Chart, Qt::red);
    connect(Chart, &TChart::mouseMoved, this, boundary_.Guard(this, [this] { UpdateReadout(); }));
    ChartCommands = new TChartCommands(
        *this, boundary_,
        {[this] { return Spectrogram->isVisibleTo(this) || (Chart->isVisibleTo(this) && view_ != TView::None); },
         [this] { return Picture(); }, [this] { return Table(); },
         [this] { return Spectrogram->isVisibleTo(this) ? Spectrogram->Title() : Chart->Title()->Text().trimmed(); }});
    ChartCommands->Attach(*Chart);
    // The spectrogram view fills the panel in the chart's place while the chart is hidden.
    Spectrogram = new TSpectrogramView(ChartPanel, boundary_, *ReadoutStrip, *ChartCommands);
    ChartPanel->Stack(Chart, Spectrogram, nullptr);

    BusyLabel = new QLabel(BusyCaption, ChartPanel);
    QFont busyFont = DesignFont(true);
    busyFont.setPixelSize(16);
    BusyLabel->setFont(busyFont);
    QPalette busyPalette = BusyLabel->palette();
    busyPalette.setColor(QPalette::WindowText, Qt::red);
    busyPalette.setColor(QPalette::Window, InactiveBorderColour);
    BusyLabel->setPalette(busyPalette);
    BusyLabel->setAutoFillBackground(true);
    BusyLabel->move(BusyLeft, 129);
    BusyLabel->adjustSize();
    BusyLabel->hide();

    BatchProgress = new QProgressBar(ChartPanel);
    BatchProgress->setGeometry(90, 153, 401, 16);
    BatchProgress->setRange(0, 100);
    BatchProgress->setValue(0);
    BatchProgress->setTextVisible(false);
    BatchProgress->hide();
    CreateMaskCommands();
}

void TMainWindow::CreateMaskCommands()
{
    MaskBand =
        new TMaskBandCommands(*this, boundary_, *ChartCommands, {{Chart}, [this] { return view_ == TView::Spectrum; }});
    TMaskContext context{boundary_,
                         [this](int count) {
                             Chart->hide();
                             ReadoutStrip->hide();
                             ShowBusy(count);
                         },
                         [this] { BatchProgress->setValue(BatchProgress->value() + 1); },
                         [this] {
                             BatchProgress->hide();
                             BatchProgress->setValue(0);
                             BusyLabel->hide();
                         },
                         [this](const std::vector<TRawUnit>& raw) {
                             nonconforming_.clear();
                             for (const TRawUnit& unit : raw)
                                 nonconforming_.push_back({unit.FileName, unit.Differences});
                             WarnOfNonconforming();
                         }};
    MaskCommands = new TMaskCommands(*this, std::move(context));
}

void TMainWindow::CreateReadoutStrip(QWidget* client)
{
    ReadoutStrip = new TReadoutStrip(client, ReadoutDesign);
    ReadoutStrip->setFixedHeight(61);
    // The window keeps the read-out whole beside the toggle (the spectrum view's, the wider).
    ReadoutStrip->setMinimumWidth(ReadoutStrip->MinimumWidth());
    ReadoutStrip->hide();
    ReadoutStrip->XValue->setToolTip(QStringLiteral("Значение по оси X"));
    ReadoutStrip->YValue->setToolTip(QStringLiteral("Значение по оси Y"));
    connect(ReadoutStrip->LogAxisButton, &QPushButton::clicked, this,
            boundary_.Guard(this, [this] { ToggleLogAxis(); }));
}

void TMainWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous() && !shownBefore_) {
        CentreOnScreen(*this);
        shownBefore_ = true;
    }
    QMainWindow::showEvent(event);
}

void TMainWindow::LayoutChart() { ChartPanel->ApplyRows(); }

void TMainWindow::RunBatch()
{
    Chart->hide();
    Spectrogram->hide();
    ReadoutStrip->hide();
    if (!Dialogs().Execute(RecordingsDialog, this))
        return;
    if (RecordingsDialog.Files.size() > MaxBatchFiles) {
        Dialogs().Show({QMessageBox::Critical, QStringLiteral("Error"),
                        QStringLiteral("Введено более 500 файлов! ОСТАНОВ!"), QStringLiteral("&Abort")},
                       this);
        return;
    }
    const int fileCount = static_cast<int>(RecordingsDialog.Files.size());
    ShowBusy(fileCount);
    AnalyseRecordings(RecordingsDialog.Files);
    ShowCompletion(fileCount);
    Delay(BatchPauseMs);
    BusyLabel->move(BusyLeft, BusyLabel->y());
    BusyLabel->hide();
    WarnOfNonconforming();
}

void TMainWindow::WarnOfNonconforming()
{
    if (nonconforming_.empty())
        return;
    TMessageBox box;
    box.Icon = QMessageBox::Warning;
    box.Caption = QStringLiteral("tulvo");
    box.Text = FormatWarningText(nonconforming_);
    box.Button = QStringLiteral("OK");
    nonconforming_.clear();
    Dialogs().Show(box, this);
}

void TMainWindow::ShowBusy(int fileCount)
{
    // Every run says "wait" at the label's own place while it works.
    BusyLabel->move(BusyLeft, BusyLabel->y());
    SetLabelCaption(BusyLabel, BusyCaption);
    BusyLabel->show();
    BatchProgress->show();
    BatchProgress->setMaximum(fileCount);
    // The run keeps the message loop waiting until its closing pause: paint the whole window
    // now, so that what the file dialog covered does not stay on screen, and the label just
    // shown with it (a repaint of the window alone leaves a newly shown label unpainted).
    repaint();
    BusyLabel->repaint();
}

void TMainWindow::AnalyseRecordings(const QStringList& files)
{
    std::vector<std::string> paths;
    paths.reserve(files.size());
    for (const QString& file : files)
        paths.push_back(LocalPath(file));
    TBatchDisplayReset resetOnError(BusyLabel, BatchProgress);
    // The recordings are analysed on worker threads; this thread writes the spectrum files in list
    // order and advances the bar, as tulvo-cli does. The run does not return to the message loop
    // between files, so the bar paints each step at once: QProgressBar::setValue repaints it
    // whenever the step changes what the bar shows, and only then.
    TBatchOptions options;
    options.Jobs = DefaultJobCount();
    nonconforming_.clear();
    RunBatchParallel(
        paths,
        [this, &files](const TBatchItem& item, std::size_t, std::size_t) {
            if (item.Ok)
                BatchProgress->setValue(BatchProgress->value() + 1);
            if (item.Header && !item.Header->Conforms)
                nonconforming_.push_back(
                    {QFileInfo(files[static_cast<qsizetype>(item.Index)]).fileName(), item.Header->Differences});
        },
        options);
}

void TMainWindow::ShowCompletion(int fileCount)
{
    // Hidden first, so that the emptied bar is not painted once more.
    BatchProgress->hide();
    BatchProgress->setValue(0);
    BusyLabel->move(CompletedLeft, BusyLabel->y());
    SetLabelCaption(BusyLabel,
                    QStringLiteral("Обработка ") + QString::number(fileCount) + QStringLiteral(" файлов завершена!"));
}

void TMainWindow::ShowWaveform()
{
    Chart->hide();
    Spectrogram->hide();
    if (!Dialogs().Execute(RecordingDialog, this))
        return;
    ShowPickedWaveform();
}

void TMainWindow::ShowPickedWaveform()
{
    Chart->show();
    ReadoutStrip->show();
    ReadoutStrip->LogAxisButton->hide();
    ShowEmptyReadout();
    LayoutChart();

    const TSampleBlock recording = ReadSampleBlock(LocalPath(RecordingDialog.FileName));
    Chart->Title()->SetText(QStringLiteral("С И Г Н А Л  ") + RecordingDialog.FileName);
    Chart->BottomAxis()->Title()->SetCaption(QStringLiteral("мс"));
    // Samples are zero and negative: the waveform is always drawn on a linear axis.
    Chart->LeftAxis()->SetLogarithmic(false);
    PlotWaveform(recording, *Series);
    view_ = TView::Waveform;
    MaskBand->Update();
    recording_ = recording;
}

void TMainWindow::ShowSpectrogram()
{
    Chart->hide();
    Spectrogram->hide();
    if (!Dialogs().Execute(SpectrogramDialog, this))
        return;
    Spectrogram->ShowRecording(SpectrogramDialog.FileName);
    LayoutChart();
}

void TMainWindow::ShowSpectrum()
{
    Chart->hide();
    Spectrogram->hide();
    if (!Dialogs().Execute(SpectrumDialog, this))
        return;
    ShowPickedSpectrum();
}

void TMainWindow::ShowPickedSpectrum()
{
    const QString path = SpectrumDialog.Files.value(0, SpectrumDialog.FileName);
    const TSpectrum spectrum = ReadSpectrum(LocalPath(path));
    Series->Clear();
    // Back to the scale the toggle last chose (the waveform view drew on a linear axis). The
    // series is empty, so the switch cannot fail.
    TChartAxis& leftAxis = *Chart->LeftAxis();
    if (spectrumLogarithmic_ && !leftAxis.Logarithmic()) {
        Chart->UndoZoom();
        leftAxis.SetLogarithmic(true);
    }

    Chart->show();
    ReadoutStrip->show();
    QPushButton* toggle = ReadoutStrip->LogAxisButton;
    toggle->show();
    toggle->setText(LogAxisCaption(leftAxis.Logarithmic()));
    ShowEmptyReadout();
    LayoutChart();
    Chart->Title()->SetText(QStringLiteral("С П Е К Т Р"));
    Chart->BottomAxis()->Title()->SetCaption(QStringLiteral("Гц"));
    PlotSpectrum(spectrum, *Series);
    view_ = TView::Spectrum;
    MaskBand->Update();
    spectrum_ = spectrum;
    spectrumPath_ = LocalPath(path);
}

TMainWindow::TComparison TMainWindow::ComparisonFor(int count)
{
    switch (count) {
    case 2: return {&TwoSpectraDialog, twoSpectraWindow_};
    case 3: return {&ThreeSpectraDialog, threeSpectraWindow_};
    default: return {&SixSpectraDialog, sixSpectraWindow_};
    }
}

void TMainWindow::CompareSpectra(int count)
{
    const TComparison comparison = ComparisonFor(count);
    Chart->hide();
    Spectrogram->hide();
    ReadoutStrip->hide();
    if (!Dialogs().Execute(*comparison.Dialog, this))
        return;
    RunComparison(comparison);
}

void TMainWindow::RunComparison(const TComparison& comparison)
{
    hide();
    if (comparison.Window)
        comparison.Window->exec();
}

void TMainWindow::OpenFiles(const QStringList& files)
{
    const TFileOpening opening = ClassifyFiles(files);
    switch (opening.Kind) {
    case TFileOpening::Nothing: return;
    case TFileOpening::Waveform:
        Chart->hide();
        Spectrogram->hide();
        RecordingDialog.Confirm(opening.Files);
        ShowPickedWaveform();
        return;
    case TFileOpening::Spectrum:
        Chart->hide();
        Spectrogram->hide();
        SpectrumDialog.Confirm(opening.Files);
        ShowPickedSpectrum();
        return;
    case TFileOpening::Comparison: {
        const TComparison comparison = ComparisonFor(opening.Window);
        Chart->hide();
        Spectrogram->hide();
        ReadoutStrip->hide();
        comparison.Dialog->Confirm(opening.Files);
        RunComparison(comparison);
        return;
    }
    case TFileOpening::Refused:
        Dialogs().Show(
            {QMessageBox::Warning, QString::fromLatin1(ApplicationTitle), RefusedFilesText(), QStringLiteral("OK")},
            this);
        return;
    }
}

void TMainWindow::Start(const QStringList& files)
{
    if (ClassifyFiles(files).Kind != TFileOpening::Comparison)
        show();
    if (!files.isEmpty())
        QTimer::singleShot(0, this, boundary_.Guard(this, [this, files] { OpenFiles(files); }));
}

void TMainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void TMainWindow::dropEvent(QDropEvent* event)
{
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // The view opens after the drop has ended: a comparison window runs modally, and the program
    // the files came from waits for the drop to finish.
    QTimer::singleShot(0, this, boundary_.Guard(this, [this, files] { OpenFiles(files); }));
}

TChartPicture TMainWindow::Picture() const
{
    if (Spectrogram->isVisibleTo(this))
        return Spectrogram->Picture();
    return {Chart->size(), {{Chart, QPoint(0, 0)}}};
}

std::string TMainWindow::Table() const
{
    if (Spectrogram->isVisibleTo(this))
        return Spectrogram->Table();
    switch (view_) {
    case TView::Waveform: return WaveformTable(recording_);
    case TView::Spectrum: return SpectrumTable({spectrumPath_}, {spectrum_});
    case TView::None: break;
    }
    return {};
}

void TMainWindow::UpdateReadout()
{
    double x = 0.0;
    double y = 0.0;
    Series->CursorToValues(x, y);
    ReadoutStrip->ShowValues(x, y);
}

void TMainWindow::ShowEmptyReadout() { ReadoutStrip->Clear(); }

void TMainWindow::ToggleLogAxis()
{
    ReadoutStrip->Clear();
    const bool logarithmic = SwitchLogAxis(*Chart);
    spectrumLogarithmic_ = logarithmic;
    ReadoutStrip->LogAxisButton->setText(LogAxisCaption(logarithmic));
    Chart->Redraw();
}

void TMainWindow::Delay(std::uint32_t durationMs)
{
    const std::uint32_t start = TickCount();
    // Wakes the wait below at the end of the pause when no other message comes first.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        const std::uint32_t elapsed = TickCount() - start; // unsigned: a wrap does no harm
        if (elapsed >= durationMs)
            break;
        wake.start(static_cast<int>(std::min<std::uint32_t>(durationMs - elapsed, INT_MAX)));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
