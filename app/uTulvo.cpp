#include "app/uTulvo.h"

#include "ui/WindowStyle.h"
#include "ui/IDialogs.h"
#include "ui/ReadoutFormat.h"
#include "ui/TCentreAnchors.h"
#include "ui/TPanel.h"
#include "core/BatchRun.h"
#include "core/SpmFile.h"
#include "core/TRecordingAnalysis.h"
#include "core/TSampleBlock.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "plot/SpectrumChart.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <climits>
#include <exception>
#include <string>
#include <vector>

namespace {

const QString WaitCaption = QStringLiteral("Ж Д И Т Е !");

// Milliseconds of a steady clock, wrapping at 2^32 like the system's tick counter.
std::uint32_t SteadyTickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::string LocalPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// Takes the batch display away when a run ends in an error, so that neither the busy label
// nor the progress bar stays on screen behind the error box.
class TBatchDisplayReset
{
public:
    TBatchDisplayReset(QLabel* wait, QProgressBar* progress)
        : wait_(wait), progress_(progress), exceptions_(std::uncaught_exceptions())
    {
    }
    ~TBatchDisplayReset()
    {
        if (std::uncaught_exceptions() > exceptions_) {
            progress_->hide();
            progress_->setValue(0);
            wait_->hide();
        }
    }
    TBatchDisplayReset(const TBatchDisplayReset&) = delete;
    TBatchDisplayReset& operator=(const TBatchDisplayReset&) = delete;

private:
    QLabel* wait_;
    QProgressBar* progress_;
    int exceptions_;
};

} // namespace

TfmTulvo::TfmTulvo(IDialogs& dialogs)
    : odDann(QStringLiteral("odDann"), QStringLiteral("Файлы данных"), QStringLiteral("*.wav"), true),
      odDann2(QStringLiteral("odDann2"), QStringLiteral("Файлы данных"), QStringLiteral("*.wav"), false),
      odSpm1(QStringLiteral("odSpm1"), QStringLiteral("Файл спектра"), QStringLiteral("*.spm"), true),
      odSPM2(QStringLiteral("odSPM2"), QStringLiteral("Файл спектра"), QStringLiteral("*.spm"), true),
      odSPM3(QStringLiteral("odSPM3"), QStringLiteral("Файл спектра"), QStringLiteral("*.spm"), true),
      odSPM6(QStringLiteral("odSPM6"), QStringLiteral("Файл спектра"), QStringLiteral("*.spm"), true),
      TickCount(SteadyTickCount),
      boundary_(dialogs),
      analysis_(std::make_unique<TRecordingAnalysis>())
{
    setObjectName(QStringLiteral("fmTulvo"));
    // The title bar stays blank. An empty title would make the platform put the program's
    // name there instead, so the title is a single space.
    setWindowTitle(QStringLiteral(" "));
    setFont(DesignFont());
    resize(632, 433);
    CreateMenu();
    CreateControls();
    FormCreate();
}

TfmTulvo::~TfmTulvo() = default;

void TfmTulvo::SetComparisonWindows(QDialog* fm2SPM, QDialog* fm3SPM, QDialog* fm6SPM)
{
    fm2SPM_ = fm2SPM;
    fm3SPM_ = fm3SPM;
    fm6SPM_ = fm6SPM;
}

void TfmTulvo::CreateMenu()
{
    QMenuBar* mm1 = menuBar();
    mm1->setObjectName(QStringLiteral("mm1"));
    N1 = mm1->addAction(QStringLiteral("&Обработка"));
    N1->setStatusTip(QStringLiteral("Обработка исходных файлов WAV"));
    N2 = mm1->addMenu(QStringLiteral("&Просмотр"));
    N3 = N2->addAction(QStringLiteral("&Сигнал"));
    N4 = N2->addMenu(QStringLiteral("Спектр"));
    N11 = N4->addAction(QStringLiteral("&1 график"));
    N21 = N4->addAction(QStringLiteral("&2 графика"));
    N31 = N4->addAction(QStringLiteral("&3 графика"));
    N61 = N4->addAction(QStringLiteral("&6 графиков"));
    N5 = mm1->addAction(QStringLiteral("В&ыход"));
    N5->setStatusTip(QStringLiteral("Завершение работы программы"));

    connect(N1, &QAction::triggered, this, boundary_.Guard(this, [this] { N1Click(); }));
    connect(N3, &QAction::triggered, this, boundary_.Guard(this, [this] { N3Click(); }));
    connect(N11, &QAction::triggered, this, boundary_.Guard(this, [this] { N11Click(); }));
    connect(N21, &QAction::triggered, this, boundary_.Guard(this, [this] { N21Click(); }));
    connect(N31, &QAction::triggered, this, boundary_.Guard(this, [this] { N31Click(); }));
    connect(N61, &QAction::triggered, this, boundary_.Guard(this, [this] { N61Click(); }));
    connect(N5, &QAction::triggered, this, boundary_.Guard(this, [this] { N5Click(); }));
}

void TfmTulvo::CreateControls()
{
    auto* client = new QWidget(this);
    setCentralWidget(client);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Bevel1 = new QFrame(client);
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Bevel1->setFixedHeight(2);
    pa1 = new TPanel(client);
    pa2 = new TPanel(client);
    pa2->setFixedHeight(61);
    pa2->hide();
    column->addWidget(Bevel1);
    column->addWidget(pa1, 1);
    column->addWidget(pa2);

    Chart1 = MakeChart(pa1);
    Chart1->setGeometry(1, 1, 630, 127);
    Chart1->hide();
    Series1 = MakeSeries(Chart1, Qt::red);
    connect(Chart1, &TChart::mouseMoved, this, boundary_.Guard(this, [this] { Chart1MouseMove(); }));

    laWait = new QLabel(WaitCaption, pa1);
    QFont waitFont = DesignFont(true);
    waitFont.setPixelSize(16);
    laWait->setFont(waitFont);
    QPalette waitPalette = laWait->palette();
    waitPalette.setColor(QPalette::WindowText, Qt::red);
    waitPalette.setColor(QPalette::Window, InactiveBorderColour);
    laWait->setPalette(waitPalette);
    laWait->setAutoFillBackground(true);
    laWait->move(WaitLeft, 129);
    laWait->adjustSize();
    laWait->hide();

    pgRecord = new QProgressBar(pa1);
    pgRecord->setGeometry(90, 153, 401, 16);
    pgRecord->setRange(0, 100);
    pgRecord->setValue(0);
    pgRecord->setTextVisible(false);
    pgRecord->hide();

    pa1->OnResize = boundary_.Guard(this, [this] { pa1Resize(); });
    CreateReadoutStrip();
}

void TfmTulvo::CreateReadoutStrip()
{
    bbLogAxis = MakeButton(pa2, QString(), QRect(32, 16, 75, 25));
    connect(bbLogAxis, &QPushButton::clicked, this, boundary_.Guard(this, [this] { bbLogAxisClick(); }));
    StaticText1 = MakeStaticText(pa2, QStringLiteral("X = "), QRect(165, 23, 27, 17));
    laX = MakeLabel(pa2, QStringLiteral("laX"), QPoint(199, 25), true);
    laX->setToolTip(QStringLiteral("Значение по оси X"));
    StaticText2 = MakeStaticText(pa2, QStringLiteral("Y = "), QRect(292, 23, 27, 17));
    laY = MakeLabel(pa2, QStringLiteral("laY"), QPoint(324, 23), true);
    laY->setToolTip(QStringLiteral("Значение по оси Y"));

    // The read-out keeps its centres at the same proportion of the strip's width and height.
    pa2Anchors_ = std::make_unique<TCentreAnchors>(*pa2, QSize(632, 61), true);
    for (QWidget* control : {static_cast<QWidget*>(StaticText1), static_cast<QWidget*>(laX),
                             static_cast<QWidget*>(StaticText2), static_cast<QWidget*>(laY)})
        pa2Anchors_->Track(control);
    pa2->OnResize = [this] { pa2Anchors_->Apply(); };
}

void TfmTulvo::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        if (!shownBefore_) {
            CentreOnScreen(*this);
            shownBefore_ = true;
        }
        boundary_.Run(this, [this] { FormShow(); });
    }
    QMainWindow::showEvent(event);
}

void TfmTulvo::FormCreate()
{
    ChartRows = 1;
}

void TfmTulvo::FormShow()
{
    pa1->setVisible(true);
    ChartRows = 1;
}

void TfmTulvo::SetChart1Height(int height)
{
    Chart1->setGeometry(1, 1, std::max(0, pa1->width() - 2), std::max(0, height));
}

void TfmTulvo::pa1Resize()
{
    SetChart1Height(pa1->height() / ChartRows - 1);
}

void TfmTulvo::N1Click()
{
    Chart1->hide();
    pa2->hide();
    if (!Dialogs().Execute(odDann, this))
        return;
    // Counted before it is stored: FileCount is 16-bit and must not wrap past the limit.
    if (odDann.Files.size() > MaxBatchFiles) {
        Dialogs().Show({QMessageBox::Critical, QStringLiteral("Error"),
                        QStringLiteral("Введено более 500 файлов! ОСТАНОВ!"), QStringLiteral("&Abort")},
                       this);
        return;
    }
    FileCount = static_cast<std::uint16_t>(odDann.Files.size());

    // Every run says "wait" at the label's designed place while it works.
    laWait->move(WaitLeft, laWait->y());
    SetLabelCaption(laWait, WaitCaption);
    laWait->show();
    pgRecord->show();
    pgRecord->setMaximum(FileCount);
    // The run keeps the message loop waiting until its closing pause: paint the whole window
    // now, so that what the file dialog covered does not stay on screen, and the label just
    // shown with it (a repaint of the window alone leaves a newly shown label unpainted).
    repaint();
    laWait->repaint();

    std::vector<std::string> paths;
    paths.reserve(FileCount);
    for (const QString& file : odDann.Files)
        paths.push_back(LocalPath(file));
    TBatchDisplayReset resetOnError(laWait, pgRecord);
    RunBatch(*analysis_, paths, [this](const TBatchItem& item, std::size_t, std::size_t) {
        if (!item.Ok)
            return;
        // The run does not return to the message loop between files: paint the step at once.
        pgRecord->setValue(pgRecord->value() + 1);
        pgRecord->repaint();
    });
    // Hidden first, so that the emptied bar is not painted once more.
    pgRecord->hide();
    pgRecord->setValue(0);

    laWait->move(CompletedLeft, laWait->y());
    SetLabelCaption(laWait, QStringLiteral("Обработка ") + QString::number(FileCount) +
                                QStringLiteral(" файлов завершена!"));
    Delay(BatchPauseMs);
    laWait->move(WaitLeft, laWait->y());
    laWait->hide();
}

void TfmTulvo::N3Click()
{
    Chart1->hide();
    if (!Dialogs().Execute(odDann2, this))
        return;
    Chart1->show();
    pa2->show();
    bbLogAxis->hide();
    SetChart1Height(pa1->height() - 1);

    const TSampleBlock recording = ReadSampleBlock(LocalPath(odDann2.FileName));
    Chart1->Title()->SetText(QStringLiteral("С И Г Н А Л  ") + odDann2.FileName);
    Chart1->BottomAxis()->Title()->SetCaption(QStringLiteral("мс"));
    // Samples are zero and negative: the waveform is always drawn on a linear axis.
    Chart1->LeftAxis()->SetLogarithmic(false);
    Series1->Clear();
    constexpr extended SamplePeriodMs = 0.01953125L;   // 1000 / 51200, exact in binary
    for (int i = 0; i < SampleCount; ++i)
        Series1->AddPoint(static_cast<double>(i * SamplePeriodMs), static_cast<double>(recording.Samples[i]));
}

void TfmTulvo::N11Click()
{
    ChartRows = 1;
    Chart1->hide();
    if (!Dialogs().Execute(odSpm1, this))
        return;
    const TSpectrum spectrum = ReadSpectrum(LocalPath(odSpm1.Files.value(0, odSpm1.FileName)));
    Series1->Clear();
    // Back to the scale the toggle last chose (the waveform view drew on a linear axis). The
    // series is empty, so the switch cannot fail.
    TChartAxis& leftAxis = *Chart1->LeftAxis();
    if (spectrumLogarithmic_ && !leftAxis.Logarithmic()) {
        Chart1->UndoZoom();
        leftAxis.SetLogarithmic(true);
    }

    Chart1->show();
    pa2->show();
    bbLogAxis->show();
    bbLogAxis->setText(LogAxisCaption(leftAxis.Logarithmic()));
    SetChart1Height(pa1->height() - 1);
    Chart1->Title()->SetText(QStringLiteral("С П Е К Т Р"));
    Chart1->BottomAxis()->Title()->SetCaption(QStringLiteral("Гц"));
    PlotSpectrum(spectrum, *Series1);
}

bool TfmTulvo::PickForComparison(TOpenDialog& dialog)
{
    Chart1->hide();
    pa2->hide();
    return Dialogs().Execute(dialog, this);
}

void TfmTulvo::ShowComparison(QDialog* window)
{
    hide();
    // The comparison window makes this window visible again when it closes.
    if (window)
        window->exec();
}

void TfmTulvo::N21Click()
{
    if (PickForComparison(odSPM2))
        ShowComparison(fm2SPM_);
}

void TfmTulvo::N31Click()
{
    if (PickForComparison(odSPM3))
        ShowComparison(fm3SPM_);
}

void TfmTulvo::N61Click()
{
    if (!PickForComparison(odSPM6))
        return;
    // Three rows only once the dialog is confirmed: a cancelled dialog leaves the main
    // window's chart at the height it had.
    ChartRows = 3;
    ShowComparison(fm6SPM_);
}

void TfmTulvo::N5Click()
{
    close();
}

void TfmTulvo::ShowReadout(double x, double y)
{
    SetLabelCaption(laX, ReadoutXText(x));
    pa2Anchors_->Retrack(laX);
    SetLabelCaption(laY, ReadoutYText(y));
    pa2Anchors_->Retrack(laY);
}

void TfmTulvo::Chart1MouseMove()
{
    Series1->CursorToValues(CursorX, CursorY);
    ShowReadout(CursorX, CursorY);
}

void TfmTulvo::bbLogAxisClick()
{
    const bool logarithmic = SwitchLogAxis(*Chart1);
    spectrumLogarithmic_ = logarithmic;
    bbLogAxis->setText(LogAxisCaption(logarithmic));
    Chart1->Redraw();
}

void TfmTulvo::Delay(std::uint32_t durationMs)
{
    const std::uint32_t start = TickCount();
    // Wakes the wait below at the end of the pause when no other message comes first.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        const std::uint32_t elapsed = TickCount() - start;   // unsigned: a wrap does no harm
        if (elapsed >= durationMs)
            break;
        wake.start(static_cast<int>(std::min<std::uint32_t>(durationMs - elapsed, INT_MAX)));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
