#include "views/TfmComparison.h"

#include "ui/WindowStyle.h"
#include "ui/ReadoutFormat.h"
#include "ui/TPanel.h"
#include "core/SpmFile.h"
#include "app/uTulvo.h"
#include "chart/TChart.h"
#include "chart/TChartSeries.h"
#include "plot/SpectrumChart.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>

TfmComparison::TfmComparison(TfmTulvo& main, TOpenDialog& source, const QString& caption, const TStripDesign& strip)
    : QDialog(nullptr),
      Main(main),
      pa2(new TPanel(this)),
      source_(source),
      anchors_(*pa2, QSize(strip.Width, 72), false)
{
    setWindowTitle(caption);
    setFont(DesignFont());
    setSizeGripEnabled(false);
    // Closing this window hands over to the main window; it never ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setModal(true);

    pa2->setGeometry(0, 361, strip.Width, 72);
    bbLogAxis = MakeButton(pa2, QString(), strip.LogAxis);
    StaticText1 = MakeStaticText(pa2, QStringLiteral("X = "), strip.StaticText1);
    laX = MakeLabel(pa2, QStringLiteral("laX"), strip.LaX, true);
    StaticText2 = MakeStaticText(pa2, QStringLiteral("Y = "), strip.StaticText2);
    laY = MakeLabel(pa2, QStringLiteral("laY"), strip.LaY, true);
    bbS = MakeButton(pa2, QStringLiteral("Совместить"), strip.S);
    bbBack = MakeButton(pa2, QStringLiteral("Разбить"), strip.Back);
    bbBack->hide();
    BitBtn1 = MakeButton(pa2, QStringLiteral("&Close"), strip.Close);
    BitBtn1->setIcon(OpenDoorIcon());

    // The toggle keeps its distance from the strip's left and top edges; every other control
    // keeps its horizontal centre at the same fraction of the strip's width.
    for (QWidget* control : {static_cast<QWidget*>(StaticText1), static_cast<QWidget*>(laX),
                             static_cast<QWidget*>(StaticText2), static_cast<QWidget*>(laY),
                             static_cast<QWidget*>(bbS), static_cast<QWidget*>(bbBack),
                             static_cast<QWidget*>(BitBtn1)})
        anchors_.Track(control);
    pa2->OnResize = [this] { anchors_.Apply(); };

    const TErrorBoundary& boundary = Main.Boundary();
    connect(bbLogAxis, &QPushButton::clicked, this, boundary.Guard(this, [this] { bbLogAxisClick(); }));
    connect(bbS, &QPushButton::clicked, this, boundary.Guard(this, [this] { bbSClick(); }));
    connect(bbBack, &QPushButton::clicked, this, boundary.Guard(this, [this] { bbBackClick(); }));
    connect(BitBtn1, &QPushButton::clicked, this, boundary.Guard(this, [this] { BitBtn1Click(); }));
}

TfmComparison::~TfmComparison() = default;

void TfmComparison::ConnectReadout(TChart* chart, const TChartSeries* series)
{
    connect(chart, &TChart::mouseMoved, this,
            Main.Boundary().Guard(this, [this, series] { ChartMouseMove(*series); }));
}

void TfmComparison::PlaceStrip(int width, int clientHeight)
{
    pa2->setGeometry(0, clientHeight - 72, width, 72);
}

void TfmComparison::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        Main.Boundary().Run(this, [this] { FormShow(); });
    QDialog::showEvent(event);
}

void TfmComparison::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Main.Boundary().Run(this, [this] { LayoutForm(); });
}

void TfmComparison::done(int result)
{
    // Later shows find the window where it was left instead of centring it again.
    setAttribute(Qt::WA_Moved, true);
    QDialog::done(result);
    Main.setVisible(true);
}

void TfmComparison::BitBtn1Click()
{
    close();
}

void TfmComparison::bbLogAxisClick()
{
    const std::vector<TChart*> charts = Charts();
    for (std::size_t i = 0; i < charts.size(); ++i) {
        const bool logarithmic = SwitchLogAxis(*charts[i]);
        if (i == 0)
            bbLogAxis->setText(LogAxisCaption(logarithmic));
        charts[i]->Redraw();
    }
}

void TfmComparison::ChartMouseMove(const TChartSeries& series)
{
    series.CursorToValues(Main.CursorX, Main.CursorY);
    SetLabelCaption(laX, ReadoutXText(Main.CursorX));
    anchors_.Retrack(laX);
    SetLabelCaption(laY, ReadoutYText(Main.CursorY));
    anchors_.Retrack(laY);
}

int TfmComparison::PickedFiles(int limit) const
{
    const int count = static_cast<int>(std::min<qsizetype>(source_.Files.size(), limit));
    Main.FileCount = static_cast<std::uint16_t>(count);
    return count;
}

QString TfmComparison::PickedFile(int k) const
{
    return source_.Files.at(k);
}

void TfmComparison::LoadSpectrum(const QString& path, TChart* chart, TChartSeries* series, int height)
{
    const TSpectrum spectrum = ReadSpectrum(QFile::encodeName(path).toStdString());
    chart->show();
    SetChartHeight(chart, height);
    chart->Title()->SetText(QStringLiteral("С П Е К Т Р  ") + path);
    chart->BottomAxis()->Title()->SetCaption(QStringLiteral("Гц"));
    PlotSpectrum(spectrum, *series);
}

void TfmComparison::SetChartHeight(TChart* chart, int height)
{
    chart->resize(chart->width(), std::max(0, height));
    AlignCharts();
}

void TfmComparison::ShowSplitButtons(bool split)
{
    bbS->setVisible(split);
    bbBack->setVisible(!split);
}

void TfmComparison::SetLogAxisCaption()
{
    bbLogAxis->setText(LogAxisCaption(Charts().front()->LeftAxis()->Logarithmic()));
}

void TfmComparison::AlignColumn(QWidget& panel, QWidget* top, QWidget* middle, QWidget* bottom)
{
    const QRect inner = panel.rect().adjusted(1, 1, -1, -1);
    int y = inner.top();
    int yEnd = inner.bottom() + 1;
    if (top && top->isVisibleTo(&panel)) {
        top->setGeometry(inner.left(), y, inner.width(), top->height());
        y += top->height();
    }
    if (bottom && bottom->isVisibleTo(&panel)) {
        yEnd -= bottom->height();
        bottom->setGeometry(inner.left(), yEnd, inner.width(), bottom->height());
    }
    if (middle && middle->isVisibleTo(&panel))
        middle->setGeometry(inner.left(), y, inner.width(), std::max(0, yEnd - y));
}
