#include "views/TCheckWindow.h"

#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "plot/RunReportDocument.h"
#include "plot/SpectrumChart.h"
#include "ui/IDialogs.h"
#include "ui/LocalPath.h"
#include "ui/ReadoutFormat.h"
#include "ui/TErrorBoundary.h"
#include "ui/TReadoutStrip.h"
#include "ui/WindowStyle.h"
#include "views/TChartCommands.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace {

// The places of the strip's controls in a window of the design width; its third value is the
// limits at X.
const TReadoutStripDesign StripDesign{QSize(800, 72),
                                      false,
                                      QRect(16, 22, 75, 25),
                                      QRect(130, 24, 27, 17),
                                      QPoint(164, 26),
                                      QRect(270, 24, 27, 17),
                                      QPoint(302, 26),
                                      QRect(430, 24, 64, 17),
                                      QPoint(499, 26),
                                      QStringLiteral("Допуск = "),
                                      QStringLiteral("8.8E-08 … 8.8E-08")};
const QRect CloseButtonPlace(705, 22, 75, 25);

} // namespace

TCheckWindow::TCheckWindow(TCheckContext context, TToleranceMask mask, QString maskPath, QStringList files,
                           std::vector<TJudgedUnit> units)
    : QWidget(nullptr, Qt::Window), ReportDialog(QStringLiteral("ReportDialog"), QStringLiteral("Сохранить отчёт"),
                                                 {{QStringLiteral("Отчёт (*.html)"), QStringLiteral("html")}}),
      context_(context), mask_(std::move(mask)), maskPath_(std::move(maskPath)), files_(std::move(files)),
      units_(std::move(units))
{
    setObjectName(QStringLiteral("CheckWindow"));
    // The report is offered beside the first unit.
    if (!files_.isEmpty())
        ReportDialog.InitialDir = QFileInfo(files_.front()).absolutePath();
    setWindowTitle(QStringLiteral("Проверка по допуску"));
    setFont(DesignFont());
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window ends the program; this one only closes.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    CreateTop();
    CreateTable();
    CreateChart();
    CreateStrip();
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setChildrenCollapsible(false);
    split->addWidget(TableView);
    split->addWidget(Chart);
    split->setStretchFactor(1, 1);
    split->setSizes({200, 300});
    column->addWidget(split, 1);
    column->addWidget(Strip);

    Commands = new TChartCommands(*this, context_.Boundary,
                                  {[] { return true; }, [this] { return Picture(); }, [this] { return Table(); },
                                   [this] { return Chart->Title()->Text().trimmed(); }});
    Commands->Attach(*Chart);
    connect(SaveTableButton, &QPushButton::clicked, Commands->SaveTableAction, &QAction::trigger);
    connect(SaveReportButton, &QPushButton::clicked, this, context_.Boundary.Guard(this, [this] { SaveReport(); }));

    resize(ClientSize);
    setMinimumSize(Strip->MinimumWidth(), 360);
    if (!units_.empty())
        SelectUnit(model_->UnitAt(0));
    TableView->setFocus();
}

TCheckWindow::~TCheckWindow()
{
    // The selection may change as the models go; nothing is drawn then (the boundary the
    // handler runs through may be gone already, with the window that owns the commands).
    QObject::disconnect(TableView->selectionModel(), nullptr, this, nullptr);
}

void TCheckWindow::CreateTop()
{
    auto* top = new QWidget(this);
    auto* row = new QHBoxLayout(top);
    row->setContentsMargins(8, 6, 8, 6);
    Summary = new QLabel(QString::fromStdString(CheckSummaryText(CountVerdicts(units_), TLanguage::Russian)), top);
    Summary->setFont(DesignFont(true));
    // The summary is never cut; the mask's name takes the room left, its full path in the tooltip.
    Summary->setMinimumWidth(Summary->sizeHint().width());
    MaskLabel = new QLabel(QStringLiteral("Допуск: ") + QFileInfo(maskPath_).fileName(), top);
    MaskLabel->setToolTip(maskPath_);
    MaskLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    SaveTableButton = new QPushButton(QStringLiteral("Сохранить таблицу CSV…"), top);
    SaveTableButton->setAutoDefault(false);
    row->addWidget(Summary);
    row->addSpacing(16);
    row->addWidget(MaskLabel, 1);
    row->addWidget(SaveTableButton);
    SaveReportButton = new QPushButton(QStringLiteral("Сохранить отчёт…"), top);
    SaveReportButton->setAutoDefault(false);
    row->addWidget(SaveReportButton);
    static_cast<QVBoxLayout*>(layout())->addWidget(top);
}

void TCheckWindow::CreateTable()
{
    model_ = new TCheckTableModel(units_, files_, FailuresFirstOrder(units_), this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(CheckSortRole);
    sorted_->setSortCaseSensitivity(Qt::CaseInsensitive);
    TableView = new QTableView(this);
    TableView->setObjectName(QStringLiteral("CheckTable"));
    TableView->setModel(sorted_);
    TableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableView->setSelectionMode(QAbstractItemView::SingleSelection);
    TableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableView->setWordWrap(false);
    TableView->verticalHeader()->hide();
    TableView->verticalHeader()->setDefaultSectionSize(TableView->fontMetrics().height() + 6);
    QHeaderView* header = TableView->horizontalHeader();
    header->setHighlightSections(false);
    // The rows keep the order they were listed in until a header is clicked.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    TableView->setSortingEnabled(true);
    // Widths from the titles, not from every row: a table of thousands opens at once.
    const QFontMetrics metrics(header->font());
    for (int c = 0; c < CheckColumnCount; ++c)
        TableView->setColumnWidth(c, metrics.horizontalAdvance(model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()) + 28);
    TableView->setColumnWidth(static_cast<int>(TCheckColumn::File), 170);
    TableView->setColumnWidth(static_cast<int>(TCheckColumn::Verdict), 110);
    header->setStretchLastSection(true);
    connect(TableView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            context_.Boundary.Guard(this, [this] { ShowUnit(SelectedUnit()); }));
}

void TCheckWindow::CreateChart()
{
    Chart = MakeChart(this);
    Chart->BottomAxis()->Title()->SetCaption(QStringLiteral("Гц"));
    Chart->setMinimumHeight(120);
    // Limits in dB read best on a logarithmic axis: the window opens on one.
    Chart->LeftAxis()->SetLogarithmic(true);
    Series = MakeMaskChartSeries(*Chart);
    connect(Chart, &TChart::mouseMoved, this, context_.Boundary.Guard(this, [this] { UpdateReadout(); }));
}

void TCheckWindow::CreateStrip()
{
    Strip = new TReadoutStrip(this, StripDesign);
    LimitsValue = Strip->ZValue;
    CloseButton = MakeButton(Strip, QStringLiteral("&Close"), CloseButtonPlace);
    Strip->Track(CloseButton);
    Strip->ShowZ(true);
    Strip->setFixedHeight(StripDesign.Size.height());
    Strip->XValue->setToolTip(QStringLiteral("Значение по оси X"));
    Strip->YValue->setToolTip(QStringLiteral("Значение по оси Y"));
    LimitsValue->setToolTip(QStringLiteral("Нижний и верхний пределы допуска на линии X"));
    CloseButton->setIcon(OpenDoorIcon());
    Strip->LogAxisButton->setText(LogAxisCaption(Chart->LeftAxis()->Logarithmic()));
    connect(Strip->LogAxisButton, &QPushButton::clicked, this,
            context_.Boundary.Guard(this, [this] { ToggleLogAxis(); }));
    connect(CloseButton, &QPushButton::clicked, this, [this] { close(); });
}

void TCheckWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous() && !shownBefore_) {
        CentreOnScreen(*this);
        shownBefore_ = true;
    }
    QWidget::showEvent(event);
}

std::size_t TCheckWindow::UnitAtRow(int row) const
{
    return model_->UnitAt(sorted_->mapToSource(sorted_->index(row, 0)).row());
}

int TCheckWindow::RowOfUnit(std::size_t unit) const
{
    return sorted_->mapFromSource(model_->index(model_->RowOf(unit), 0)).row();
}

std::optional<std::size_t> TCheckWindow::SelectedUnit() const
{
    const QModelIndex current = TableView->selectionModel()->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return UnitAtRow(current.row());
}

void TCheckWindow::SelectUnit(std::size_t unit)
{
    const QModelIndex index = sorted_->index(RowOfUnit(unit), 0);
    TableView->selectionModel()->setCurrentIndex(index,
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    TableView->scrollTo(index);
}

QString TCheckWindow::CellText(std::size_t k, TCheckColumn column) const { return model_->CellText(k, column); }

void TCheckWindow::ShowUnit(std::optional<std::size_t> unit)
{
    Strip->Clear();
    if (!unit) {
        Chart->Title()->SetText(QString());
        PlotUnitAgainstMask(mask_, nullptr, nullptr, Series);
        return;
    }
    const TJudgedUnit& checked = units_.at(*unit);
    Chart->Title()->SetText(QStringLiteral("С П Е К Т Р  ") + files_.value(static_cast<qsizetype>(*unit)));
    if (checked.Verdict)
        PlotUnitAgainstMask(mask_, &checked.Unit->Spectrum, &*checked.Verdict, Series);
    else
        PlotUnitAgainstMask(mask_, nullptr, nullptr, Series);
}

std::string TCheckWindow::Table() const { return CheckTableText(units_); }

TRunReport TCheckWindow::Report() const
{
    TRunReport report;
    report.Settings.Language = TReportLanguage::Russian;
    if (!units_.empty())
        report.Settings.Title = DefaultReportTitle(units_.front().File);
    const std::string maskFile = LocalPath(maskPath_);
    report.Mask = TReportMask{maskFile, FileDigest(maskFile), mask_};
    for (const TJudgedUnit& judged : units_) {
        TReportUnit unit;
        static_cast<TJudgedUnit&>(unit) = judged;
        unit.Digest = FileDigest(judged.File);
        report.Units.push_back(std::move(unit));
    }
    return report;
}

void TCheckWindow::SaveReport()
{
    if (!context_.Boundary.Dialogs().ExecuteSave(ReportDialog, this))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const struct TRestoreCursor {
        ~TRestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restore;
    const std::string document = RunReportDocument(Report());
    WriteWholeFile(ReportDialog.FileName, QByteArray(document.data(), static_cast<qsizetype>(document.size())));
}

TChartPicture TCheckWindow::Picture() const { return {Chart->size(), {{Chart, QPoint(0, 0)}}}; }

void TCheckWindow::ToggleLogAxis()
{
    Strip->Clear();
    const bool logarithmic = SwitchLogAxis(*Chart);
    Strip->LogAxisButton->setText(LogAxisCaption(logarithmic));
    Chart->Redraw();
}

void TCheckWindow::UpdateReadout()
{
    double x = 0.0;
    double y = 0.0;
    Series.Curve->CursorToValues(x, y);
    Strip->ShowValues(x, y);
    const std::optional<TChartLimits> limits = MaskLimitsAt(mask_, x);
    Strip->ShowZForms(limits ? ReadoutLimitsForms(limits->Lower, limits->Upper) : QStringList());
}
